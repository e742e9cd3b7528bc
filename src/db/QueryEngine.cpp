#include "db/QueryEngine.h"

#include <algorithm>
#include <unordered_map>

#include "db/FullTextFormat.h"
#include "db/QueryEvaluator.h"
#include "db/QueryTables.h"

namespace tamber {

using namespace fulltext;

namespace {

// A postings block never grows past this; what would not fit is left out.
constexpr int64_t kMaxPostingsBlock = int64_t{1} << 28;
constexpr std::string_view kFieldMarker = " = ";

}  // namespace

QueryEngine::QueryEngine(FullTextIndex& index) : m_index(index)
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
        std::erase_if(postings, [&](const QueryPosting& p) { return !m_previousMedia.count(p.mediaId); });

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
    int32_t out = kPostingsCountSize;
    m_previousMedia.clear();
    m_hits.clear();
    std::unordered_map<int32_t, size_t> rows;
    for (const QueryPosting& p : postings) {
        const std::string& text = evaluator.Text(p.text);
        out += block.WritePString(out, text);
        uint8_t* h = block.Data(out);
        uint32_t media = static_cast<uint32_t>(p.mediaId);
        h[0] = static_cast<uint8_t>(media);
        h[1] = static_cast<uint8_t>(media >> 8);
        h[2] = static_cast<uint8_t>(media >> 16);
        h[3] = static_cast<uint8_t>(media >> 24);
        h[kPostingReservedOffset] = static_cast<uint8_t>(p.reserved);
        h[kPostingReservedOffset + 1] = static_cast<uint8_t>(p.reserved >> 8);
        h[kPostingGranuleOffset] = static_cast<uint8_t>(p.granule);
        h[kPostingGranuleOffset + 1] = static_cast<uint8_t>(p.granule >> 8);
        h[kPostingDataLengthOffset] = static_cast<uint8_t>(p.dataLength);
        h[kPostingDataLengthOffset + 1] = static_cast<uint8_t>(p.dataLength >> 8);
        out += kPostingHeaderSize;
        if (p.dataLength)
            block.Write(out, p.data, p.dataLength);
        out += p.dataLength;

        auto [it, inserted] = rows.try_emplace(p.mediaId, m_hits.size());
        if (inserted) {
            m_hits.push_back({p.mediaId, 0, 0});
            m_previousMedia.insert(p.mediaId);
        }
        if (text.find(kFieldMarker) != std::string::npos)
            ++m_hits[it->second].fieldPostings;
        else
            ++m_hits[it->second].wordPostings;
    }
    m_previous = std::move(block);
    return static_cast<int32_t>(kept);
}

}  // namespace tamber
