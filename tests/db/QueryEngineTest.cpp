#include "db/QueryEngine.h"

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "base/AsciiCase.h"
#include "db/FullTextFormat.h"
#include "db/FullTextIndexBuilder.h"
#include "db/FullTextMemoryStore.h"
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
            list.documents.push_back(
                { d.id, d.name.empty() ? "m" + std::to_string(d.id) : d.name, "Text", d.text, d.fields });
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

    // The previous postings in order, as "media:text", or "media/granule:text".
    std::vector<std::string> Texts(bool withGranule = false)
    {
        const MemoryBlock& b = engine.PreviousPostings();
        std::vector<std::string> texts;
        int32_t at = 4;
        for (int32_t i = 0; i < b.ReadInt(0, 4); ++i) {
            std::string text;
            int32_t used = b.ReadPString(at, text);
            std::string granule = withGranule ? "/" + std::to_string(b.ReadInt(at + used + 6, 2)) : "";
            texts.push_back(std::to_string(b.ReadInt(at + used, 4)) + granule + ":" + text.c_str());
            at += used + 10 + b.ReadInt(at + used + 8, 2);
        }
        return texts;
    }

    FullTextMemoryStore store;
    FullTextIndex index { store };
    QueryEngine engine { index };
};

using Set = std::set<int32_t>;

} // namespace

TEST(QueryEngine, ConnectivesCombineStrictlyLeftToRight)
{
    Fixture f({ { 1, "apple pear" }, { 2, "plum" }, { 3, "apple" }, { 4, "pear plum" } });
    EXPECT_EQ(f.Media("apple and pear or plum"), (Set { 1, 2, 4 }));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("apple or pear and plum"), (Set { 4 }));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("apple or (pear and plum)"), (Set { 1, 3, 4 }));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("APPLE but NOT plum or plum"), (Set { 1, 2, 3, 4 }));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("pear but not plum"), (Set { 1 }));
}

TEST(QueryEngine, AndPutsTheRightSidesPostingsFirstAndOrAppends)
{
    Fixture f({ { 1, "apple pear" }, { 2, "pear" }, { 3, "apple" } });
    EXPECT_EQ(f.engine.RunQuery("apple and pear"), 2);
    EXPECT_EQ(f.Texts(), (std::vector<std::string> { "1:pear", "1:apple" }));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.engine.RunQuery("pear or apple"), 4);
    EXPECT_EQ(f.Texts(), (std::vector<std::string> { "1:pear", "2:pear", "1:apple", "3:apple" }));
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
    Fixture f({ { 3, "apple" }, { 7, "apple pear" }, { 9, "pear" } });
    EXPECT_EQ(f.engine.RunQuery("apple"), 2);
    EXPECT_EQ(f.engine.RunQuery("pear"), 1);
    EXPECT_EQ(f.Media("pear"), (Set { 7 }));
    // A search that finds nothing leaves no previous postings, so the next covers everything.
    EXPECT_EQ(f.engine.RunQuery("plum"), 0);
    EXPECT_EQ(f.engine.RunQuery("pear"), 2);
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.engine.HitCount(), 0);
    EXPECT_EQ(f.engine.PreviousPostings().Size(), 0);
    EXPECT_EQ(f.Media("apple or pear"), (Set { 3, 7, 9 }));
    // A syntax error keeps the previous results.
    EXPECT_EQ(f.engine.RunQuery("apple but pear"), query::kSyntaxError);
    EXPECT_EQ(f.engine.HitCount(), 3);
}

TEST(QueryEngine, CountingTermsCountOccurrencesPerMedium)
{
    Fixture f({ { 1, "apple apple apple" }, { 2, "apple apple" }, { 3, "apple x apple x apple x apple" },
        { 4, "pear" } });
    EXPECT_EQ(f.Media("morethan 2 apple"), (Set { 1, 3 }));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("exactly 2 apple"), (Set { 2 }));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("lessthan 3 apple"), (Set { 2 }));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("morethan 0 apple:Title"), (Set {}));
    f.engine.ForgetPreviousResults();
    EXPECT_EQ(f.Media("exactly 0x3 apple or exactly 1 pear"), (Set { 1, 4 }));
}

