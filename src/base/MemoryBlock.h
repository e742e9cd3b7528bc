#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamber {

// Whether a comparison or search folds ASCII a-z to upper case.
enum class Exact { No = 0, Yes = 1 };
enum class Nul { Exclude = 0, Include = 1 };
enum class Direction { Backward = 0, Forward = 1 };

// A growable run of bytes addressed by offset, with typed reads and writes of little-endian
// integers and strings and the tagged chunk framing (4-character tag, 32-bit length, payload).
// The storage is always exactly Size() bytes. No operation reads or writes outside [0, Size());
// every operation answers 0 (or -1, -2 as documented) instead of failing loudly.
class MemoryBlock {
public:
    using Storage = std::vector<uint8_t>;

    explicit MemoryBlock(int32_t size = 0);
    MemoryBlock(const void* bytes, int32_t n);
    virtual ~MemoryBlock() = default;
    MemoryBlock(const MemoryBlock&) = default;
    MemoryBlock& operator=(const MemoryBlock&) = default;
    MemoryBlock(MemoryBlock&&) noexcept = default;
    MemoryBlock& operator=(MemoryBlock&&) noexcept = default;

    // Size.
    int32_t Resize(int32_t n);
    int32_t Size() const { return static_cast<int32_t>(m_storage.size()); }
    bool Empty() const { return m_storage.empty(); }
    uint8_t* Data(int32_t offset = 0);
    const uint8_t* Data(int32_t offset = 0) const;
    void Adopt(Storage storage);
    Storage Release();
    void Clear() { m_storage.clear(); m_storage.shrink_to_fit(); }

    // Bytes.
    int32_t Write(int32_t offset, const void* bytes, int32_t n);
    int32_t Append(const void* bytes, int32_t n) { return Write(Size(), bytes, n); }
    int32_t Append(const MemoryBlock& other) { return Append(other.Data(), other.Size()); }
    int32_t Insert(int32_t offset, const void* bytes, int32_t n);
    int32_t Read(int32_t offset, void* dest, int32_t n) const;
    int32_t Delete(int32_t offset, int32_t n);
    int32_t Compare(int32_t offset, const void* bytes, int32_t n, Exact exact) const;
    int32_t Find(int32_t start, const void* pattern, int32_t n, Exact exact, Direction direction) const;

    // Little-endian integers of width 1, 2 or 4.
    int32_t ReadInt(int32_t offset, int width) const;
    int32_t WriteInt(int32_t offset, int32_t value, int width);
    int32_t InsertInt(int32_t offset, int32_t value, int width);
    int32_t AppendInt(int32_t value, int width) { return WriteInt(Size(), value, width); }

    // NUL-terminated strings.
    int32_t ReadCString(int32_t offset, char* dest, int32_t capacity) const;
    std::string ReadCString(int32_t offset) const;
    int32_t WriteString(int32_t offset, std::string_view text, Nul nul);
    int32_t InsertString(int32_t offset, std::string_view text, Nul nul);
    int32_t AppendString(std::string_view text, Nul nul) { return WriteString(Size(), text, nul); }
    int32_t NthString(int32_t index, char* dest, int32_t capacity) const;
    std::string NthString(int32_t index) const;

    // Length-prefixed strings: one byte holding length + 1, the characters, a NUL.
    // Texts longer than kMaxPStringLength are cut.
    static constexpr int kMaxPStringLength = 254;
    int32_t WritePString(int32_t offset, std::string_view text);
    int32_t InsertPString(int32_t offset, std::string_view text);
    int32_t AppendPString(std::string_view text) { return WritePString(Size(), text); }
    int32_t ReadPString(int32_t offset, std::string& dest) const;

    // Chunks: tag (4 bytes), payload length (4 bytes), payload.
    static constexpr int32_t kChunkHeaderSize = 8;
    int32_t WriteChunk(std::string_view tag, const MemoryBlock& payload);
    // Reads the chunk at offset; tagOut receives the 4-character tag. Answers the payload bytes
    // read plus 8 (less than length + 8 when the chunk runs past the block), 0 when the block
    // holds fewer than 5 bytes.
    int32_t ReadChunk(int32_t offset, std::string& tagOut, MemoryBlock& payload) const;

    std::string_view View() const { return {reinterpret_cast<const char*>(Data()), m_storage.size()}; }
    std::string ToString() const { return std::string(View()); }
    bool operator==(const MemoryBlock& other) const { return m_storage == other.m_storage; }

private:
    bool Grow(int64_t newSize);

    Storage m_storage;
};

// A MemoryBlock holding one NUL-terminated string, terminator included; empty for "".
class StringBlock : public MemoryBlock {
public:
    StringBlock() = default;
    explicit StringBlock(std::string_view text) { Set(text); }
    int32_t Set(std::string_view text);
    std::string Get() const;
    const char* CStr() const;
};

}  // namespace tamber
