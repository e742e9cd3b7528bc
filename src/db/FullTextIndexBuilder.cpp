#include "db/FullTextIndexBuilder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <numeric>
#include <unordered_set>

#include "db/FullTextFormat.h"

namespace tamber {

using namespace fulltext;

namespace {

// Letters and digits of the Windows Latin-1 code page: ASCII letters and digits, the accented
// letters from 0xC0 (but the multiplication and division signs) and the few letters below.
constexpr std::array<bool, 256> MakeWordBytes()
{
    std::array<bool, 256> table{};
    for (int c = '0'; c <= '9'; ++c)
        table[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = table[c + 32] = true;
    for (int c = 0xC0; c <= 0xFF; ++c)
        table[c] = c != 0xD7 && c != 0xF7;
    for (int c : {0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB5, 0xBA})
        table[c] = true;
    return table;
}
constexpr std::array<bool, 256> kWordBytes = MakeWordBytes();

constexpr std::array<uint8_t, 256> MakeLowerAscii()
{
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return table;
}
constexpr std::array<uint8_t, 256> kLowerAscii = MakeLowerAscii();

constexpr uint64_t kHashBasis = 14695981039346656037ull;
constexpr uint64_t kHashPrime = 1099511628211ull;

void PutU16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

uint32_t GetU16(const uint8_t* at)
{
    return at[0] | (at[1] << 8);
}

void AppendNameIdTable(MemoryBlock& block, const std::vector<std::string>& names, uint32_t firstId)
{
    for (size_t i = 0; i < names.size(); ++i) {
        block.AppendPString(names[i]);
        block.AppendInt(static_cast<int32_t>(firstId + i), kNameIdSize);
    }
}

std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// The store's ids of a record name that the new index no longer uses are deleted.
void DeleteStale(FullTextStore& store, std::string_view name, const std::unordered_set<uint32_t>& keep)
{
    for (uint32_t id : store.RecordIds(name))
        if (!keep.count(id))
            store.DeleteRecord(name, id);
}

}  // namespace

bool FullTextIndexBuilder::IsWordByte(uint8_t c)
{
    return kWordBytes[c];
}

void FullTextIndexBuilder::SplitWords(std::string_view text, uint32_t first,
    const std::function<void(std::string_view word, uint32_t position)>& word)
{
    std::string lower;
    uint32_t position = first;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !kWordBytes[static_cast<uint8_t>(text[i])])
            ++i;
        size_t start = i;
        while (i < text.size() && kWordBytes[static_cast<uint8_t>(text[i])])
            ++i;
        if (i == start)
            break;
        lower.assign(text.substr(start, std::min<size_t>(i - start, kMaxKeyLength)));
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        word(lower, position++);
    }
}

uint32_t FullTextIndexBuilder::WordId(std::string_view word, uint32_t h)
{
    // At most half full, so probe runs stay short.
    if ((m_words.size() + 1) * 2 > m_slots.size()) {
        std::vector<WordSlot> slots(std::max<size_t>(4096, m_slots.size() * 2));
        size_t mask = slots.size() - 1;
        for (const WordSlot& slot : m_slots) {
            if (!slot.idPlusOne)
                continue;
            size_t i = slot.hash & mask;
            while (slots[i].idPlusOne)
                i = (i + 1) & mask;
            slots[i] = slot;
        }
        m_slots.swap(slots);
    }
    uint64_t prefix = 0;
    std::memcpy(&prefix, word.data(), std::min(word.size(), kPrefixSize));
    const bool shortWord = word.size() <= kPrefixSize;
    const size_t mask = m_slots.size() - 1;
    size_t i = h & mask;
    while (const uint32_t idPlusOne = m_slots[i].idPlusOne) {
        const WordSlot& slot = m_slots[i];
        if (slot.hash == h && slot.prefix == prefix && (shortWord || m_words[idPlusOne - 1] == word))
            return idPlusOne - 1;
        i = (i + 1) & mask;
    }
    auto id = static_cast<uint32_t>(m_words.size());
    m_words.emplace_back(word);
    m_postings.emplace_back();
    m_slots[i] = WordSlot{prefix, h, id + 1};
    return id;
}

