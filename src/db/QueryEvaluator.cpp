#include "db/QueryEvaluator.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/AsciiCase.h"
#include "db/FullTextFormat.h"
#include "db/QueryTables.h"

namespace tamber {

using namespace fulltext;

namespace {

bool Holds(int32_t op, int order)
{
    switch (op) {
    case query::kEqual:
        return order == 0;
    case query::kLess:
        return order < 0;
    case query::kLessEqual:
        return order <= 0;
    case query::kGreater:
        return order > 0;
    case query::kGreaterEqual:
        return order >= 0;
    case query::kNotEqual:
        return order != 0;
    default:
        return false;
    }
}

bool SortedByMedia(const QueryPostings& postings)
{
    for (size_t i = 1; i < postings.size(); ++i)
        if (postings[i].mediaId < postings[i - 1].mediaId)
            return false;
    return true;
}

// The postings of each medium, in order of the medium's first appearance.
struct MediaGroups {
    std::vector<int32_t> order;
    std::unordered_map<int32_t, uint32_t> groupOf;
    std::vector<uint32_t> start; // group g's postings are indices[start[g] .. start[g + 1])
    std::vector<uint32_t> indices;

    explicit MediaGroups(const QueryPostings& postings)
    {
        std::vector<uint32_t> groupIndex(postings.size());
        std::vector<uint32_t> counts;
        groupOf.reserve(postings.size());
        for (size_t i = 0; i < postings.size(); ++i) {
            auto [it, inserted]
                = groupOf.try_emplace(postings[i].mediaId, static_cast<uint32_t>(order.size()));
            if (inserted) {
                order.push_back(postings[i].mediaId);
                counts.push_back(0);
            }
            groupIndex[i] = it->second;
            ++counts[it->second];
        }
        start.assign(order.size() + 1, 0);
        for (size_t g = 0; g < order.size(); ++g)
            start[g + 1] = start[g] + counts[g];
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        indices.resize(postings.size());
        for (size_t i = 0; i < postings.size(); ++i)
            indices[fill[groupIndex[i]]++] = static_cast<uint32_t>(i);
    }

    void AppendGroup(uint32_t g, const QueryPostings& from, QueryPostings& to) const
    {
        for (uint32_t k = start[g]; k < start[g + 1]; ++k)
            to.push_back(from[indices[k]]);
    }
};

// Calls visit(position) for each word position a posting's occurrence data lists, in stored
// order; an item cut short by the data's end ends the walk.
template<typename Visit> void ForEachPosition(const QueryPosting& posting, Visit visit)
{
    const uint8_t* p = posting.data;
    int32_t n = posting.dataLength;
    for (int32_t at = 0; at < n;) {
        if (p[at] == kPositionItem) {
            if (at + kPositionItemSize > n)
                break;
            visit(static_cast<uint32_t>(p[at + 1] | (p[at + 2] << 8) | (p[at + 3] << 16))
                | (static_cast<uint32_t>(p[at + 4]) << 24));
            at += kPositionItemSize;
        } else {
            if (at + kOtherItemHeaderSize > n)
                break;
            at += kOtherItemHeaderSize + p[at + 1];
        }
    }
}

// The postings of one further word of a proximity term, media ascending, with the sorted
// positions of the medium last sought. Postings are sought mostly in ascending media order, so
// each search gallops forward from the previous one.
class NearWord {
public:
    explicit NearWord(QueryPostings&& postings)
        : m_postings(std::move(postings))
    {
        if (!SortedByMedia(m_postings))
            std::stable_sort(m_postings.begin(), m_postings.end(),
                [](const QueryPosting& a, const QueryPosting& b) { return a.mediaId < b.mediaId; });
    }

