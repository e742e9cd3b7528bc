#include <gtest/gtest.h>

#include <random>
#include <set>

#include "db/FullTextIndexBuilder.h"
#include "db/FullTextMemoryStore.h"
#include "db/QueryEngine.h"
#include "db/QueryTables.h"
#include "db/QueryTextMatcher.h"

using namespace tamber;

namespace {

struct Doc {
    int32_t id;
    std::string text;
    std::vector<std::pair<std::string, FullTextFieldValue>> fields = {};
    std::string name = {};
};

// An index built from media named "mN", of type "Text", holding the given texts.
class Fixture {
public:
    explicit Fixture(const std::vector<Doc>& docs)
    {
        FullTextDocumentList list;
        for (const Doc& d : docs)
            list.documents.push_back({d.id, d.name.empty() ? "m" + std::to_string(d.id) : d.name, "Text", d.text, d.fields});
        FullTextIndexBuilder builder;
        EXPECT_EQ(builder.Build(list, store), 1);
    }

    std::set<int32_t> Media(std::string_view expression, int32_t* result = nullptr)
    {
        int32_t r = engine.RunQuery(expression);
        if (result)
            *result = r;
        std::set<int32_t> media;
        QueryHit hit;
        for (int32_t i = 0; engine.Hit(i, hit); ++i)
            media.insert(hit.mediaId);
        return media;
    }

    // The texts of the previous postings, in order.
    std::vector<std::string> Texts()
    {
        const MemoryBlock& b = engine.PreviousPostings();
        std::vector<std::string> texts;
        int32_t at = 4;
        for (int32_t i = 0; i < b.ReadInt(0, 4); ++i) {
            std::string text;
            int32_t used = b.ReadPString(at, text);
            texts.push_back(std::to_string(b.ReadInt(at + used, 4)) + ":" + text.c_str());
            at += used + 10 + b.ReadInt(at + used + 8, 2);
        }
        return texts;
    }

    FullTextMemoryStore store;
    FullTextIndex index{store};
    QueryEngine engine{index};
};

using Set = std::set<int32_t>;

}  // namespace