TEST(QueryEngine, FieldTermsCompareStringsNumbersAndDates)
{
    using V = FullTextFieldValue;
    Fixture f({ { 5, "a", { { "Date", V::Date(1, 14, 1996) }, { "Price", V::Number(3.5) } }, "Apple Pie" },
        { 6, "b", { { "Date", V::Date(1, 15, 1996) }, { "Price", V::Number(2) } } },
        { 7, "c", { { "Date", V::Date(3, 1, 1997) }, { "Price", V::Number(-1.25) } } } });
    auto run = [&](std::string_view q) {
        f.engine.ForgetPreviousResults();
        return f.Media(q);
    };
    EXPECT_EQ(run("field(Date >= \"1/15/96\")"), (Set { 6, 7 }));
    EXPECT_EQ(f.Texts(), (std::vector<std::string> { "6:Date = 1/15/1996", "7:Date = 3/1/1997" }));
    QueryHit hit;
    f.engine.Hit(0, hit);
    EXPECT_EQ(hit.fieldPostings, 1);
    EXPECT_EQ(hit.wordPostings, 0);
    EXPECT_EQ(run("field(date < \"1/15/1996\")"), (Set { 5 }));
    EXPECT_EQ(run("field(Date = 19960115)"), (Set { 6 }));
    EXPECT_EQ(run("field(Price <> 2)"), (Set { 5, 7 }));
    EXPECT_EQ(run("field(Price <= 2)"), (Set { 6, 7 }));
    EXPECT_EQ(run("field(Price > 3.4)"), (Set { 5 }));
    EXPECT_EQ(run("field(Title = \"APPLE PIE\")"), (Set { 5 }));
    EXPECT_EQ(run("field(Title > m6)"), (Set { 7 }));
    EXPECT_EQ(run("field(Type = text) and b"), (Set { 6 }));
    EXPECT_EQ(run("field(Colour = red)"), (Set {}));
}

TEST(QueryEngine, GranulesRestrictWordsAndGroupThem)
{
    Fixture f({ { 1, "apple tart", {}, "Apple" }, { 2, "tart", {}, "Apple" }, { 3, "apple", {}, "Tart" } });
    auto run = [&](std::string_view q) {
        f.engine.ForgetPreviousResults();
        return f.Media(q);
    };
    EXPECT_EQ(run("apple:title"), (Set { 1, 2 }));
    EXPECT_EQ(run("apple:Body"), (Set { 1, 3 }));
    EXPECT_EQ(run("apple:Chapter"), (Set {}));
    EXPECT_EQ(run("granule(apple, tart)"), (Set { 1 }));
    EXPECT_EQ(run("granule(tart)"), (Set { 1, 2, 3 }));
}

TEST(QueryEngine, ProximityMeasuresFromTheChosenOccurrence)
{
    Fixture f({ { 1, "apple one two pear" }, { 2, "apple one two three four pear" },
        { 3, "pear x apple y y y y apple" }, { 4, "apple pear" } });
    auto run = [&](std::string_view q) {
        f.engine.ForgetPreviousResults();
        return f.Media(q);
    };
    EXPECT_EQ(run("proximity(1, 3, apple, pear)"), (Set { 1, 3, 4 }));
    EXPECT_EQ(run("proximity(1, 2, apple, pear)"), (Set { 3, 4 }));
    EXPECT_EQ(run("proximity(2, 2, apple, pear)"), (Set {}));
    EXPECT_EQ(run("proximity(0, 2, apple, pear, x)"), (Set { 3 }));
    EXPECT_EQ(run("proximity(0, -1, apple, pear)"), (Set {}));
}

