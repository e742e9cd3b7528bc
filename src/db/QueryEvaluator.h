#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Scanner.h"
#include "db/FullTextIndex.h"

namespace tamber {

// A posting while a search is evaluated: its bytes stay in the leaf record they came from.
struct QueryPosting {
    int32_t mediaId = 0;
    uint16_t reserved = 0;
    uint16_t granule = 0;
    uint16_t dataLength = 0;
    uint32_t text = 0; // index into the evaluation's texts
    const uint8_t* data = nullptr;
};
using QueryPostings = std::vector<QueryPosting>;

// Parses one expression from a scanner and evaluates it to postings as it goes. Any token that
// does not fit the grammar makes Evaluate answer false.
class QueryEvaluator {
public:
    QueryEvaluator(Scanner& scanner, FullTextIndex& index)
        : m_scanner(scanner)
        , m_index(index)
    {
    }

    // Evaluates the whole input, which must end after the expression.
    bool Evaluate(QueryPostings& result);
    const std::string& Text(uint32_t index) const { return m_texts[index]; }
    size_t TextCount() const { return m_texts.size(); }

    // The connectives, exposed for tests. "and" keeps the media both sides have, each as the
    // right side's postings of it followed by the left side's; "but not" keeps the left side's
    // postings of media the right side lacks; "or" appends.
    static QueryPostings And(const QueryPostings& left, const QueryPostings& right);
    static QueryPostings ButNot(const QueryPostings& left, const QueryPostings& right);
    static void Or(QueryPostings& left, const QueryPostings& right);

    // Word positions listed in a posting's occurrence data, in the order stored.
    static void Positions(const QueryPosting& posting, std::vector<uint32_t>& out);
    // How many occurrences a posting stands for: its positions, or 1 when it lists none.
    static int64_t Occurrences(const QueryPosting& posting);

    // No result grows past this many postings; a hostile expression cannot exhaust memory.
    static constexpr size_t kMaxPostings = size_t { 1 } << 22;

private:
    bool Expression(QueryPostings& out, int depth);
    bool Term(QueryPostings& out, int depth);
    bool WordTerm(QueryPostings& out);
    bool CountTerm(int32_t keyword, QueryPostings& out);
    bool FieldTerm(QueryPostings& out);
    bool GranuleTerm(QueryPostings& out);
    bool ProximityTerm(QueryPostings& out);
    // The postings of a word, restricted to a granule when ":" and a granule name follow.
    bool WordWithGranule(QueryPostings& out);
    void WordPostings(const std::string& word, QueryPostings& out);
    bool ExpectOperator(int32_t code);
    bool IsWordToken(TokenKind kind) const;
    bool ReadInteger(int64_t& value);

    Scanner& m_scanner;
    FullTextIndex& m_index;
    std::vector<std::string> m_texts;
    std::vector<std::shared_ptr<const MemoryBlock>> m_pinned;
};

} // namespace tamber
