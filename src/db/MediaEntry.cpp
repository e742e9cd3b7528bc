#include "db/MediaEntry.h"

#include <algorithm>

#include "db/MediaCatalogFormat.h"

namespace tamber {

using namespace catalog;

namespace {

// Reads fields of one entry without ever leaving [begin, end).
class EntryReader {
public:
    EntryReader(const MemoryBlock& block, int32_t begin, int32_t end) : m_block(block), m_pos(begin), m_end(end) { }

    bool Remaining(int64_t n) const { return n >= 0 && n <= static_cast<int64_t>(m_end) - m_pos; }
    int32_t Position() const { return m_pos; }

    bool Int(int width, int32_t& value)
    {
        if (!Remaining(width))
            return false;
        value = m_block.ReadInt(m_pos, width);
        if (width == 1)
            value &= 0xFF;
        m_pos += width;
        return true;
    }

    bool Bytes(int32_t n, std::string& out)
    {
        if (!Remaining(n))
            return false;
        out.assign(reinterpret_cast<const char*>(m_block.Data(m_pos)), static_cast<size_t>(n));
        m_pos += n;
        return true;
    }

    bool ShortString(std::string& out)
    {
        int32_t n = 0;
        return Int(1, n) && Bytes(n, out);
    }

private:
    const MemoryBlock& m_block;
    int32_t m_pos;
    int32_t m_end;
};

std::string CutAtNul(std::string text)
{
    auto nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

std::string Tag4(const std::string& tag)
{
    std::string t = tag.substr(0, kPartTagSize);
    t.resize(kPartTagSize, ' ');
    return t;
}

}  // namespace

int32_t MediaEntry::StoredLength(const MemoryBlock& catalog, int32_t position)
{
    if (position < 0 || position > catalog.Size() - kEntryHeadSize)
        return 0;
    int32_t length = catalog.ReadInt(position + kEntryLengthOffset, 4);
    if (length < kMinEntrySize || length > catalog.Size() - position)
        return 0;
    return length;
}

int32_t MediaEntry::Parse(const MemoryBlock& catalog, int32_t position, MediaEntry& out)
{
    int32_t length = StoredLength(catalog, position);
    if (length == 0)
        return 0;
    EntryReader r(catalog, position + kEntryIdOffset, position + length);
    MediaEntry e;
    int32_t value = 0;
    if (!r.Int(4, value))
        return 0;
    e.id = static_cast<uint32_t>(value);
    if (!r.ShortString(e.name) || !r.ShortString(e.type))
        return 0;
    int32_t partCount = 0;
    // Each count is checked against the bytes left, so a count that lies cannot make us
    // reserve or loop beyond the entry.
    if (!r.Int(kCountSize, partCount) || partCount < 0 || !r.Remaining(int64_t { partCount } * kPartSize))
        return 0;
    e.parts.reserve(static_cast<size_t>(partCount));
    for (int32_t i = 0; i < partCount; ++i) {
        MediaPart part;
        r.Bytes(kPartTagSize, part.tag);
        r.Int(4, value);
        part.recordId = static_cast<uint32_t>(value);
        e.parts.push_back(std::move(part));
    }
    int32_t externalCount = 0;
    if (!r.Int(kCountSize, externalCount) || externalCount < 0
        || !r.Remaining(int64_t { externalCount } * kExternalHeadSize))
        return 0;
    for (int32_t i = 0; i < externalCount; ++i) {
        ExternalRef ref;
        std::string path;
        if (!r.Bytes(kExternalTagSize, ref.tag) || !r.ShortString(path))
            return 0;
        ref.path = CutAtNul(std::move(path));
        e.externals.push_back(std::move(ref));
    }
    if (r.Int(kEncodingSize, value)) {
        e.encoding = value;
        if (r.Int(kStoredSizeSize, value)) {
            e.storedSize = value;
            if (r.Int(kCacheFlagSize, value))
                e.cacheFlag = value;
        }
    }
    out = std::move(e);
    return 1;
}

int32_t MediaEntry::EncodedSize() const
{
    int32_t size = kEntryHeadSize + 1 + static_cast<int32_t>(std::min<size_t>(name.size(), kMaxShortString)) + 1
        + static_cast<int32_t>(std::min<size_t>(type.size(), kMaxShortString)) + kCountSize
        + kPartSize * static_cast<int32_t>(parts.size()) + kCountSize;
    for (const auto& ref : externals)
        size += kExternalHeadSize + static_cast<int32_t>(std::min<size_t>(ref.path.size(), kMaxShortString - 1)) + 1;
    return size + kOptionalFieldsSize;
}

int32_t MediaEntry::AppendTo(MemoryBlock& catalog) const
{
    int32_t start = catalog.Size();
    int32_t length = EncodedSize();
    MemoryBlock e(0);
    e.AppendInt(length, 4);
    e.AppendInt(static_cast<int32_t>(id), 4);
    for (const std::string* s : { &name, &type }) {
        std::string_view text(*s);
        text = text.substr(0, kMaxShortString);
        e.AppendInt(static_cast<int32_t>(text.size()), 1);
        e.AppendString(text, Nul::Exclude);
    }
    e.AppendInt(static_cast<int32_t>(parts.size()), kCountSize);
    for (const auto& part : parts) {
        e.AppendString(Tag4(part.tag), Nul::Exclude);
        e.AppendInt(static_cast<int32_t>(part.recordId), 4);
    }
    e.AppendInt(static_cast<int32_t>(externals.size()), kCountSize);
    for (const auto& ref : externals) {
        std::string_view path(ref.path);
        path = path.substr(0, kMaxShortString - 1);
        e.AppendString(Tag4(ref.tag), Nul::Exclude);
        e.AppendInt(static_cast<int32_t>(path.size()) + 1, 1);
        e.AppendString(path, Nul::Include);
    }
    e.AppendInt(encoding, kEncodingSize);
    e.AppendInt(storedSize, kStoredSizeSize);
    e.AppendInt(cacheFlag, kCacheFlagSize);
    if (e.Size() != length || catalog.Append(e) != length) {
        catalog.Resize(start);
        return 0;
    }
    return length;
}

EntryInfo MediaEntry::Info() const
{
    return EntryInfo { id, name.substr(0, kMaxInfoString), type.substr(0, kMaxInfoString) };
}

int32_t MediaEntry::FindPart(const std::string& tag) const
{
    for (size_t i = 0; i < parts.size(); ++i)
        if (parts[i].tag == tag)
            return static_cast<int32_t>(i);
    return -1;
}

}  // namespace tamber
