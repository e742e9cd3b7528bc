#include "iface/AttributeValue.h"

#include <algorithm>
#include <cstring>

namespace tamber {

namespace {

void StoreLittleEndian(uint8_t* out, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t LoadLittleEndian(const uint8_t* in, int width)
{
    uint64_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= static_cast<uint64_t>(in[i]) << (8 * i);
    return value;
}

}  // namespace

void AttributeValue::SetDouble(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    StoreLittleEndian(m_field.data(), bits, 8);
}

double AttributeValue::Double() const
{
    uint64_t bits = LoadLittleEndian(m_field.data(), 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void AttributeValue::SetLong(int32_t value)
{
    ClearScalar();
    StoreLittleEndian(m_field.data(), static_cast<uint32_t>(value), 4);
}

int32_t AttributeValue::Long() const
{
    return static_cast<int32_t>(static_cast<uint32_t>(LoadLittleEndian(m_field.data(), 4)));
}

void AttributeValue::SetShort(int16_t value)
{
    ClearScalar();
    StoreLittleEndian(m_field.data(), static_cast<uint16_t>(value), 2);
}

int16_t AttributeValue::Short() const
{
    return static_cast<int16_t>(static_cast<uint16_t>(LoadLittleEndian(m_field.data(), 2)));
}

void AttributeValue::SetByte(uint8_t value)
{
    ClearScalar();
    m_field[0] = value;
}

void AttributeValue::SetInteger(ValueType type, int64_t value)
{
    switch (type) {
    case ValueType::Double:
        SetDouble(static_cast<double>(value));
        break;
    case ValueType::Short:
        SetShort(static_cast<int16_t>(value));
        break;
    case ValueType::Enum:
        SetEnum(static_cast<uint16_t>(value));
        break;
    case ValueType::Byte:
        SetByte(static_cast<uint8_t>(value));
        break;
    case ValueType::Boolean:
        SetBoolean(value != 0);
        break;
    default:
        SetLong(static_cast<int32_t>(value));
        break;
    }
}

int64_t AttributeValue::Integer(ValueType type) const
{
    switch (type) {
    case ValueType::Double:
        return static_cast<int64_t>(Double());
    case ValueType::Short:
        return Short();
    case ValueType::Enum:
        return Enum();
    case ValueType::Byte:
        return Byte();
    case ValueType::Boolean:
        return Boolean() ? 1 : 0;
    default:
        return Long();
    }
}

void AttributeValue::SetString(std::string_view text)
{
    m_field.fill(0);
    size_t n = std::min<size_t>(text.size(), kMaxStringLength);
    if (n > 0)
        std::memcpy(m_field.data(), text.data(), n);
}

std::string AttributeValue::String() const
{
    const char* chars = reinterpret_cast<const char*>(m_field.data());
    return std::string(chars, strnlen(chars, kMaxStringLength));
}

}  // namespace tamber