    // Gathers the word's positions in the medium; false when it has none there.
    bool Seek(int32_t mediaId)
    {
        if (m_sought && m_media == mediaId)
            return !m_positions.empty();
        m_sought = true;
        m_media = mediaId;
        m_positions.clear();
        const size_t n = m_postings.size();
        size_t at = m_cursor;
        auto begin = m_postings.begin();
        auto before = [](const QueryPosting& p, int32_t m) { return p.mediaId < m; };
        if (at < n && m_postings[at].mediaId < mediaId) {
            // Gallop forward: the medium lies after `at`, within the last step.
            size_t step = 1;
            while (at + step < n && m_postings[at + step].mediaId < mediaId) {
                at += step;
                step *= 2;
            }
            at = static_cast<size_t>(
                std::lower_bound(begin + static_cast<ptrdiff_t>(at + 1),
                    begin + static_cast<ptrdiff_t>(std::min(n, at + step + 1)), mediaId, before)
                - begin);
        } else if (at > 0 && m_postings[at - 1].mediaId >= mediaId) {
            at = static_cast<size_t>(
                std::lower_bound(begin, begin + static_cast<ptrdiff_t>(at), mediaId, before) - begin);
        }
        m_cursor = at;
        for (; at < n && m_postings[at].mediaId == mediaId; ++at)
            ForEachPosition(m_postings[at], [&](uint32_t position) { m_positions.push_back(position); });
        if (!std::is_sorted(m_positions.begin(), m_positions.end()))
            std::sort(m_positions.begin(), m_positions.end());
        return !m_positions.empty();
    }

    // Whether the medium last sought has a position within distance of the given one.
    bool Near(int64_t position, int64_t distance) const
    {
        auto from = std::lower_bound(m_positions.begin(), m_positions.end(),
            static_cast<uint32_t>(std::max<int64_t>(0, position - distance)));
        return from != m_positions.end() && static_cast<int64_t>(*from) <= position + distance;
    }

private:
    QueryPostings m_postings;
    size_t m_cursor = 0;
    bool m_sought = false;
    int32_t m_media = 0;
    std::vector<uint32_t> m_positions;
};

// What a field term decided for each distinct stored value, keyed by the value's bytes (kind
// byte and value) inside the pinned value table: rejected, or the index of the text its
// postings carry. Fields hold few distinct values, so each is compared and formatted once.
class ValueOutcomes {
public:
    static constexpr uint32_t kRejected = UINT32_MAX;
    static constexpr uint32_t kUnknown = UINT32_MAX - 1;

    // The outcome of the bytes, kUnknown until the caller sets it.
    uint32_t& Find(std::string_view bytes)
    {
        if ((m_count + 1) * 2 > m_slots.size())
            Grow();
        uint32_t hash = Hash(bytes);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (!slot.bytes.data()) {
                slot = { bytes, hash, kUnknown };
                ++m_count;
                return slot.outcome;
            }
            if (slot.hash == hash && slot.bytes == bytes)
                return slot.outcome;
        }
    }

private:
    struct Slot {
        std::string_view bytes; // empty slot: no data
        uint32_t hash = 0;
        uint32_t outcome = kUnknown;
    };

    static uint32_t Hash(std::string_view bytes)
    {
        uint32_t h = 2166136261u;
        for (char c : bytes)
            h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
        return h;
    }

    void Grow()
    {
        std::vector<Slot> slots(std::max<size_t>(64, m_slots.size() * 2));
        const size_t mask = slots.size() - 1;
        for (const Slot& slot : m_slots) {
            if (!slot.bytes.data())
                continue;
            size_t i = slot.hash & mask;
            while (slots[i].bytes.data())
                i = (i + 1) & mask;
            slots[i] = slot;
        }
        m_slots.swap(slots);
    }

    std::vector<Slot> m_slots;
    size_t m_count = 0;
};

int64_t ClampToInteger(double value)
{
    if (!std::isfinite(value))
        return value < 0 ? INT32_MIN : INT32_MAX;
    return static_cast<int64_t>(std::fmax(std::fmin(value, 1e15), -1e15));
}

} // namespace

