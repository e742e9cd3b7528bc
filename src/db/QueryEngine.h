#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"
#include "base/Scanner.h"
#include "db/FullTextIndex.h"

namespace tamber {

// One row of the result table: a medium found, with how many of its postings matched words
// and how many matched fields.
struct QueryHit {
    int32_t mediaId = 0;
    int32_t wordPostings = 0;
    int32_t fieldPostings = 0;
};

// Runs search expressions against a full-text index. Terms evaluate to postings; "and", "or"
// and "but not" combine them strictly from left to right. The postings of the last successful
// search are kept, and a later search only finds media among them until they are forgotten.
class QueryEngine {
public:
    explicit QueryEngine(FullTextIndex& index);

    // Answers the number of postings found, -1 (query::kSyntaxError) for a syntax error, or -2
    // (query::kNotBuilt) when the database has no index.
    int32_t RunQuery(std::string_view expression);

    int32_t HitCount() const { return static_cast<int32_t>(m_hits.size()); }
    // Answers 1 and fills hit for index (from 0), 0 when out of range.
    int32_t Hit(int32_t index, QueryHit& hit) const;
    // The postings of the last successful search: a count, then per posting its text
    // (length-prefixed), media id, reserved, granule, data length and data.
    const MemoryBlock& PreviousPostings() const { return m_previous; }
    // Empties the previous postings and the result table, so the next search covers all media.
    void ForgetPreviousResults();

    // The message shown for a failed search (-1 or -2), or nullptr for a count.
    static const char* MessageFor(int32_t result);

private:
    FullTextIndex& m_index;
    Scanner m_scanner;
    MemoryBlock m_previous;
    std::vector<int32_t> m_previousMedia;  // the media of the previous postings, ascending
    std::vector<QueryHit> m_hits;
};

}  // namespace tamber
