#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <random>

#include "db/FullTextFormat.h"
#include "db/FullTextIndexBuilder.h"
#include "db/FullTextMemoryStore.h"
#include "db/QueryEngine.h"
#include "db/QueryTables.h"

using namespace tamber;
using namespace tamber::fulltext;

namespace {

std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> words;
    FullTextIndexBuilder::SplitWords(text, 0, [&](std::string_view w, uint32_t) { words.emplace_back(w); });
    return words;
}

std::vector<std::string> NameIdTable(FullTextMemoryStore& store, const char* record)
{
    std::vector<std::string> rows;
    const MemoryBlock* b = store.Find(record, 0);
    if (!b)
        return rows;
    for (int32_t at = 0; at < b->Size();) {
        std::string name;
        int32_t used = b->ReadPString(at, name);
        rows.push_back(std::string(name.c_str()) + "=" + std::to_string(b->ReadInt(at + used, 4)));
        at += used + 4;
    }
    return rows;
}

}  // namespace

TEST(FullTextIndexBuilder, WordsAreLowerCasedRunsOfLettersAndDigits)
{
    EXPECT_EQ(Words("Don't stop-ME now, 42x!"), (std::vector<std::string>{"don", "t", "stop", "me", "now", "42x"}));
    EXPECT_EQ(Words("Caf\xC9 na\xEFve \xD7 x"), (std::vector<std::string>{"caf\xC9", "na\xEFve", "x"}));
    EXPECT_EQ(Words(std::string(200, 'A'))[0], std::string(127, 'a'));
    EXPECT_TRUE(Words(" \t.,;").empty());
}

TEST(FullTextIndexBuilder, WritesTablesAndPerMediumRecords)
{
    FullTextDocumentList docs;
    docs.documents.push_back({4, "Intro", "Text", "Hello hello world", {{"Date", FullTextFieldValue::Date(1, 15, 96)}}});
    docs.documents.push_back({9, "Main", "Interface", "", {{"date", FullTextFieldValue::Date(2, 1, 1997)},
                                                               {"Price", FullTextFieldValue::Number(3.5)}}});
    FullTextMemoryStore store;
    FullTextIndexBuilder builder;
    ASSERT_EQ(builder.Build(docs, store), 1);

    EXPECT_EQ(NameIdTable(store, kFieldIdRecord), (std::vector<std::string>{"Title=1", "Type=2", "Date=3", "Price=4"}));
    EXPECT_EQ(NameIdTable(store, kGranuleIdRecord), (std::vector<std::string>{"Title=1", "Body=2"}));
    EXPECT_EQ(NameIdTable(store, kTypeIdRecord), (std::vector<std::string>{"Text=1", "Interface=2"}));
    const MemoryBlock* words = store.Find(kBuildRecord, kBuildWordsId);
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words->NthString(0), "hello");
    EXPECT_EQ(words->NthString(3), "world");
    EXPECT_EQ(words->NthString(4), "");
    EXPECT_EQ(words->Size(), 6 + 6 + 5 + 6 + 1);

    const MemoryBlock* index4 = store.Find(kMediaIndexRecord, 4);
    ASSERT_NE(index4, nullptr);
    EXPECT_EQ(index4->Size(), kMediaIndexSize);
    EXPECT_EQ(index4->ReadInt(0, 4), 3);  // intro (title), hello, world
    EXPECT_EQ(index4->ReadInt(4, 4), 4);
    EXPECT_EQ(index4->ReadInt(8, 4), 1);
    EXPECT_EQ(store.Find(kMediaIndexRecord, 9)->ReadInt(0, 4), 1);  // "main" from the title
    EXPECT_EQ(store.Find(kMediaNotesRecord, 9)->Size(), 1);
    EXPECT_EQ(store.Find(kMediaFieldRecord, 9)->ReadInt(0, 4), 4);

    const MemoryBlock* dates = store.Find(kHashRecord, 3);
    ASSERT_NE(dates, nullptr);
    EXPECT_EQ(dates->ReadInt(0, 4), 2);
    EXPECT_EQ(dates->ReadInt(4 + 6, 1), kFieldDate);
    EXPECT_EQ(dates->ReadInt(4 + 7 + 2, 2), 1996);

    FullTextIndex index(store);
    std::string value;
    EXPECT_EQ(index.MediaField(9, "type", value), 1);
    EXPECT_EQ(value, "Interface");
    EXPECT_EQ(index.MediaField(4, "Price", value), 0);
    EXPECT_EQ(index.MediaField(9, "Price", value), 1);
    EXPECT_EQ(value, "3.500000");
}

