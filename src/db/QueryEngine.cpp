#include "db/QueryEngine.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "db/FullTextFormat.h"
#include "db/QueryEvaluator.h"
#include "db/QueryTables.h"

namespace tamber {

using namespace fulltext;

namespace {

// A postings block never grows past this; what would not fit is left out.
constexpr int64_t kMaxPostingsBlock = int64_t { 1 } << 28;
constexpr std::string_view kFieldMarker = " = ";

} // namespace

QueryEngine::QueryEngine(FullTextIndex& index)
    : m_index(index)
{
    m_scanner.AddKeywords(query::kBaseKeywords);
    m_scanner.AddKeywords(query::kIndexKeywords);
    m_scanner.AddOperators(query::kBaseOperators);
    m_scanner.AddOperators(query::kIndexOperators);
    m_scanner.SetLineBreaksAreSpace(LineBreaks::AreSpace);
}

const char* QueryEngine::MessageFor(int32_t result)
{
    if (result == query::kSyntaxError)
        return query::kSyntaxErrorMessage;
    if (result == query::kNotBuilt)
        return query::kNotBuiltMessage;
    return nullptr;
}

void QueryEngine::ForgetPreviousResults()
{
    m_previous.Clear();
    m_previousMedia.clear();
    m_hits.clear();
}

int32_t QueryEngine::Hit(int32_t index, QueryHit& hit) const
{
    if (index < 0 || index >= HitCount())
        return 0;
    hit = m_hits[static_cast<size_t>(index)];
    return 1;
}

int32_t QueryEngine::RunQuery(std::string_view expression)
{
    if (!m_index.IsBuilt())
        return query::kNotBuilt;
    m_scanner.SetSource(expression);
    QueryEvaluator evaluator(m_scanner, m_index);
    QueryPostings postings;
    if (!evaluator.Evaluate(postings))
        return query::kSyntaxError;

    if (!m_previousMedia.empty())
        std::erase_if(postings, [&](const QueryPosting& p) {
            return !std::binary_search(m_previousMedia.begin(), m_previousMedia.end(), p.mediaId);
        });

    // The result becomes the previous postings, as a block that owns its bytes.
    int64_t bytes = kPostingsCountSize;
    size_t kept = 0;
    for (; kept < postings.size(); ++kept) {
        const QueryPosting& p = postings[kept];
        size_t textLength = std::min<size_t>(evaluator.Text(p.text).size(), MemoryBlock::kMaxPStringLength);
        int64_t size = 2 + static_cast<int64_t>(textLength) + kPostingHeaderSize + p.dataLength;
        if (bytes + size > kMaxPostingsBlock)
            break;
        bytes += size;
    }
    postings.resize(kept);
    MemoryBlock block;
    if (!block.Resize(static_cast<int32_t>(bytes)))
        return 0;
    block.WriteInt(0, static_cast<int32_t>(kept), kPostingsCountSize);
    uint8_t* out = block.Data(kPostingsCountSize);
    m_previousMedia.clear();
    m_hits.clear();
    std::unordered_map<int32_t, size_t> rows;
    bool ascending = true;
    // Whether each text names a field value (holds the marker), worked out once per text.
    std::vector<int8_t> fieldText(evaluator.TextCount(), -1);
    for (const QueryPosting& p : postings) {
        const std::string& text = evaluator.Text(p.text);
        auto textLength = static_cast<uint8_t>(std::min<size_t>(text.size(), MemoryBlock::kMaxPStringLength));
        *out++ = static_cast<uint8_t>(textLength + 1);
        std::memcpy(out, text.data(), textLength);
        out += textLength;
        *out++ = 0;
        auto media = static_cast<uint32_t>(p.mediaId);
        out[0] = static_cast<uint8_t>(media);
        out[1] = static_cast<uint8_t>(media >> 8);
        out[2] = static_cast<uint8_t>(media >> 16);
        out[3] = static_cast<uint8_t>(media >> 24);
        out[kPostingReservedOffset] = static_cast<uint8_t>(p.reserved);
        out[kPostingReservedOffset + 1] = static_cast<uint8_t>(p.reserved >> 8);
        out[kPostingGranuleOffset] = static_cast<uint8_t>(p.granule);
        out[kPostingGranuleOffset + 1] = static_cast<uint8_t>(p.granule >> 8);
        out[kPostingDataLengthOffset] = static_cast<uint8_t>(p.dataLength);
        out[kPostingDataLengthOffset + 1] = static_cast<uint8_t>(p.dataLength >> 8);
        out += kPostingHeaderSize;
        if (p.dataLength)
            std::memcpy(out, p.data, p.dataLength);
        out += p.dataLength;

        // Postings usually come in ascending media order, one run per medium: then a new medium
        // needs no lookup. The map is only filled once the order breaks.
        size_t row = 0;
        if (!m_hits.empty() && m_hits.back().mediaId == p.mediaId) {
            row = m_hits.size() - 1;
        } else if (ascending && (m_hits.empty() || p.mediaId > m_hits.back().mediaId)) {
            row = m_hits.size();
            m_hits.push_back({ p.mediaId, 0, 0 });
            m_previousMedia.push_back(p.mediaId);
        } else {
            if (ascending) {
                ascending = false;
                for (size_t r = 0; r < m_hits.size(); ++r)
                    rows.emplace(m_hits[r].mediaId, r);
            }
            auto [it, inserted] = rows.try_emplace(p.mediaId, m_hits.size());
            if (inserted) {
                m_hits.push_back({ p.mediaId, 0, 0 });
                m_previousMedia.push_back(p.mediaId);
            }
            row = it->second;
        }
        int8_t& isField = fieldText[p.text];
        if (isField < 0)
            isField = text.find(kFieldMarker) != std::string::npos;
        if (isField)
            ++m_hits[row].fieldPostings;
        else
            ++m_hits[row].wordPostings;
    }
    if (!ascending)
        std::sort(m_previousMedia.begin(), m_previousMedia.end());
    m_previous = std::move(block);
    return static_cast<int32_t>(kept);
}

} // namespace tamber
