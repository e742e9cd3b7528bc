#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/FullTextDocuments.h"
#include "db/FullTextStore.h"

namespace tamber {

// Builds the full-text index of a set of media into a store: the word leaves and their keys,
// the index word list, the field, granule and type tables, the field value tables and the
// per-medium records. Words are runs of letters and digits, lower-cased (ASCII), cut to 127
// characters. Each medium's title words are numbered from kTitlePositionBase and its text's
// words from 0; one posting per word, medium and granule lists every position.
class FullTextIndexBuilder {
public:
    struct Stats {
        int32_t media = 0;
        int32_t words = 0;        // distinct words
        int64_t occurrences = 0;  // words indexed
        int32_t leaves = 0;
        int64_t textBytes = 0;    // bytes of text and titles read
        int64_t indexBytes = 0;   // bytes of records written
    };
    // Called after each medium with the number done and the total.
    using Progress = std::function<void(int32_t done, int32_t total)>;

    // Leaves are cut when they reach this many bytes (a word's entry is never split).
    static constexpr int32_t kLeafTargetBytes = 32 * 1024;

    // Answers 1 when every record was written, 0 otherwise.
    int32_t Build(FullTextDocuments& documents, FullTextStore& store, const Progress& progress = {});
    const Stats& LastStats() const { return m_stats; }

    // Calls word(text, position) for each word of text, positions counting from first.
    static void SplitWords(std::string_view text, uint32_t first,
        const std::function<void(std::string_view word, uint32_t position)>& word);
    static bool IsWordByte(uint8_t c);

private:
    // A growable run of bytes whose append is a few instructions (postings grow five bytes at a
    // time, millions of times).
    struct ByteRun {
        std::unique_ptr<uint8_t[]> data;
        size_t size = 0;
        size_t capacity = 0;

        uint8_t* Extend(size_t n)
        {
            if (size + n > capacity)
                Reserve(size + n);
            uint8_t* at = data.get() + size;
            size += n;
            return at;
        }
        void Reserve(size_t needed);
        void Release()
        {
            data.reset();
            size = capacity = 0;
        }
    };

    struct WordPostings {
        ByteRun bytes;               // postings as stored in the leaf
        int32_t lastMedia = 0;
        uint32_t header = 0;         // offset of the open posting's header
        uint16_t lastGranule = 0;
        uint16_t openLength = 0;     // data bytes of the open posting, stored when it closes
        bool open = false;           // a posting for lastMedia/lastGranule is being filled
        bool sorted = true;          // media ids ascending so far
    };

    void AddDocument(const FullTextDocument& doc);
    void AddField(uint32_t fieldId, int32_t mediaId, const FullTextFieldValue& value, MemoryBlock& own);
    void Write(const MemoryBlock& block, std::string_view name, uint32_t id);
    void AddWords(std::string_view text, int32_t mediaId, uint16_t granule, uint32_t firstPosition);
    // The id of a lower-cased word with its hash, added when new.
    uint32_t WordId(std::string_view word, uint32_t hash);
    static void ClosePosting(WordPostings& w);
    static void SortPostings(ByteRun& bytes);

    Stats m_stats;
    // Open-addressing table of words. A slot keeps the word's first 8 bytes (NUL-padded) and
    // its hash beside the id, so that most probes never look at the word itself: words of at
    // most 8 bytes are equal when their prefixes are (word bytes are never NUL).
    struct WordSlot {
        uint64_t prefix = 0;
        uint32_t hash = 0;
        uint32_t idPlusOne = 0;  // 0: empty
    };
    static constexpr size_t kPrefixSize = sizeof(uint64_t);
    std::vector<WordSlot> m_slots;
    std::vector<std::string> m_words;
    std::vector<WordPostings> m_postings;
    int32_t m_mediaWords = 0;
    int32_t m_mediaDistinct = 0;

    // State of one build.
    FullTextStore* m_store = nullptr;
    int32_t m_ok = 1;
    std::vector<std::string> m_fieldNames;
    std::unordered_map<std::string, uint32_t> m_fieldIds;  // upper-case name -> id
    std::vector<MemoryBlock> m_fieldTables;                // "MMHash" payloads without the count
    std::vector<int32_t> m_fieldCounts;
    std::vector<std::string> m_typeNames;
    std::unordered_map<std::string, uint32_t> m_typeIds;
};

}  // namespace tamber