// Proximity and field terms on random media against a direct reading of the media themselves:
// which postings survive, in which order, with which texts.
TEST(QueryEngine, ProximityAndFieldTermsAgreeWithBruteForce)
{
    using V = FullTextFieldValue;
    std::mt19937 random(11);
    const std::vector<std::string> vocabulary
        = { "ash", "birch", "cedar", "elm", "fir", "oak", "pine", "yew" };
    auto word = [&]() { return vocabulary[std::min(random() % 8, random() % 8)]; }; // skewed to the first
    auto date = [&]() { return V::Date(1 + random() % 12, 1 + random() % 28, 1990 + random() % 10); };
    std::vector<Doc> docs;
    std::vector<int32_t> ids(120);
    std::iota(ids.begin(), ids.end(), 1);
    std::shuffle(ids.begin(), ids.end(), random); // field tables keep this order, postings sort by media
    for (int32_t id : ids) {
        Doc d { id, "" };
        for (int n = static_cast<int>(random() % 40); n > 0; --n)
            d.text += word() + (random() % 5 ? " " : ". ");
        d.name = word() + " " + word();
        if (random() % 5)
            d.fields.push_back({ "Date", date() });
        int mixed = static_cast<int>(random() % 4);
        if (mixed == 1)
            d.fields.push_back(
                { "Mixed", V::Number(static_cast<double>(random() % 7) - 3 + (random() % 2) * 0.5) });
        else if (mixed == 2)
            d.fields.push_back({ "Mixed", date() });
        else if (mixed == 3)
            d.fields.push_back({ "Mixed", V::String(random() % 2 ? word() : "PINE") });
        docs.push_back(d);
    }
    Fixture f(docs);
    std::vector<Doc> byId = docs;
    std::sort(byId.begin(), byId.end(), [](const Doc& a, const Doc& b) { return a.id < b.id; });

    // Positions of a word in a title (numbered from the title base) or a text.
    auto positions = [](std::string_view text, uint32_t first, const std::string& w) {
        std::vector<int64_t> found;
        FullTextIndexBuilder::SplitWords(text, first, [&](std::string_view s, uint32_t at) {
            if (s == w)
                found.push_back(at);
        });
        return found;
    };
    for (int q = 0; q < 300; ++q) {
        auto nth = static_cast<int64_t>(random() % 4);
        int64_t distance = std::vector<int64_t> { 0, 1, 3, 8 }[random() % 4];
        std::vector<std::string> words = { word(), word() };
        if (random() % 3 == 0)
            words.push_back(random() % 8 ? word() : "absent");
        std::string expression = "proximity(" + std::to_string(nth) + ", " + std::to_string(distance);
        for (const std::string& w : words)
            expression += ", " + w;
        expression += ")";

        std::vector<std::string> expected;
        for (const Doc& d : byId) {
            auto near = [&](int64_t at) {
                return std::all_of(words.begin() + 1, words.end(), [&](const std::string& w) {
                    std::vector<int64_t> all = positions(d.name, fulltext::kTitlePositionBase, w);
                    for (int64_t p : positions(d.text, 0, w))
                        all.push_back(p);
                    return std::any_of(
                        all.begin(), all.end(), [&](int64_t p) { return std::abs(p - at) <= distance; });
                });
            };
            for (uint16_t granule : { fulltext::kTitleGranule, fulltext::kBodyGranule }) {
                std::vector<int64_t> own = granule == fulltext::kTitleGranule
                    ? positions(d.name, fulltext::kTitlePositionBase, words[0])
                    : positions(d.text, 0, words[0]);
                bool kept = nth >= 1 ? nth <= static_cast<int64_t>(own.size()) && near(own[nth - 1])
                                     : std::any_of(own.begin(), own.end(), near);
                if (!own.empty() && kept)
                    expected.push_back(std::to_string(d.id) + "/" + std::to_string(granule) + ":" + words[0]);
            }
        }
        f.engine.ForgetPreviousResults();
        ASSERT_EQ(f.engine.RunQuery(expression), static_cast<int32_t>(expected.size())) << expression;
        ASSERT_EQ(f.Texts(true), expected) << expression;
    }

    const std::map<std::string, std::function<bool(int)>> comparisons
        = { { "=", [](int o) { return o == 0; } }, { "<>", [](int o) { return o != 0; } },
              { "<", [](int o) { return o < 0; } }, { "<=", [](int o) { return o <= 0; } },
              { ">", [](int o) { return o > 0; } }, { ">=", [](int o) { return o >= 0; } } };
    for (const char* field : { "Date", "mixed", "TITLE" }) {
        for (const char* given : { "6/15/94", "3/1/1997", "-1.5", "0", "2", "oak", "pine", "ELM yew" }) {
            for (const auto& [op, holds] : comparisons) {
                std::string expression = std::string("field(") + field + " " + op + " \"" + given + "\")";
                std::vector<std::string> expected;
                for (const Doc& d : docs) {
                    std::vector<std::pair<std::string, V>> fields = d.fields;
                    fields.push_back({ "Title", V::String(d.name) });
                    for (const auto& [name, value] : fields) {
                        if (!EqualFolded(name, field))
                            continue;
                        double number = QueryValueAsNumber(given);
                        int order = value.kind == fulltext::kFieldString
                            ? CompareFolded(value.text, given)
                            : (value.AsNumber() > number) - (value.AsNumber() < number);
                        if (holds(order))
                            expected.push_back(std::to_string(d.id) + ":" + field + " = " + value.Format());
                    }
                }
                f.engine.ForgetPreviousResults();
                ASSERT_EQ(f.engine.RunQuery(expression), static_cast<int32_t>(expected.size())) << expression;
                ASSERT_EQ(f.Texts(), expected) << expression;
            }
        }
    }
}