TEST(QueryEngine, ConnectivesCombineStrictlyLeftToRight)
{
    Fixture f({{1, "apple pear"}, {2, "plum"}, {3, "apple"}, {4, "pear plum"}});
    EXPECT_EQ(f.Media("apple and pear or plum"), (Set{1, 2, 4}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("apple or pear and plum"), (Set{4}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("apple or (pear and plum)"), (Set{1, 3, 4}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("APPLE but NOT plum or plum"), (Set{1, 2, 3, 4}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("pear but not plum"), (Set{1}));
}

TEST(QueryEngine, AndPutsTheRightSidesPostingsFirstAndOrAppends)
{
    Fixture f({{1, "apple pear"}, {2, "pear"}, {3, "apple"}});
    EXPECT_EQ(f.engine.RunQuery("apple and pear"), 2);
    EXPECT_EQ(f.Texts(), (std::vector<std::string>{"1:pear", "1:apple"}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.engine.RunQuery("pear or apple"), 4);
    EXPECT_EQ(f.Texts(), (std::vector<std::string>{"1:pear", "2:pear", "1:apple", "3:apple"}));
    QueryHit hit;
    ASSERT_EQ(f.engine.HitCount(), 3);
    ASSERT_EQ(f.engine.Hit(0, hit), 1);
    EXPECT_EQ(hit.mediaId, 1);
    EXPECT_EQ(hit.wordPostings, 2);
    EXPECT_EQ(f.engine.Hit(3, hit), 0);
    EXPECT_EQ(f.engine.Hit(-1, hit), 0);
}

TEST(QueryEngine, LaterSearchesRefineEarlierOnesUntilForgotten)
{
    Fixture f({{3, "apple"}, {7, "apple pear"}, {9, "pear"}});
    EXPECT_EQ(f.engine.RunQuery("apple"), 2);
    EXPECT_EQ(f.engine.RunQuery("pear"), 1);
    EXPECT_EQ(f.Media("pear"), (Set{7}));
    // A search that finds nothing leaves no previous postings, so the next covers everything.
    EXPECT_EQ(f.engine.RunQuery("plum"), 0);
    EXPECT_EQ(f.engine.RunQuery("pear"), 2);
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.engine.HitCount(), 0);
    EXPECT_EQ(f.engine.PreviousPostings().Size(), 0);
    EXPECT_EQ(f.Media("apple or pear"), (Set{3, 7, 9}));
    // A syntax error keeps the previous results.
    EXPECT_EQ(f.engine.RunQuery("apple but pear"), query::kSyntaxError);
    EXPECT_EQ(f.engine.HitCount(), 3);
}

TEST(QueryEngine, CountingTermsCountOccurrencesPerMedium)
{
    Fixture f({{1, "apple apple apple"}, {2, "apple apple"}, {3, "apple x apple x apple x apple"}, {4, "pear"}});
    EXPECT_EQ(f.Media("morethan 2 apple"), (Set{1, 3}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("exactly 2 apple"), (Set{2}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("lessthan 3 apple"), (Set{2}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("morethan 0 apple:Title"), (Set{}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("exactly 0x3 apple or exactly 1 pear"), (Set{1, 4}));
}

TEST(QueryEngine, FieldTermsCompareStringsNumbersAndDates)
{
    using V = FullTextFieldValue;
    Fixture f({{5, "a", {{"Date", V::Date(1, 14, 1996)}, {"Price", V::Number(3.5)}}, "Apple Pie"},
        {6, "b", {{"Date", V::Date(1, 15, 1996)}, {"Price", V::Number(2)}}},
        {7, "c", {{"Date", V::Date(3, 1, 1997)}, {"Price", V::Number(-1.25)}}}});
    auto run = [&](std::string_view q) {
        f.engine.ForgetPreviousResults();
        return f.Media(q);
    };
    EXPECT_EQ(run("field(Date >= \"1/15/96\")"), (Set{6, 7}));
    EXPECT_EQ(f.Texts(), (std::vector<std::string>{"6:Date = 1/15/1996", "7:Date = 3/1/1997"}));
    QueryHit hit;
    f.engine.Hit(0, hit);
    EXPECT_EQ(hit.fieldPostings, 1);
    EXPECT_EQ(hit.wordPostings, 0);
    EXPECT_EQ(run("field(date < \"1/15/1996\")"), (Set{5}));
    EXPECT_EQ(run("field(Date = 19960115)"), (Set{6}));
    EXPECT_EQ(run("field(Price <> 2)"), (Set{5, 7}));
    EXPECT_EQ(run("field(Price <= 2)"), (Set{6, 7}));
    EXPECT_EQ(run("field(Price > 3.4)"), (Set{5}));
    EXPECT_EQ(run("field(Title = \"APPLE PIE\")"), (Set{5}));
    EXPECT_EQ(run("field(Title > m6)"), (Set{7}));
    EXPECT_EQ(run("field(Type = text) and b"), (Set{6}));
    EXPECT_EQ(run("field(Colour = red)"), (Set{}));
}

TEST(QueryEngine, GranulesRestrictWordsAndGroupThem)
{
    Fixture f({{1, "apple tart", {}, "Apple"}, {2, "tart", {}, "Apple"}, {3, "apple", {}, "Tart"}});
    auto run = [&](std::string_view q) {
        f.engine.ForgetPreviousResults();
        return f.Media(q);
    };
    EXPECT_EQ(run("apple:title"), (Set{1, 2}));
    EXPECT_EQ(run("apple:Body"), (Set{1, 3}));
    EXPECT_EQ(run("apple:Chapter"), (Set{}));
    EXPECT_EQ(run("granule(apple, tart)"), (Set{1}));
    EXPECT_EQ(run("granule(tart)"), (Set{1, 2, 3}));
}

TEST(QueryEngine, ProximityMeasuresFromTheChosenOccurrence)
{
    Fixture f({{1, "apple one two pear"}, {2, "apple one two three four pear"}, {3, "pear x apple y y y y apple"},
        {4, "apple pear"}});
    auto run = [&](std::string_view q) {
        f.engine.ForgetPreviousResults();
        return f.Media(q);
    };
    EXPECT_EQ(run("proximity(1, 3, apple, pear)"), (Set{1, 3, 4}));
    EXPECT_EQ(run("proximity(1, 2, apple, pear)"), (Set{3, 4}));
    EXPECT_EQ(run("proximity(2, 2, apple, pear)"), (Set{}));
    EXPECT_EQ(run("proximity(0, 2, apple, pear, x)"), (Set{3}));
    EXPECT_EQ(run("proximity(0, -1, apple, pear)"), (Set{}));
}

TEST(QueryEngine, AllAndNotAcceptAndMatchNothing)
{
    Fixture f({{1, "apple"}});
    EXPECT_EQ(f.engine.RunQuery("all"), 0);
    EXPECT_EQ(f.engine.RunQuery("not apple or apple"), 1);
    EXPECT_EQ(f.engine.RunQuery("\"Apple\" and 1"), 0);
}

TEST(QueryEngine, SyntaxErrors)
{
    Fixture f({{1, "apple pear"}});
    for (const char* bad : {"", "apple but plum", "apple pear", "(apple", "apple)", "apple and", "and apple",
             "field(Date ( x)", "field(Date = )", "field(Date = x", "field Date = x", "field(Date : x)",
             "exactly apple", "morethan 2", "proximity(1, 2)", "proximity(1 2, a, b)", "granule(apple",
             "granule(apple, )", "apple:", "not", "apple : (", "apple # pear", "((((apple)))"}) {
        EXPECT_EQ(f.engine.RunQuery(bad), query::kSyntaxError) << bad;
    }
    EXPECT_EQ(f.engine.RunQuery("((((apple))))"), 1);
    std::string deep(500, '(');
    deep += "apple" + std::string(500, ')');
    EXPECT_EQ(f.engine.RunQuery(deep), query::kSyntaxError);
    EXPECT_STREQ(QueryEngine::MessageFor(query::kSyntaxError), "There is a syntax error in the expression...");
    EXPECT_EQ(QueryEngine::MessageFor(3), nullptr);
}

TEST(QueryEngine, UnbuiltIndexAnswersBeforeParsing)
{
    FullTextMemoryStore store;
    FullTextIndex index(store);
    QueryEngine engine(index);
    EXPECT_EQ(engine.RunQuery("apple"), query::kNotBuilt);
    EXPECT_EQ(engine.RunQuery("apple but plum"), query::kNotBuilt);
    EXPECT_NE(std::string(QueryEngine::MessageFor(query::kNotBuilt)).find("has not been built"), std::string::npos);
}

TEST(QueryTextMatcher, EvaluatesOneTextLeftToRight)
{
    QueryTextMatcher m;
    const char* text = "The Apple and the pear; apple PIE, apple.";
    EXPECT_EQ(m.Match("apple", text), 1);
    EXPECT_EQ(m.Match("plum or apple and pear", text), 1);
    EXPECT_EQ(m.Match("apple or pear and plum", text), 0);  // (apple or pear) and plum
    EXPECT_EQ(m.Match("apple but not pie", text), 0);
    EXPECT_EQ(m.Match("not plum and \"apple pie\"", text), 1);
    EXPECT_EQ(m.Match("exactly 3 apple", text), 1);
    EXPECT_EQ(m.Match("morethan 3 apple or lessthan 1 pear", text), 0);
    EXPECT_EQ(m.Match("all but not (plum)", text), 1);
    EXPECT_EQ(m.Match("apple but plum", text), query::kSyntaxError);
    EXPECT_EQ(m.Match("exactly x apple", text), query::kSyntaxError);
    EXPECT_EQ(m.Match("apple)", text), query::kSyntaxError);
    EXPECT_EQ(m.Match("field", "a field"), 1);  // an ordinary word in the base grammar
    EXPECT_EQ(QueryTextMatcher::Occurrences("aaaa", "aa"), 2);
}

TEST(QueryEngine, HostileExpressionsNeverCrashOrHang)
{
    Fixture f({{1, "apple pear apple"}, {2, "pear plum"}, {3, "apple"}});
    const char* pieces[] = {"apple", "pear", "and", "or", "but", "not", "(", ")", ",", ":", "field", "granule",
        "proximity", "exactly", "morethan", "lessthan", "all", "=", "<>", "<=", "\"", "0x", "1.2.3", "99999999999999999999",
        "-1", "Title", "Body", "\x01", "\xFF", "#", "\\", "/"};
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i) {
        std::string expression;
        int n = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < n; ++k)
            expression += std::string(pieces[random() % std::size(pieces)]) + (random() % 3 ? " " : "");
        if (random() % 4 == 0)
            f.engine.ForgetPreviousResults();
        int32_t result = f.engine.RunQuery(expression);
        ASSERT_GE(result, query::kSyntaxError) << expression;
        if (result >= 0) {
            ASSERT_EQ(f.engine.PreviousPostings().ReadInt(0, 4), result) << expression;
        }
    }
    // Long chains stay linear and bounded.
    std::string chain = "apple";
    for (int i = 0; i < 3000; ++i)
        chain += i % 2 ? " or apple" : " and pear";
    f.engine.ForgetPreviousResults();
    EXPECT_GT(f.engine.RunQuery(chain), 0);
    EXPECT_EQ(f.engine.RunQuery("exactly 1e999 apple"), query::kSyntaxError);
    EXPECT_EQ(f.engine.RunQuery("exactly 99999999999999999999999 apple"), 0);
}