QueryPostings QueryEvaluator::And(const QueryPostings& left, const QueryPostings& right)
{
    QueryPostings out;
    if (left.empty() || right.empty())
        return out;
    if (SortedByMedia(left) && SortedByMedia(right)) {
        // Both sides list their media in ascending order, as the index stores them: merge.
        size_t i = 0, j = 0;
        while (i < left.size() && j < right.size()) {
            int32_t a = left[i].mediaId;
            int32_t b = right[j].mediaId;
            if (a < b) {
                while (i < left.size() && left[i].mediaId == a)
                    ++i;
            } else if (b < a) {
                while (j < right.size() && right[j].mediaId == b)
                    ++j;
            } else {
                size_t li = i;
                while (j < right.size() && right[j].mediaId == a)
                    out.push_back(right[j++]);
                while (i < left.size() && left[i].mediaId == a)
                    ++i;
                out.insert(out.end(), left.begin() + static_cast<ptrdiff_t>(li),
                    left.begin() + static_cast<ptrdiff_t>(i));
            }
        }
        return out;
    }
    MediaGroups leftGroups(left);
    MediaGroups rightGroups(right);
    for (uint32_t g = 0; g < leftGroups.order.size(); ++g) {
        auto it = rightGroups.groupOf.find(leftGroups.order[g]);
        if (it == rightGroups.groupOf.end())
            continue;
        rightGroups.AppendGroup(it->second, right, out);
        leftGroups.AppendGroup(g, left, out);
    }
    return out;
}

QueryPostings QueryEvaluator::ButNot(const QueryPostings& left, const QueryPostings& right)
{
    QueryPostings out;
    if (right.empty())
        return left;
    std::unordered_set<int32_t> excluded;
    excluded.reserve(right.size());
    for (const QueryPosting& p : right)
        excluded.insert(p.mediaId);
    for (const QueryPosting& p : left)
        if (!excluded.count(p.mediaId))
            out.push_back(p);
    return out;
}

void QueryEvaluator::Or(QueryPostings& left, const QueryPostings& right)
{
    size_t room = kMaxPostings > left.size() ? kMaxPostings - left.size() : 0;
    left.insert(
        left.end(), right.begin(), right.begin() + static_cast<ptrdiff_t>(std::min(room, right.size())));
}

void QueryEvaluator::Positions(const QueryPosting& posting, std::vector<uint32_t>& out)
{
    out.clear();
    ForEachPosition(posting, [&](uint32_t position) { out.push_back(position); });
}

int64_t QueryEvaluator::Occurrences(const QueryPosting& posting)
{
    int64_t count = 0;
    ForEachPosition(posting, [&](uint32_t) { ++count; });
    return count > 0 ? count : 1;
}

bool QueryEvaluator::Evaluate(QueryPostings& result)
{
    result.clear();
    if (!Expression(result, 0))
        return false;
    return m_scanner.Next() == TokenKind::EndOfText;
}

bool QueryEvaluator::Expression(QueryPostings& out, int depth)
{
    if (depth > query::kMaxNesting)
        return false;
    if (!Term(out, depth))
        return false;
    for (;;) {
        int32_t connective = 0;
        query::AfterTerm next = query::ReadAfterTerm(m_scanner, connective);
        if (next != query::AfterTerm::Connective)
            return next == query::AfterTerm::End;
        QueryPostings right;
        if (!Term(right, depth))
            return false;
        if (connective == query::kOr)
            Or(out, right);
        else if (connective == query::kAnd)
            out = And(out, right);
        else
            out = ButNot(out, right);
    }
}

bool QueryEvaluator::IsWordToken(TokenKind kind) const
{
    return kind == TokenKind::Identifier || kind == TokenKind::StringLiteral || kind == TokenKind::Number;
}

bool QueryEvaluator::ExpectOperator(int32_t code)
{
    return m_scanner.Next() == TokenKind::Operator && m_scanner.Code() == code;
}

bool QueryEvaluator::ReadInteger(int64_t& value)
{
    if (m_scanner.Next() != TokenKind::Number)
        return false;
    value = ClampToInteger(m_scanner.Value());
    return true;
}

bool QueryEvaluator::Term(QueryPostings& out, int depth)
{
    out.clear();
    TokenKind kind = m_scanner.Next();
    if (IsWordToken(kind)) {
        m_scanner.Rewind();
        return WordWithGranule(out);
    }
    if (kind == TokenKind::Operator) {
        if (m_scanner.Code() != query::kOpen)
            return false;
        return Expression(out, depth + 1) && ExpectOperator(query::kClose);
    }
    if (kind != TokenKind::Keyword)
        return false;
    switch (m_scanner.Code()) {
    case query::kAll:
        return true;
    case query::kNot:
        // Accepted for the grammar's sake: "not" and the token after it match nothing here.
        return m_scanner.Next() != TokenKind::EndOfText;
    case query::kExactly:
    case query::kMoreThan:
    case query::kLessThan:
        return CountTerm(m_scanner.Code(), out);
    case query::kField:
        return FieldTerm(out);
    case query::kGranule:
        return GranuleTerm(out);
    case query::kProximity:
        return ProximityTerm(out);
    default:
        return false;
    }
}