// Stores the open posting's data length in its header.
void FullTextIndexBuilder::ClosePosting(WordPostings& w)
{
    if (w.open)
        PutU16(w.bytes.data.get() + w.header + kPostingDataLengthOffset, w.openLength);
}

void FullTextIndexBuilder::AddWords(std::string_view text, int32_t mediaId, uint16_t granule, uint32_t firstPosition)
{
    m_stats.textBytes += static_cast<int64_t>(text.size());
    uint32_t position = firstPosition;
    size_t i = 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const size_t end = text.size();
    char lower[kMaxKeyLength];
    while (i < end) {
        while (i < end && !kWordBytes[bytes[i]])
            ++i;
        if (i == end)
            break;
        // Lower-case and hash (FNV-1a) in the same pass; a long word is cut to the key length.
        size_t n = 0;
        uint64_t h = kHashBasis;
        for (; i < end && kWordBytes[bytes[i]]; ++i) {
            if (n == kMaxKeyLength)
                continue;
            uint8_t c = kLowerAscii[bytes[i]];
            lower[n++] = static_cast<char>(c);
            h = (h ^ c) * kHashPrime;
        }
        WordPostings& w = m_postings[WordId(std::string_view(lower, n), static_cast<uint32_t>(h ^ (h >> 32)))];
        ++m_stats.occurrences;
        ++m_mediaWords;
        // One posting per word, medium and granule; a full one is followed by another.
        bool sameMedium = w.open && w.lastMedia == mediaId;
        if (!sameMedium || w.lastGranule != granule || w.openLength + kPositionItemSize > kMaxPostingData) {
            if (!sameMedium)
                ++m_mediaDistinct;
            if (w.open && mediaId < w.lastMedia)
                w.sorted = false;
            ClosePosting(w);
            auto media = static_cast<uint32_t>(mediaId);
            w.header = static_cast<uint32_t>(w.bytes.size);
            uint8_t* head = w.bytes.Extend(kPostingHeaderSize);
            std::memset(head, 0, kPostingHeaderSize);
            for (int b = 0; b < 4; ++b)
                head[kPostingMediaOffset + b] = static_cast<uint8_t>(media >> (8 * b));
            PutU16(head + kPostingGranuleOffset, granule);
            w.lastMedia = mediaId;
            w.lastGranule = granule;
            w.openLength = 0;
            w.open = true;
        }
        uint8_t* item = w.bytes.Extend(kPositionItemSize);
        item[0] = kPositionItem;
        for (int b = 0; b < 4; ++b)
            item[1 + b] = static_cast<uint8_t>(position >> (8 * b));
        w.openLength = static_cast<uint16_t>(w.openLength + kPositionItemSize);
        ++position;
    }
}

void FullTextIndexBuilder::ByteRun::Reserve(size_t needed)
{
    size_t grown = std::max<size_t>({needed, capacity * 2, 32});
    auto bigger = std::make_unique_for_overwrite<uint8_t[]>(grown);
    if (size > 0)
        std::memcpy(bigger.get(), data.get(), size);
    data = std::move(bigger);
    capacity = grown;
}

void FullTextIndexBuilder::SortPostings(ByteRun& run)
{
    const uint8_t* bytes = run.data.get();
    // Stable by media id, so each medium keeps its granules and positions in order.
    struct Span {
        int32_t media;
        size_t offset;
        size_t length;
    };
    std::vector<Span> spans;
    for (size_t at = 0; at + kPostingHeaderSize <= run.size;) {
        size_t length = kPostingHeaderSize + GetU16(bytes + at + kPostingDataLengthOffset);
        auto media = static_cast<int32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
            (static_cast<uint32_t>(bytes[at + 3]) << 24));
        spans.push_back({media, at, length});
        at += length;
    }
    std::stable_sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.media < b.media; });
    ByteRun sorted;
    sorted.Reserve(run.size);
    for (const Span& s : spans)
        std::memcpy(sorted.Extend(s.length), bytes + s.offset, s.length);
    run = std::move(sorted);
}

