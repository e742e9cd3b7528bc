#pragma once

#include <cstdint>
#include <string>

#include "base/MemoryBlock.h"

namespace tamber {

// Reads the fields of a chunk payload in order. Every read is bounded: a field that lies past
// the end of the payload reads as 0 (or empty) and leaves the cursor at the end.
class ChunkReader {
public:
    explicit ChunkReader(const MemoryBlock& payload, int32_t offset = 0)
        : m_payload(payload), m_offset(offset) { }

    int32_t Offset() const { return m_offset; }
    // Moves the cursor (a position past the end counts as the end).
    void Seek(int32_t offset) { m_offset = offset < 0 ? 0 : offset; }
    int32_t Remaining() const { return m_offset < m_payload.Size() ? m_payload.Size() - m_offset : 0; }
    bool AtEnd() const { return Remaining() == 0; }

    int32_t Int(int width);
    int32_t Int32() { return Int(4); }
    uint16_t U16() { return static_cast<uint16_t>(Int(2)); }
    int16_t I16() { return static_cast<int16_t>(Int(2)); }
    bool Bool() { return Int(1) != 0; }
    double Double();
    // Three 32-bit values red, green, blue, packed as 0x00BBGGRR.
    uint32_t Rgb();
    // A length-prefixed string: length byte (characters + 1), the characters, a NUL.
    std::string PString();
    // A NUL-terminated string; the rest of the payload when there is no NUL.
    std::string CString();
    // Whether the next bytes equal text (the cursor moves past them when they do).
    bool Expect(std::string_view text);
    // The rest of the payload.
    MemoryBlock Rest();

private:
    const MemoryBlock& m_payload;
    int32_t m_offset;
};

// Writes chunk payload fields in the layouts ChunkReader reads.
class ChunkWriter {
public:
    explicit ChunkWriter(MemoryBlock& out) : m_out(out) { }

    void Int(int32_t value, int width) { m_out.AppendInt(value, width); }
    void Int32(int32_t value) { Int(value, 4); }
    void U16(uint16_t value) { Int(value, 2); }
    void Bool(bool value) { Int(value ? 1 : 0, 1); }
    void Double(double value);
    void Rgb(uint32_t color);
    void PString(std::string_view text) { m_out.AppendPString(text); }
    void CString(std::string_view text) { m_out.AppendString(text, Nul::Include); }
    void Bytes(std::string_view bytes) { m_out.AppendString(bytes, Nul::Exclude); }

private:
    MemoryBlock& m_out;
};

}  // namespace tamber