void QueryEvaluator::WordPostings(const std::string& word, QueryPostings& out)
{
    out.clear();
    FullTextIndex::WordEntry entry;
    if (!m_index.FindWord(LowerAscii(word), entry))
        return;
    auto text = static_cast<uint32_t>(m_texts.size());
    m_texts.push_back(LowerAscii(word));
    m_pinned.push_back(entry.leaf);
    const uint8_t* base = entry.Data();
    auto dataLength = [](const uint8_t* p) {
        return static_cast<uint16_t>(p[kPostingDataLengthOffset] | (p[kPostingDataLengthOffset + 1] << 8));
    };
    // Count the whole postings first, so that the list is allocated once.
    size_t count = 0;
    for (int32_t at = 0; at + kPostingHeaderSize <= entry.length && count < kMaxPostings; ++count) {
        int32_t next = at + kPostingHeaderSize + dataLength(base + at);
        if (next > entry.length)
            break;
        at = next;
    }
    out.resize(count);
    for (size_t i = 0, at = 0; i < count; ++i) {
        const uint8_t* p = base + at;
        QueryPosting& posting = out[i];
        posting.mediaId = static_cast<int32_t>(
            static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (static_cast<uint32_t>(p[3]) << 24));
        posting.reserved
            = static_cast<uint16_t>(p[kPostingReservedOffset] | (p[kPostingReservedOffset + 1] << 8));
        posting.granule
            = static_cast<uint16_t>(p[kPostingGranuleOffset] | (p[kPostingGranuleOffset + 1] << 8));
        posting.dataLength = dataLength(p);
        posting.data = p + kPostingHeaderSize;
        posting.text = text;
        at += kPostingHeaderSize + posting.dataLength;
    }
}

bool QueryEvaluator::WordWithGranule(QueryPostings& out)
{
    if (!IsWordToken(m_scanner.Next()))
        return false;
    WordPostings(m_scanner.Text(), out);
    if (m_scanner.Next() != TokenKind::Operator || m_scanner.Code() != query::kColon) {
        m_scanner.Rewind();
        return true;
    }
    TokenKind kind = m_scanner.Next();
    if (!IsWordToken(kind) && kind != TokenKind::Keyword)
        return false;
    int32_t granule = m_index.GranuleId(m_scanner.Text());
    std::erase_if(out, [&](const QueryPosting& p) { return granule < 0 || p.granule != granule; });
    return true;
}

bool QueryEvaluator::CountTerm(int32_t keyword, QueryPostings& out)
{
    int64_t n = 0;
    if (!ReadInteger(n) || !WordWithGranule(out))
        return false;
    std::unordered_map<int32_t, int64_t> counts;
    for (const QueryPosting& p : out)
        counts[p.mediaId] += Occurrences(p);
    std::erase_if(out, [&](const QueryPosting& p) {
        int64_t count = counts[p.mediaId];
        if (keyword == query::kExactly)
            return count != n;
        if (keyword == query::kMoreThan)
            return count <= n;
        return count >= n;
    });
    return true;
}