TEST(FullTextIndexBuilder, RebuildingRemovesWhatTheNewIndexNoLongerHas)
{
    FullTextDocumentList big;
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "w" + std::to_string(i) + " ";
    big.documents.push_back({1, "one", "Text", text, {{"Extra", FullTextFieldValue::String("x")}}});
    big.documents.push_back({2, "two", "Text", "small"});
    FullTextMemoryStore store;
    FullTextIndexBuilder builder;
    ASSERT_EQ(builder.Build(big, store), 1);
    int32_t leaves = builder.LastStats().leaves;
    ASSERT_GT(leaves, 3);
    EXPECT_EQ(static_cast<int32_t>(store.RecordIds(kLeafRecord).size()), leaves);
    EXPECT_EQ(store.Find(kBuildRecord, kBuildKeysId)->ReadInt(0, 4), leaves);

    FullTextDocumentList small;
    small.documents.push_back({2, "two", "Text", "small"});
    ASSERT_EQ(builder.Build(small, store), 1);
    EXPECT_EQ(store.RecordIds(kLeafRecord), (std::vector<uint32_t>{1}));
    EXPECT_EQ(store.RecordIds(kHashRecord), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(store.RecordIds(kMediaIndexRecord), (std::vector<uint32_t>{2}));

    FullTextIndex index(store);
    QueryEngine engine(index);
    EXPECT_EQ(engine.RunQuery("w100"), 0);
    EXPECT_EQ(engine.RunQuery("small"), 1);
}

TEST(FullTextIndexBuilder, ProgressReportsEveryMedium)
{
    FullTextDocumentList docs;
    for (int i = 0; i < 5; ++i)
        docs.documents.push_back({i, "m", "Text", "x"});
    docs.documents.push_back({2, "again", "Text", "y"});  // an id seen before is skipped
    std::vector<int32_t> done;
    FullTextMemoryStore store;
    FullTextIndexBuilder builder;
    builder.Build(docs, store, [&](int32_t d, int32_t total) {
        EXPECT_EQ(total, 6);
        done.push_back(d);
    });
    EXPECT_EQ(done, (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(builder.LastStats().media, 5);
}

// ---------------------------------------------------------------------------------------------
// An index built by the builder answers like a direct evaluation over the same texts.

namespace {

struct RefPosting {
    int32_t media;
    int granule;
    std::string text;
    std::vector<uint32_t> positions;
    bool operator==(const RefPosting&) const = default;
};
using Ref = std::vector<RefPosting>;

struct RefDoc {
    int32_t id;
    std::string title;
    std::string body;
    int32_t price;  // in halves
    int month, day, year;
    std::string kind;
};

std::vector<std::string> RefWords(const std::string& text)
{
    std::vector<std::string> out;
    std::string word;
    for (char c : text + " ") {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!word.empty()) {
            out.push_back(word);
            word.clear();
        }
    }
    return out;
}

class Reference {
public:
    explicit Reference(std::vector<RefDoc> docs) : m_docs(std::move(docs)) {}

    Ref Word(const std::string& word) const
    {
        std::vector<const RefDoc*> sorted;
        for (const RefDoc& d : m_docs)
            sorted.push_back(&d);
        std::sort(sorted.begin(), sorted.end(), [](auto a, auto b) { return a->id < b->id; });
        Ref out;
        for (const RefDoc* d : sorted) {
            for (int granule : {1, 2}) {
                auto words = RefWords(granule == 1 ? d->title : d->body);
                RefPosting p{d->id, granule, word, {}};
                for (size_t i = 0; i < words.size(); ++i)
                    if (words[i] == word)
                        p.positions.push_back(static_cast<uint32_t>(i) + (granule == 1 ? kTitlePositionBase : 0));
                if (!p.positions.empty())
                    out.push_back(p);
            }
        }
        return out;
    }

    Ref Field(const std::string& name, int op, double given, const std::string& givenText) const
    {
        Ref out;
        for (const RefDoc& d : m_docs) {
            int order = 0;
            std::string shown;
            if (name == "Price" || name == "Date") {
                double stored = name == "Price" ? d.price / 2.0 : d.year * 10000.0 + d.month * 100 + d.day;
                order = stored < given ? -1 : stored > given;
                char buffer[64];
                if (name == "Price")
                    std::snprintf(buffer, sizeof buffer, "%lf", d.price / 2.0);
                else
                    std::snprintf(buffer, sizeof buffer, "%d/%d/%d", d.month, d.day, d.year);
                shown = buffer;
            } else {
                order = d.kind.compare(givenText) < 0 ? -1 : d.kind.compare(givenText) > 0;
                shown = d.kind;
            }
            bool holds = op == 0 ? order == 0 : op == 1 ? order < 0 : op == 2 ? order <= 0 : op == 3 ? order > 0
                : op == 4 ? order >= 0 : order != 0;
            if (holds)
                out.push_back({d.id, 0, name + " = " + shown, {}});
        }
        return out;
    }

    static std::vector<int32_t> MediaOrder(const Ref& r)
    {
        std::vector<int32_t> order;
        for (const auto& p : r)
            if (std::find(order.begin(), order.end(), p.media) == order.end())
                order.push_back(p.media);
        return order;
    }
    static bool Has(const Ref& r, int32_t media)
    {
        return std::any_of(r.begin(), r.end(), [&](const RefPosting& p) { return p.media == media; });
    }
    static Ref And(const Ref& l, const Ref& r)
    {
        Ref out;
        for (int32_t m : MediaOrder(l)) {
            if (!Has(r, m))
                continue;
            for (const auto& p : r)
                if (p.media == m)
                    out.push_back(p);
            for (const auto& p : l)
                if (p.media == m)
                    out.push_back(p);
        }
        return out;
    }
    static Ref ButNot(const Ref& l, const Ref& r)
    {
        Ref out;
        for (const auto& p : l)
            if (!Has(r, p.media))
                out.push_back(p);
        return out;
    }
    static Ref Or(Ref l, const Ref& r)
    {
        l.insert(l.end(), r.begin(), r.end());
        return l;
    }

private:
    std::vector<RefDoc> m_docs;
};

Ref EngineResult(const QueryEngine& engine)
{
    const MemoryBlock& b = engine.PreviousPostings();
    Ref out;
    int32_t at = 4;
    for (int32_t i = 0; i < b.ReadInt(0, 4); ++i) {
        std::string text;
        at += b.ReadPString(at, text);
        RefPosting p{b.ReadInt(at, 4), b.ReadInt(at + 6, 2), text.c_str(), {}};
        int32_t n = b.ReadInt(at + 8, 2);
        for (int32_t k = 0; k < n; k += 5)
            p.positions.push_back(static_cast<uint32_t>(b.ReadInt(at + 10 + k + 1, 4)));
        out.push_back(p);
        at += 10 + n;
    }
    return out;
}

// Builds random expressions together with their expected postings.
class ExpressionMaker {
public:
    ExpressionMaker(const Reference& ref, const std::vector<std::string>& vocabulary, std::mt19937& random)
        : m_ref(ref), m_vocabulary(vocabulary), m_random(random)
    {
    }

    std::pair<std::string, Ref> Expression(int depth)
    {
        auto [text, value] = Term(depth);
        int terms = static_cast<int>(m_random() % 3);
        for (int i = 0; i < terms; ++i) {
            auto [rightText, right] = Term(depth);
            switch (m_random() % 3) {
            case 0:
                text += " and " + rightText;
                value = Reference::And(value, right);
                break;
            case 1:
                text += " or " + rightText;
                value = Reference::Or(value, right);
                break;
            default:
                text += " but not " + rightText;
                value = Reference::ButNot(value, right);
            }
        }
        return {text, value};
    }

private:
    std::string AnyWord() { return m_vocabulary[Skewed(m_vocabulary.size())]; }
    size_t Skewed(size_t n) { return std::min(n - 1, static_cast<size_t>(n * std::pow(Unit(), 2.5))); }
    double Unit() { return (m_random() % 100000) / 100000.0; }

    std::pair<std::string, Ref> Term(int depth)
    {
        int kind = static_cast<int>(m_random() % 9);
        if (kind == 0 && depth < 3) {
            auto [text, value] = Expression(depth + 1);
            return {"(" + text + ")", value};
        }
        std::string word = AnyWord();
        Ref postings = m_ref.Word(word);
        switch (kind) {
        case 1: {
            int granule = 1 + static_cast<int>(m_random() % 2);
            std::erase_if(postings, [&](const RefPosting& p) { return p.granule != granule; });
            return {word + (granule == 1 ? ":TITLE" : ":body"), postings};
        }
        case 2: {
            int n = static_cast<int>(m_random() % 4);
            int which = static_cast<int>(m_random() % 3);
            std::map<int32_t, size_t> counts;
            for (const auto& p : postings)
                counts[p.media] += p.positions.size();
            std::erase_if(postings, [&](const RefPosting& p) {
                size_t c = counts[p.media];
                return which == 0 ? c != static_cast<size_t>(n) : which == 1 ? c <= static_cast<size_t>(n) : c >= static_cast<size_t>(n);
            });
            const char* names[] = {"exactly", "morethan", "lessthan"};
            return {std::string(names[which]) + " " + std::to_string(n) + " " + word, postings};
        }
        case 3: {
            const char* ops[] = {"=", "<", "<=", ">", ">=", "<>"};
            int op = static_cast<int>(m_random() % 6);
            int field = static_cast<int>(m_random() % 3);
            if (field == 0) {
                int halves = static_cast<int>(m_random() % 40);
                char given[32];
                std::snprintf(given, sizeof given, "%g", halves / 2.0);
                return {std::string("field(Price ") + ops[op] + " " + given + ")",
                    m_ref.Field("Price", op, halves / 2.0, "")};
            }
            if (field == 1) {
                int m = 1 + static_cast<int>(m_random() % 12), d = 1 + static_cast<int>(m_random() % 28);
                int y = 94 + static_cast<int>(m_random() % 4);
                std::string given = std::to_string(m) + "/" + std::to_string(d) + "/" + std::to_string(y);
                return {std::string("field(Date ") + ops[op] + " \"" + given + "\")",
                    m_ref.Field("Date", op, (1900 + y) * 10000.0 + m * 100 + d, "")};
            }
            std::string given = m_random() % 2 ? "story" : "song";
            return {std::string("field(Kind ") + ops[op] + " " + given + ")", m_ref.Field("Kind", op, 0, given)};
        }
        case 4: {
            std::string other = AnyWord();
            Ref second = m_ref.Word(other);
            std::erase_if(postings, [&](const RefPosting& p) {
                return std::none_of(second.begin(), second.end(),
                    [&](const RefPosting& q) { return q.media == p.media && q.granule == p.granule; });
            });
            return {"granule(" + word + ", " + other + ")", postings};
        }
        case 5: {
            std::string other = AnyWord();
            Ref second = m_ref.Word(other);
            int nth = static_cast<int>(m_random() % 3);
            int64_t distance = static_cast<int64_t>(m_random() % 6);
            auto near = [&](int32_t media, int64_t at) {
                for (const auto& q : second)
                    if (q.media == media)
                        for (uint32_t pos : q.positions)
                            if (std::llabs(static_cast<int64_t>(pos) - at) <= distance)
                                return true;
                return false;
            };
            std::erase_if(postings, [&](const RefPosting& p) {
                if (nth >= 1)
                    return static_cast<size_t>(nth) > p.positions.size() || !near(p.media, p.positions[nth - 1]);
                return std::none_of(p.positions.begin(), p.positions.end(), [&](uint32_t at) { return near(p.media, at); });
            });
            return {"proximity(" + std::to_string(nth) + ", " + std::to_string(distance) + ", " + word + ", " + other + ")",
                postings};
        }
        case 6:
            return {m_random() % 2 ? "all" : "not " + word, {}};
        default:
            return {m_random() % 2 ? word : "\"" + word + "\"", postings};
        }
    }

    const Reference& m_ref;
    const std::vector<std::string>& m_vocabulary;
    std::mt19937& m_random;
};

}  // namespace

TEST(FullTextIndexBuilder, GeneratedCorpusAnswersLikeADirectEvaluation)
{
    std::mt19937 random(20260);
    std::vector<std::string> vocabulary;
    for (int i = 0; i < 80; ++i)
        vocabulary.push_back(std::string(1, static_cast<char>('a' + i % 26)) + "w" + std::to_string(i));
    auto pick = [&]() {
        double u = (random() % 100000) / 100000.0;
        return vocabulary[std::min<size_t>(vocabulary.size() - 1, static_cast<size_t>(vocabulary.size() * u * u * u))];
    };

    std::vector<RefDoc> refDocs;
    FullTextDocumentList docs;
    std::vector<int32_t> ids(250);
    std::iota(ids.begin(), ids.end(), 100);
    std::shuffle(ids.begin(), ids.end(), random);  // catalogue order is not id order
    for (int32_t id : ids) {
        RefDoc d;
        d.id = id;
        int titleWords = static_cast<int>(random() % 3);
        for (int i = 0; i < titleWords; ++i)
            d.title += (i ? " " : "") + pick();
        int bodyWords = static_cast<int>(random() % 60);
        for (int i = 0; i < bodyWords; ++i) {
            std::string w = pick();
            if (random() % 5 == 0)
                w[0] = static_cast<char>(std::toupper(w[0]));
            d.body += w + (random() % 7 == 0 ? ", " : " ");
        }
        d.price = static_cast<int32_t>(random() % 40);
        d.month = 1 + static_cast<int>(random() % 12);
        d.day = 1 + static_cast<int>(random() % 28);
        d.year = 1994 + static_cast<int>(random() % 4);
        d.kind = random() % 2 ? "story" : "song";
        refDocs.push_back(d);
        docs.documents.push_back({id, d.title, "Text", d.body,
            {{"Price", FullTextFieldValue::Number(d.price / 2.0)}, {"Date", FullTextFieldValue::Date(d.month, d.day, d.year)},
                {"Kind", FullTextFieldValue::String(d.kind)}}});
    }

    FullTextMemoryStore store;
    FullTextIndexBuilder builder;
    ASSERT_EQ(builder.Build(docs, store), 1);
    FullTextIndex index(store);
    QueryEngine engine(index);
    Reference ref(refDocs);
    ExpressionMaker maker(ref, vocabulary, random);

    int nonEmpty = 0;
    for (int i = 0; i < 400; ++i) {
        auto [expression, expected] = maker.Expression(0);
        engine.ForgetPreviousResults();
        int32_t result = engine.RunQuery(expression);
        ASSERT_EQ(result, static_cast<int32_t>(expected.size())) << expression;
        ASSERT_EQ(EngineResult(engine), expected) << expression;
        nonEmpty += !expected.empty();

        // A second expression, without forgetting, keeps only media the first one found.
        auto [second, secondExpected] = maker.Expression(0);
        if (!expected.empty())
            std::erase_if(secondExpected, [&first = expected](const RefPosting& p) { return !Reference::Has(first, p.media); });
        ASSERT_EQ(engine.RunQuery(second), static_cast<int32_t>(secondExpected.size())) << expression << " / " << second;
        ASSERT_EQ(EngineResult(engine), secondExpected) << expression << " / " << second;
    }
    EXPECT_GT(nonEmpty, 150);  // the corpus and expressions exercise real matches
}
