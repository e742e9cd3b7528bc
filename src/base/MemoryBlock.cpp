#include "base/MemoryBlock.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace tamber {

namespace {

// What Data() points to for an empty block: never null, never written.
uint8_t g_emptyArea[8] = {};

uint8_t FoldAscii(uint8_t c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 'a' + 'A') : c;
}

int CompareBytes(const uint8_t* a, const uint8_t* b, int32_t n, Exact exact)
{
    for (int32_t i = 0; i < n; ++i) {
        uint8_t x = a[i];
        uint8_t y = b[i];
        if (exact == Exact::No) {
            x = FoldAscii(x);
            y = FoldAscii(y);
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

}  // namespace

MemoryBlock::MemoryBlock(int32_t size)
{
    if (size > 0)
        Grow(size);
}

MemoryBlock::MemoryBlock(const void* bytes, int32_t n)
{
    if (n > 0 && bytes)
        Write(0, bytes, n);
}

bool MemoryBlock::Grow(int64_t newSize)
{
    if (newSize < 0 || newSize > INT32_MAX)
        return false;
    try {
        m_storage.resize(static_cast<size_t>(newSize), 0);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

int32_t MemoryBlock::Resize(int32_t n)
{
    if (n < 0)
        n = 0;
    if (n == Size())
        return 1;
    if (n == 0) {
        Clear();
        return 0;
    }
    return Grow(n) ? 1 : 0;
}

uint8_t* MemoryBlock::Data(int32_t offset)
{
    if (m_storage.empty())
        return g_emptyArea;
    if (offset < 0 || offset >= Size())
        offset = 0;
    return m_storage.data() + offset;
}

const uint8_t* MemoryBlock::Data(int32_t offset) const
{
    return const_cast<MemoryBlock*>(this)->Data(offset);
}

void MemoryBlock::Adopt(Storage storage)
{
    if (storage.size() > static_cast<size_t>(INT32_MAX))
        storage.resize(INT32_MAX);
    m_storage = std::move(storage);
}

MemoryBlock::Storage MemoryBlock::Release()
{
    Storage out;
    out.swap(m_storage);
    if (out.empty())
        out.resize(1, 0);
    return out;
}

int32_t MemoryBlock::Write(int32_t offset, const void* bytes, int32_t n)
{
    if (n < 1 || offset < 0)
        return 0;
    if (offset > Size())
        offset = Size();
    int64_t end = static_cast<int64_t>(offset) + n;
    if (end > Size() && !Grow(end))
        return 0;
    if (bytes)
        std::memmove(m_storage.data() + offset, bytes, static_cast<size_t>(n));
    else
        std::memset(m_storage.data() + offset, 0, static_cast<size_t>(n));
    return n;
}

int32_t MemoryBlock::Insert(int32_t offset, const void* bytes, int32_t n)
{
    if (n < 1 || offset < 0)
        return 0;
    if (offset > Size())
        offset = Size();
    // Copy first: the source may lie inside this block.
    std::vector<uint8_t> copy;
    if (bytes)
        copy.assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + n);
    else
        copy.assign(static_cast<size_t>(n), 0);
    try {
        m_storage.insert(m_storage.begin() + offset, copy.begin(), copy.end());
    } catch (const std::exception&) {
        return 0;
    }
    if (m_storage.size() > static_cast<size_t>(INT32_MAX)) {
        m_storage.erase(m_storage.begin() + offset, m_storage.begin() + offset + n);
        return 0;
    }
    return n;
}

int32_t MemoryBlock::Read(int32_t offset, void* dest, int32_t n) const
{
    if (m_storage.empty() || n < 1 || offset < 0 || offset >= Size())
        return 0;
    int32_t count = std::min(n, Size() - offset);
    std::memcpy(dest, m_storage.data() + offset, static_cast<size_t>(count));
    return count;
}

int32_t MemoryBlock::Delete(int32_t offset, int32_t n)
{
    if (n < 1 || offset < 0 || offset > Size())
        return 0;
    int32_t count = std::min(n, Size() - offset);
    m_storage.erase(m_storage.begin() + offset, m_storage.begin() + offset + count);
    return count;
}

int32_t MemoryBlock::Compare(int32_t offset, const void* bytes, int32_t n, Exact exact) const
{
    if (m_storage.empty())
        return -2;
    if (n < 1)
        return 0;
    if (offset < 0 || static_cast<int64_t>(offset) + n > Size())
        return -2;
    return CompareBytes(m_storage.data() + offset, static_cast<const uint8_t*>(bytes), n, exact);
}

int32_t MemoryBlock::Find(int32_t start, const void* pattern, int32_t n, Exact exact,
                          Direction direction) const
{
    if (m_storage.empty() || start < 0)
        return -1;
    if (n < 1)
        return start;
    if (static_cast<int64_t>(start) + n > Size())
        return -1;
    const auto* p = static_cast<const uint8_t*>(pattern);
    if (direction == Direction::Forward) {
        for (int32_t at = start; static_cast<int64_t>(at) + n <= Size(); ++at)
            if (CompareBytes(m_storage.data() + at, p, n, exact) == 0)
                return at;
    } else {
        for (int32_t at = start; at >= 0; --at)
            if (CompareBytes(m_storage.data() + at, p, n, exact) == 0)
                return at;
    }
    return -1;
}

int32_t MemoryBlock::ReadInt(int32_t offset, int width) const
{
    uint8_t bytes[4] = {};
    if (width != 1 && width != 2 && width != 4)
        return 0;
    Read(offset, bytes, width);
    switch (width) {
    case 1:
        return bytes[0];
    case 2:
        return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
    default:
        return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                                    (static_cast<uint32_t>(bytes[2]) << 16) |
                                    (static_cast<uint32_t>(bytes[3]) << 24));
    }
}

static void EncodeLittleEndian(int32_t value, uint8_t* out)
{
    auto v = static_cast<uint32_t>(value);
    out[0] = static_cast<uint8_t>(v);
    out[1] = static_cast<uint8_t>(v >> 8);
    out[2] = static_cast<uint8_t>(v >> 16);
    out[3] = static_cast<uint8_t>(v >> 24);
}

int32_t MemoryBlock::WriteInt(int32_t offset, int32_t value, int width)
{
    if (width != 1 && width != 2 && width != 4)
        return 0;
    uint8_t bytes[4];
    EncodeLittleEndian(value, bytes);
    return Write(offset, bytes, width);
}

int32_t MemoryBlock::InsertInt(int32_t offset, int32_t value, int width)
{
    if (width != 1 && width != 2 && width != 4)
        return 0;
    uint8_t bytes[4];
    EncodeLittleEndian(value, bytes);
    return Insert(offset, bytes, width);
}

int32_t MemoryBlock::ReadCString(int32_t offset, char* dest, int32_t capacity) const
{
    if (capacity < 1 || !dest)
        return 0;
    dest[0] = 0;
    if (offset < 0 || offset >= Size())
        return 0;
    const uint8_t* begin = m_storage.data() + offset;
    const void* nul = std::memchr(begin, 0, static_cast<size_t>(Size() - offset));
    if (!nul)
        return 0;
    int32_t length = static_cast<int32_t>(static_cast<const uint8_t*>(nul) - begin);
    int32_t copied = std::min(length, capacity - 1);
    std::memcpy(dest, begin, static_cast<size_t>(copied));
    dest[copied] = 0;
    return copied + 1;
}

std::string MemoryBlock::ReadCString(int32_t offset) const
{
    if (offset < 0 || offset >= Size())
        return {};
    const uint8_t* begin = m_storage.data() + offset;
    const void* nul = std::memchr(begin, 0, static_cast<size_t>(Size() - offset));
    if (!nul)
        return {};
    return std::string(reinterpret_cast<const char*>(begin), static_cast<const uint8_t*>(nul) - begin);
}

int32_t MemoryBlock::WriteString(int32_t offset, std::string_view text, Nul nul)
{
    std::string bytes(text);
    int32_t n = static_cast<int32_t>(bytes.size()) + (nul == Nul::Include ? 1 : 0);
    return Write(offset, bytes.c_str(), n);
}

int32_t MemoryBlock::InsertString(int32_t offset, std::string_view text, Nul nul)
{
    std::string bytes(text);
    int32_t n = static_cast<int32_t>(bytes.size()) + (nul == Nul::Include ? 1 : 0);
    return Insert(offset, bytes.c_str(), n);
}

static std::string PStringBytes(std::string_view text)
{
    text = text.substr(0, MemoryBlock::kMaxPStringLength);
    std::string bytes;
    bytes.reserve(text.size() + 2);
    bytes.push_back(static_cast<char>(text.size() + 1));
    bytes.append(text);
    bytes.push_back('\0');
    return bytes;
}

int32_t MemoryBlock::WritePString(int32_t offset, std::string_view text)
{
    std::string bytes = PStringBytes(text);
    return Write(offset, bytes.data(), static_cast<int32_t>(bytes.size()));
}

int32_t MemoryBlock::InsertPString(int32_t offset, std::string_view text)
{
    std::string bytes = PStringBytes(text);
    return Insert(offset, bytes.data(), static_cast<int32_t>(bytes.size()));
}

int32_t MemoryBlock::ReadPString(int32_t offset, std::string& dest) const
{
    dest.clear();
    if (offset < 0 || offset >= Size())
        return 0;
    int32_t length = ReadInt(offset, 1);
    int32_t available = std::min(length, Size() - offset - 1);
    if (available > 0) {
        const char* begin = reinterpret_cast<const char*>(m_storage.data() + offset + 1);
        dest.assign(begin, static_cast<size_t>(available));
        // The stored bytes end with the NUL; keep only the characters before it.
        auto nul = dest.find('\0');
        if (nul != std::string::npos)
            dest.resize(nul);
    }
    return length + 1;
}

int32_t MemoryBlock::NthString(int32_t index, char* dest, int32_t capacity) const
{
    if (capacity < 1 || !dest)
        return 0;
    dest[0] = 0;
    std::string s = NthString(index);
    if (s.empty())
        return 0;
    int32_t copied = std::min(static_cast<int32_t>(s.size()), capacity - 1);
    std::memcpy(dest, s.data(), static_cast<size_t>(copied));
    dest[copied] = 0;
    return copied + 1;
}

std::string MemoryBlock::NthString(int32_t index) const
{
    if (index < 0)
        return {};
    int32_t offset = 0;
    for (int32_t i = 0; offset < Size(); ++i) {
        const uint8_t* begin = m_storage.data() + offset;
        const void* nul = std::memchr(begin, 0, static_cast<size_t>(Size() - offset));
        if (!nul)
            return {};
        auto length = static_cast<int32_t>(static_cast<const uint8_t*>(nul) - begin);
        if (i == index)
            return std::string(reinterpret_cast<const char*>(begin), static_cast<size_t>(length));
        offset += length + 1;
    }
    return {};
}

int32_t MemoryBlock::WriteChunk(std::string_view tag, const MemoryBlock& payload)
{
    char tagBytes[4] = {0, 0, 0, 0};
    std::memcpy(tagBytes, tag.data(), std::min<size_t>(4, tag.size()));
    if (Append(tagBytes, 4) != 4)
        return 0;
    AppendInt(payload.Size(), 4);
    Append(payload.Data(), payload.Size());
    return payload.Size() + kChunkHeaderSize;
}

int32_t MemoryBlock::ReadChunk(int32_t offset, std::string& tagOut, MemoryBlock& payload) const
{
    tagOut.clear();
    if (Size() < 5)
        return 0;
    char tag[5] = {0, 0, 0, 0, 0};
    Read(offset, tag, 4);
    tagOut.assign(tag, 4);
    auto nul = tagOut.find('\0');
    if (nul != std::string::npos)
        tagOut.resize(nul);
    int32_t length = ReadInt(offset + 4, 4);
    // A damaged length never allocates more than the bytes that follow.
    int64_t available = static_cast<int64_t>(Size()) - offset - kChunkHeaderSize;
    int32_t take = static_cast<int32_t>(std::clamp<int64_t>(length, 0, std::max<int64_t>(available, 0)));
    payload.Clear();
    if (take > 0) {
        payload.Resize(take);
        take = Read(offset + kChunkHeaderSize, payload.Data(), take);
    }
    return take + kChunkHeaderSize;
}

int32_t StringBlock::Set(std::string_view text)
{
    Clear();
    if (text.empty())
        return 1;
    return WriteString(0, text, Nul::Include) > 0 ? 1 : 0;
}

std::string StringBlock::Get() const
{
    return ReadCString(0);
}

const char* StringBlock::CStr() const
{
    return reinterpret_cast<const char*>(Data());
}

}  // namespace tamber