bool QueryEvaluator::FieldTerm(QueryPostings& out)
{
    if (!ExpectOperator(query::kOpen))
        return false;
    TokenKind kind = m_scanner.Next();
    if (!IsWordToken(kind) && kind != TokenKind::Keyword)
        return false;
    std::string fieldName = m_scanner.Text();
    if (m_scanner.Next() != TokenKind::Operator)
        return false;
    int32_t op = m_scanner.Code();
    if (op < query::kFirstComparison || op > query::kLastComparison)
        return false;
    kind = m_scanner.Next();
    if (!IsWordToken(kind) && kind != TokenKind::Keyword)
        return false;
    std::string given = m_scanner.Text();
    if (!ExpectOperator(query::kClose))
        return false;

    int32_t fieldId = m_index.FieldId(fieldName);
    if (fieldId < 0)
        return true;
    auto table = m_index.FieldValues(fieldId);
    m_pinned.push_back(table);
    double givenNumber = QueryValueAsNumber(given);
    const auto* bytes = reinterpret_cast<const char*>(table->Data());
    ValueOutcomes outcomes;
    FullTextFieldValue value;
    FullTextIndex::ForEachFieldEntry(*table, [&](int32_t mediaId, int32_t kindOffset, int32_t size) {
        uint32_t& outcome
            = outcomes.Find(std::string_view(bytes + kindOffset, static_cast<size_t>(size) + 1));
        if (outcome == ValueOutcomes::kUnknown) {
            value.Read(*table, kindOffset + 1, table->Data()[kindOffset]);
            int order = 0;
            if (value.kind == kFieldString) {
                order = CompareFolded(value.text, given);
            } else {
                double stored = value.AsNumber();
                order = stored < givenNumber ? -1 : (stored > givenNumber ? 1 : 0);
            }
            outcome = ValueOutcomes::kRejected;
            if (Holds(op, order)) {
                outcome = static_cast<uint32_t>(m_texts.size());
                m_texts.push_back(fieldName + " = " + value.Format());
            }
        }
        if (outcome != ValueOutcomes::kRejected) {
            QueryPosting posting;
            posting.mediaId = mediaId;
            posting.text = outcome;
            out.push_back(posting);
        }
        return out.size() < kMaxPostings;
    });
    return true;
}

bool QueryEvaluator::GranuleTerm(QueryPostings& out)
{
    if (!ExpectOperator(query::kOpen) || !IsWordToken(m_scanner.Next()))
        return false;
    WordPostings(m_scanner.Text(), out);
    QueryPostings other;
    for (;;) {
        TokenKind kind = m_scanner.Next();
        if (kind != TokenKind::Operator)
            return false;
        if (m_scanner.Code() == query::kClose)
            return true;
        if (m_scanner.Code() != query::kComma || !IsWordToken(m_scanner.Next()))
            return false;
        WordPostings(m_scanner.Text(), other);
        std::unordered_set<uint64_t> places;
        for (const QueryPosting& p : other)
            places.insert((static_cast<uint64_t>(static_cast<uint32_t>(p.mediaId)) << 16) | p.granule);
        std::erase_if(out, [&](const QueryPosting& p) {
            return !places.count((static_cast<uint64_t>(static_cast<uint32_t>(p.mediaId)) << 16) | p.granule);
        });
    }
}

bool QueryEvaluator::ProximityTerm(QueryPostings& out)
{
    int64_t nth = 0;
    int64_t distance = 0;
    if (!ExpectOperator(query::kOpen) || !ReadInteger(nth) || !ExpectOperator(query::kComma)
        || !ReadInteger(distance) || !ExpectOperator(query::kComma) || !IsWordToken(m_scanner.Next()))
        return false;
    WordPostings(m_scanner.Text(), out);
    std::vector<NearWord> others;
    QueryPostings other;
    for (;;) {
        TokenKind kind = m_scanner.Next();
        if (kind != TokenKind::Operator)
            return false;
        if (m_scanner.Code() == query::kClose)
            break;
        if (m_scanner.Code() != query::kComma || !IsWordToken(m_scanner.Next()))
            return false;
        WordPostings(m_scanner.Text(), other);
        others.emplace_back(std::move(other));
        other = QueryPostings();
    }
    if (distance < 0) {
        out.clear();
        return true;
    }
    // A posting stays when its chosen occurrence (the N-th it lists, from 1; any one for N of 0
    // or less) has every further word within the distance.
    auto near = [&](uint32_t at) {
        return std::all_of(
            others.begin(), others.end(), [&](const NearWord& w) { return w.Near(at, distance); });
    };
    std::vector<uint32_t> positions;
    std::erase_if(out, [&](const QueryPosting& p) {
        for (NearWord& word : others)
            if (!word.Seek(p.mediaId))
                return true;
        Positions(p, positions);
        if (nth >= 1)
            return nth > static_cast<int64_t>(positions.size()) || !near(positions[nth - 1]);
        return std::none_of(positions.begin(), positions.end(), near);
    });
    return true;
}

} // namespace tamber