void FullTextIndexBuilder::Write(const MemoryBlock& block, std::string_view name, uint32_t id)
{
    m_stats.indexBytes += block.Size();
    if (!m_store->WriteRecord(block, name, id))
        m_ok = 0;
}

void FullTextIndexBuilder::AddField(uint32_t fieldId, int32_t mediaId, const FullTextFieldValue& value, MemoryBlock& own)
{
    size_t f = fieldId - kTitleFieldId;
    MemoryBlock& table = m_fieldTables[f];
    table.AppendInt(mediaId, 4);
    table.AppendInt(0, 2);
    table.AppendInt(value.kind, 1);
    value.Append(table);
    ++m_fieldCounts[f];
    own.AppendInt(static_cast<int32_t>(fieldId), 4);
    own.AppendInt(0, 2);
    own.AppendInt(value.kind, 1);
    value.Append(own);
}

void FullTextIndexBuilder::AddDocument(const FullTextDocument& doc)
{
    ++m_stats.media;
    m_mediaWords = 0;
    m_mediaDistinct = 0;
    AddWords(doc.name, doc.mediaId, kTitleGranule, kTitlePositionBase);
    AddWords(doc.text, doc.mediaId, kBodyGranule, 0);

    auto [typeIt, newType] = m_typeIds.try_emplace(UpperAscii(doc.type), static_cast<uint32_t>(m_typeNames.size() + 1));
    if (newType)
        m_typeNames.push_back(doc.type);

    MemoryBlock own;
    AddField(kTitleFieldId, doc.mediaId, FullTextFieldValue::String(doc.name), own);
    AddField(kTypeFieldId, doc.mediaId, FullTextFieldValue::String(doc.type), own);
    int32_t ownCount = 2;
    for (const auto& [name, value] : doc.fields) {
        if (name.empty())
            continue;
        auto [it, added] = m_fieldIds.try_emplace(UpperAscii(name), static_cast<uint32_t>(m_fieldNames.size() + 1));
        if (added) {
            m_fieldNames.push_back(name);
            m_fieldTables.emplace_back();
            m_fieldCounts.push_back(0);
        }
        AddField(it->second, doc.mediaId, value, own);
        ++ownCount;
    }

    auto id = static_cast<uint32_t>(doc.mediaId);
    MemoryBlock record;
    if (m_mediaWords > 0) {
        record.AppendInt(m_mediaDistinct, 4);
        record.AppendInt(m_mediaWords, 4);
        record.AppendInt(static_cast<int32_t>(typeIt->second), 4);
    } else {
        record.AppendInt(0, 1);
    }
    Write(record, kMediaIndexRecord, id);
    own.InsertInt(0, ownCount, 4);
    Write(own, kMediaFieldRecord, id);
    record.Clear();
    record.AppendInt(0, 1);
    Write(record, kMediaNotesRecord, id);
}