TEST(QueryEngine, AllAndNotAcceptAndMatchNothing)
{
    Fixture f({ { 1, "apple" } });
    EXPECT_EQ(f.engine.RunQuery("all"), 0);
    EXPECT_EQ(f.engine.RunQuery("not apple or apple"), 1);
    EXPECT_EQ(f.engine.RunQuery("\"Apple\" and 1"), 0);
}

TEST(QueryEngine, SyntaxErrors)
{
    Fixture f({ { 1, "apple pear" } });
    for (const char* bad : { "", "apple but plum", "apple pear", "(apple", "apple)", "apple and", "and apple",
             "field(Date ( x)", "field(Date = )", "field(Date = x", "field Date = x", "field(Date : x)",
             "exactly apple", "morethan 2", "proximity(1, 2)", "proximity(1 2, a, b)", "granule(apple",
             "granule(apple, )", "apple:", "not", "apple : (", "apple # pear", "((((apple)))" }) {
        EXPECT_EQ(f.engine.RunQuery(bad), query::kSyntaxError) << bad;
    }
    EXPECT_EQ(f.engine.RunQuery("((((apple))))"), 1);
    std::string deep(500, '(');
    deep += "apple" + std::string(500, ')');
    EXPECT_EQ(f.engine.RunQuery(deep), query::kSyntaxError);
    EXPECT_STREQ(
        QueryEngine::MessageFor(query::kSyntaxError), "There is a syntax error in the expression...");
    EXPECT_EQ(QueryEngine::MessageFor(3), nullptr);
}

TEST(QueryEngine, UnbuiltIndexAnswersBeforeParsing)
{
    FullTextMemoryStore store;
    FullTextIndex index(store);
    QueryEngine engine(index);
    EXPECT_EQ(engine.RunQuery("apple"), query::kNotBuilt);
    EXPECT_EQ(engine.RunQuery("apple but plum"), query::kNotBuilt);
    EXPECT_NE(
        std::string(QueryEngine::MessageFor(query::kNotBuilt)).find("has not been built"), std::string::npos);
}

TEST(QueryTextMatcher, EvaluatesOneTextLeftToRight)
{
    QueryTextMatcher m;
    const char* text = "The Apple and the pear; apple PIE, apple.";
    EXPECT_EQ(m.Match("apple", text), 1);
    EXPECT_EQ(m.Match("plum or apple and pear", text), 1);
    EXPECT_EQ(m.Match("apple or pear and plum", text), 0); // (apple or pear) and plum
    EXPECT_EQ(m.Match("apple but not pie", text), 0);
    EXPECT_EQ(m.Match("not plum and \"apple pie\"", text), 1);
    EXPECT_EQ(m.Match("exactly 3 apple", text), 1);
    EXPECT_EQ(m.Match("morethan 3 apple or lessthan 1 pear", text), 0);
    EXPECT_EQ(m.Match("all but not (plum)", text), 1);
    EXPECT_EQ(m.Match("apple but plum", text), query::kSyntaxError);
    EXPECT_EQ(m.Match("exactly x apple", text), query::kSyntaxError);
    EXPECT_EQ(m.Match("apple)", text), query::kSyntaxError);
    EXPECT_EQ(m.Match("field", "a field"), 1); // an ordinary word in the base grammar
    EXPECT_EQ(QueryTextMatcher::Occurrences("aaaa", "aa"), 2);
}

TEST(QueryEngine, HostileExpressionsNeverCrashOrHang)
{
    Fixture f({ { 1, "apple pear apple" }, { 2, "pear plum" }, { 3, "apple" } });
    const char* pieces[] = { "apple", "pear", "and", "or", "but", "not", "(", ")", ",", ":", "field",
        "granule", "proximity", "exactly", "morethan", "lessthan", "all", "=", "<>", "<=", "\"", "0x",
        "1.2.3", "99999999999999999999", "-1", "Title", "Body", "\x01", "\xFF", "#", "\\", "/" };
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
