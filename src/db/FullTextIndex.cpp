#include "db/FullTextIndex.h"

#include <algorithm>
#include <cstring>

#include "db/FullTextFormat.h"
#include "base/AsciiCase.h"

namespace tamber {

using namespace fulltext;

namespace {

// Length of the NUL-terminated string at p within n bytes, or -1 when there is no NUL.
int32_t TerminatedLength(const uint8_t* p, int32_t n)
{
    if (n <= 0)
        return -1;
    const void* nul = std::memchr(p, 0, static_cast<size_t>(n));
    return nul ? static_cast<int32_t>(static_cast<const uint8_t*>(nul) - p) : -1;
}

}  // namespace

int32_t FullTextIndex::IsBuilt()
{
    if (!m_store.RecordExists(kBuildRecord, kBuildKeysId))
        return 0;
    if (m_store.Drive() != DriveKind::CdRom && !m_store.RecordExists(kFieldIdRecord, kTableId))
        return 0;
    return 1;
}

int32_t FullTextIndex::IndexWords(std::vector<std::string>& words)
{
    MemoryBlock list;
    if (!m_store.ReadRecord(list, kBuildRecord, kBuildWordsId))
        return 0;
    const char* bytes = reinterpret_cast<const char*>(list.Data());
    const size_t size = static_cast<size_t>(list.Size());
    for (size_t offset = 0; offset < size;) {
        const void* nul = std::memchr(bytes + offset, 0, size - offset);
        if (!nul)
            break;
        size_t length = static_cast<const char*>(nul) - (bytes + offset);
        if (length == 0)
            break;
        words.emplace_back(bytes + offset, length);
        offset += length + 1;
    }
    return 1;
}

void FullTextIndex::Reset()
{
    m_keysLoaded = false;
    m_keys.clear();
    m_leafId = 0;
    m_leaf.reset();
    m_hashId = -1;
    m_hash.reset();
}

void FullTextIndex::LoadKeys()
{
    m_keysLoaded = true;
    m_keys.clear();
    MemoryBlock block;
    if (!m_store.ReadRecord(block, kBuildRecord, kBuildKeysId))
        return;
    int32_t count = block.ReadInt(0, kKeyCountSize);
    int32_t offset = kKeyCountSize;
    // Each key takes at least its NUL, so the payload bounds the count.
    if (count < 0)
        count = 0;
    m_keys.reserve(static_cast<size_t>(std::min(count, block.Size())));
    for (int32_t i = 0; i < count && offset < block.Size(); ++i) {
        int32_t n = TerminatedLength(block.Data(offset), block.Size() - offset);
        if (n < 0)
            break;
        std::string_view key(reinterpret_cast<const char*>(block.Data(offset)), n);
        m_keys.push_back(LowerAscii(key.substr(0, kMaxKeyLength)));
        offset += n + 1;
    }
}

int32_t FullTextIndex::LeafFor(std::string_view word)
{
    if (!m_keysLoaded)
        LoadKeys();
    std::string lower = LowerAscii(word);
    // The last key not above the word; keys of a damaged record may be out of order, which only
    // sends the lookup to the wrong leaf.
    auto it = std::upper_bound(m_keys.begin(), m_keys.end(), lower);
    return static_cast<int32_t>(it - m_keys.begin());
}

int32_t FullTextIndex::FindWord(std::string_view lowerWord, WordEntry& entry)
{
    entry = WordEntry{};
    int32_t leafId = LeafFor(lowerWord);
    if (leafId < static_cast<int32_t>(kFirstLeafId))
        return 0;
    if (leafId != m_leafId || !m_leaf) {
        auto leaf = std::make_shared<MemoryBlock>();
        if (!m_store.ReadRecord(*leaf, kLeafRecord, static_cast<uint32_t>(leafId)))
            leaf->Clear();
        m_leaf = std::move(leaf);
        m_leafId = leafId;
    }
    const MemoryBlock& leaf = *m_leaf;
    int32_t size = leaf.Size();
    int32_t first = TerminatedLength(leaf.Data(), size);
    if (first < 0)
        return 0;
    int32_t offset = first + 1;
    while (offset + kEntryWordOffset < size) {
        int32_t length = leaf.ReadInt(offset, kEntryLengthSize);
        int32_t end = offset + kEntryLengthSize + length;
        if (length < kEntrySpareSize + 1 || length > size - offset - kEntryLengthSize)
            return 0;
        int32_t wordStart = offset + kEntryWordOffset;
        int32_t n = TerminatedLength(leaf.Data(wordStart), end - wordStart);
        if (n < 0)
            return 0;
        std::string_view word(reinterpret_cast<const char*>(leaf.Data(wordStart)), n);
        int order = word.compare(lowerWord);
        if (order == 0) {
            entry.leaf = m_leaf;
            entry.offset = wordStart + n + 1;
            entry.length = end - entry.offset;
            return 1;
        }
        if (order > 0)
            return 0;
        offset = end;
    }
    return 0;
}

int32_t FullTextIndex::WordPostings(std::string_view word, MemoryBlock& postings)
{
    postings.Clear();
    std::string lower = LowerAscii(word);
    WordEntry entry;
    FindWord(lower, entry);
    // Size the block once: count the postings that fit, then copy them behind the word.
    int32_t count = 0;
    int64_t bytes = kPostingsCountSize;
    auto textLength = static_cast<int32_t>(std::min<size_t>(lower.size(), MemoryBlock::kMaxPStringLength));
    for (int32_t at = 0; at + kPostingHeaderSize <= entry.length;) {
        const uint8_t* p = entry.Data() + at;
        int32_t n = p[kPostingDataLengthOffset] | (p[kPostingDataLengthOffset + 1] << 8);
        if (at + kPostingHeaderSize + n > entry.length)
            break;
        ++count;
        bytes += 2 + textLength + kPostingHeaderSize + n;
        at += kPostingHeaderSize + n;
    }
    if (!postings.Resize(static_cast<int32_t>(bytes)))
        return 0;
    postings.WriteInt(0, count, kPostingsCountSize);
    int32_t out = kPostingsCountSize;
    for (int32_t i = 0, at = 0; i < count; ++i) {
        const uint8_t* p = entry.Data() + at;
        int32_t n = p[kPostingDataLengthOffset] | (p[kPostingDataLengthOffset + 1] << 8);
        out += postings.WritePString(out, std::string_view(lower).substr(0, textLength));
        postings.Write(out, p, kPostingHeaderSize + n);
        out += kPostingHeaderSize + n;
        at += kPostingHeaderSize + n;
    }
    return count;
}

int32_t FullTextIndex::LookupName(std::string_view record, std::string_view name)
{
    MemoryBlock table;
    if (!m_store.ReadRecord(table, record, kTableId))
        return -1;
    int32_t offset = 0;
    std::string entry;
    while (offset < table.Size()) {
        int32_t used = table.ReadPString(offset, entry);
        if (used < 1 || offset + used + kNameIdSize > table.Size())
            break;
        // The stored text includes its NUL.
        std::string_view text(entry.c_str());
        int32_t id = table.ReadInt(offset + used, kNameIdSize);
        if (EqualFolded(text, name))
            return id;
        offset += used + kNameIdSize;
    }
    return -1;
}

int32_t FullTextIndex::FieldId(std::string_view name)
{
    return LookupName(kFieldIdRecord, name);
}

int32_t FullTextIndex::GranuleId(std::string_view name)
{
    return LookupName(kGranuleIdRecord, name);
}

std::shared_ptr<const MemoryBlock> FullTextIndex::FieldValues(int32_t fieldId)
{
    if (m_store.Drive() == DriveKind::CdRom && m_hash && m_hashId == fieldId)
        return m_hash;
    auto table = std::make_shared<MemoryBlock>();
    if (!m_store.ReadRecord(*table, kHashRecord, static_cast<uint32_t>(fieldId)))
        table->Clear();
    if (m_store.Drive() == DriveKind::CdRom) {
        m_hash = table;
        m_hashId = fieldId;
    }
    return table;
}

int32_t FullTextIndex::MediaField(int32_t mediaId, std::string_view fieldName, std::string& value)
{
    value.clear();
    int32_t fieldId = FieldId(fieldName);
    if (fieldId < 0)
        return 0;
    auto table = FieldValues(fieldId);
    int32_t found = 0;
    ForEachFieldValue(*table, [&](int32_t id, const FullTextFieldValue& v) {
        if (id != mediaId)
            return true;
        value = v.Format();
        found = 1;
        return false;
    });
    return found;
}

}  // namespace tamber