int32_t FullTextIndexBuilder::Build(FullTextDocuments& documents, FullTextStore& store, const Progress& progress)
{
    m_stats = Stats{};
    m_slots.clear();
    m_words.clear();
    m_postings.clear();
    m_store = &store;
    m_ok = 1;
    m_fieldNames = {"Title", "Type"};
    m_fieldIds = {{"TITLE", kTitleFieldId}, {"TYPE", kTypeFieldId}};
    m_fieldTables.assign(2, MemoryBlock());
    m_fieldCounts.assign(2, 0);
    m_typeNames.clear();
    m_typeIds.clear();

    store.BeginBatch();
    // Until the keys are written again, the index reads as not built.
    store.DeleteRecord(kBuildRecord, kBuildKeysId);

    std::unordered_set<uint32_t> media;
    int32_t total = documents.Count();
    FullTextDocument doc;
    for (int32_t index = 0; index < total; ++index) {
        // A medium that cannot be read, or that was seen before, is left out.
        if (documents.Read(index, doc) && media.insert(static_cast<uint32_t>(doc.mediaId)).second)
            AddDocument(doc);
        if (progress)
            progress(index + 1, total);
    }

    // Words in ascending order, cut into leaves.
    std::vector<uint32_t> order(m_words.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return m_words[a] < m_words[b]; });
    m_stats.words = static_cast<int32_t>(order.size());

    MemoryBlock keys;
    MemoryBlock wordList;
    MemoryBlock leaf;
    int32_t leafCount = 0;
    auto flushLeaf = [&]() {
        if (leaf.Empty())
            return;
        Write(leaf, kLeafRecord, kFirstLeafId + static_cast<uint32_t>(leafCount));
        ++leafCount;
        leaf.Clear();
    };
    std::vector<uint8_t> buffer;
    for (uint32_t w : order) {
        const std::string& word = m_words[w];
        WordPostings& postings = m_postings[w];
        ClosePosting(postings);
        if (!postings.sorted)
            SortPostings(postings.bytes);
        if (leaf.Size() >= kLeafTargetBytes)
            flushLeaf();
        if (leaf.Empty()) {
            leaf.AppendString(word, Nul::Include);
            keys.AppendString(word, Nul::Include);
        }
        int64_t entryLength = kEntrySpareSize + static_cast<int64_t>(word.size()) + 1 +
            static_cast<int64_t>(postings.bytes.size);
        buffer.resize(kEntryLengthSize + static_cast<size_t>(entryLength));
        uint8_t* p = buffer.data();
        for (int b = 0; b < 4; ++b)
            p[b] = static_cast<uint8_t>(static_cast<uint32_t>(entryLength) >> (8 * b));
        p[kEntryLengthSize] = 0;
        std::copy(word.begin(), word.end(), p + kEntryWordOffset);
        p[kEntryWordOffset + word.size()] = 0;
        if (postings.bytes.size > 0)
            std::memcpy(p + kEntryWordOffset + word.size() + 1, postings.bytes.data.get(), postings.bytes.size);
        if (leaf.Append(buffer.data(), static_cast<int32_t>(buffer.size())) == 0)
            m_ok = 0;
        postings.bytes.Release();
        wordList.AppendString(word, Nul::Include);
    }
    flushLeaf();
    m_stats.leaves = leafCount;
    wordList.AppendString("", Nul::Include);

    std::unordered_set<uint32_t> leafIds;
    for (int32_t i = 0; i < leafCount; ++i)
        leafIds.insert(kFirstLeafId + static_cast<uint32_t>(i));
    DeleteStale(store, kLeafRecord, leafIds);

    std::unordered_set<uint32_t> fieldIdSet;
    for (size_t f = 0; f < m_fieldTables.size(); ++f) {
        m_fieldTables[f].InsertInt(0, m_fieldCounts[f], kHashCountSize);
        Write(m_fieldTables[f], kHashRecord, kTitleFieldId + static_cast<uint32_t>(f));
        fieldIdSet.insert(kTitleFieldId + static_cast<uint32_t>(f));
    }
    DeleteStale(store, kHashRecord, fieldIdSet);
    DeleteStale(store, kMediaIndexRecord, media);
    DeleteStale(store, kMediaFieldRecord, media);
    DeleteStale(store, kMediaNotesRecord, media);

    MemoryBlock record;
    AppendNameIdTable(record, m_fieldNames, kTitleFieldId);
    Write(record, kFieldIdRecord, kTableId);
    record.Clear();
    AppendNameIdTable(record, {"Title", "Body"}, kTitleGranule);
    Write(record, kGranuleIdRecord, kTableId);
    record.Clear();
    AppendNameIdTable(record, m_typeNames, 1);
    Write(record, kTypeIdRecord, kTableId);
    Write(wordList, kBuildRecord, kBuildWordsId);

    keys.InsertInt(0, leafCount, kKeyCountSize);
    Write(keys, kBuildRecord, kBuildKeysId);
    store.EndBatch();

    m_slots.clear();
    m_words.clear();
    m_postings.clear();
    m_fieldTables.clear();
    m_store = nullptr;
    return m_ok;
}

}  // namespace tamber
