#include "iface/ChunkReader.h"

#include <cstring>

namespace tamber {

int32_t ChunkReader::Int(int width)
{
    if (Remaining() < width) {
        m_offset = m_payload.Size();
        return 0;
    }
    int32_t value = m_payload.ReadInt(m_offset, width);
    m_offset += width;
    return value;
}

double ChunkReader::Double()
{
    if (Remaining() < 8) {
        m_offset = m_payload.Size();
        return 0.0;
    }
    uint64_t bits = static_cast<uint32_t>(m_payload.ReadInt(m_offset, 4))
        | (static_cast<uint64_t>(static_cast<uint32_t>(m_payload.ReadInt(m_offset + 4, 4))) << 32);
    m_offset += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint32_t ChunkReader::Rgb()
{
    uint32_t red = static_cast<uint32_t>(Int32()) & 0xFF;
    uint32_t green = static_cast<uint32_t>(Int32()) & 0xFF;
    uint32_t blue = static_cast<uint32_t>(Int32()) & 0xFF;
    return red | (green << 8) | (blue << 16);
}

std::string ChunkReader::PString()
{
    if (AtEnd())
        return {};
    int32_t length = m_payload.ReadInt(m_offset, 1);
    int32_t available = Remaining() - 1;
    int32_t take = length < available ? length : available;
    std::string text(reinterpret_cast<const char*>(m_payload.Data(m_offset + 1)), take > 0 ? take : 0);
    if (take < 0)
        text.clear();
    m_offset += 1 + (take > 0 ? take : 0);
    size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

std::string ChunkReader::CString()
{
    std::string text;
    while (!AtEnd()) {
        char c = static_cast<char>(*m_payload.Data(m_offset++));
        if (c == '\0')
            break;
        text.push_back(c);
    }
    return text;
}

bool ChunkReader::Expect(std::string_view text)
{
    if (Remaining() < static_cast<int32_t>(text.size()))
        return false;
    if (std::memcmp(m_payload.Data(m_offset), text.data(), text.size()) != 0)
        return false;
    m_offset += static_cast<int32_t>(text.size());
    return true;
}

MemoryBlock ChunkReader::Rest()
{
    MemoryBlock rest;
    if (!AtEnd())
        rest.Append(m_payload.Data(m_offset), Remaining());
    m_offset = m_payload.Size();
    return rest;
}

void ChunkWriter::Double(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    m_out.AppendInt(static_cast<int32_t>(static_cast<uint32_t>(bits)), 4);
    m_out.AppendInt(static_cast<int32_t>(static_cast<uint32_t>(bits >> 32)), 4);
}

void ChunkWriter::Rgb(uint32_t color)
{
    m_out.AppendInt(static_cast<int32_t>(color & 0xFF), 4);
    m_out.AppendInt(static_cast<int32_t>((color >> 8) & 0xFF), 4);
    m_out.AppendInt(static_cast<int32_t>((color >> 16) & 0xFF), 4);
}

}  // namespace tamber
