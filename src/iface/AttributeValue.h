#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/MemoryBlock.h"
#include "iface/MediaRef.h"
#include "iface/ValueType.h"

namespace tamber {

// The holder that GetAttribute fills and SetAttribute reads, interpreted by the ValueType that
// accompanies it. One 128-byte field holds the scalars in its first bytes (Double in 8; Long,
// Color and Id in 4; Short and Enum in 2; Byte and Boolean in 1) or a String or Font (at most
// 127 characters and a NUL); Text, Picture, Palette and Script travel in the holder's block;
// Media is a MediaRef. All integers in the field are little-endian.
class AttributeValue {
public:
    static constexpr int32_t kFieldSize = 128;
    static constexpr int32_t kMaxStringLength = kFieldSize - 1;

    AttributeValue() { m_field.fill(0); }

    // A holder with one value set.
    static AttributeValue OfDouble(double value) { return Holding(&AttributeValue::SetDouble, value); }
    static AttributeValue OfLong(int32_t value) { return Holding(&AttributeValue::SetLong, value); }
    static AttributeValue OfColor(uint32_t color) { return Holding(&AttributeValue::SetColor, color); }
    static AttributeValue OfShort(int16_t value) { return Holding(&AttributeValue::SetShort, value); }
    static AttributeValue OfEnum(uint16_t index) { return Holding(&AttributeValue::SetEnum, index); }
    static AttributeValue OfByte(uint8_t value) { return Holding(&AttributeValue::SetByte, value); }
    static AttributeValue OfBoolean(bool value) { return Holding(&AttributeValue::SetBoolean, value); }
    static AttributeValue OfString(std::string_view text)
    {
        return Holding(&AttributeValue::SetString, text);
    }
    static AttributeValue OfBlock(const MemoryBlock& block)
    {
        return Holding(&AttributeValue::SetBlock, block);
    }
    static AttributeValue OfMedia(MediaRef media) { return Holding(&AttributeValue::SetMedia, media); }

    // Scalars. Each setter clears the scalar bytes first.
    void SetDouble(double value);
    double Double() const;
    void SetLong(int32_t value);
    int32_t Long() const;
    void SetColor(uint32_t color) { SetLong(static_cast<int32_t>(color)); }
    uint32_t Color() const { return static_cast<uint32_t>(Long()); }
    void SetShort(int16_t value);
    int16_t Short() const;
    void SetEnum(uint16_t index) { SetShort(static_cast<int16_t>(index)); }
    uint16_t Enum() const { return static_cast<uint16_t>(Short()); }
    void SetByte(uint8_t value);
    uint8_t Byte() const { return m_field[0]; }
    void SetBoolean(bool value) { SetByte(value ? 1 : 0); }
    bool Boolean() const { return m_field[0] != 0; }

    // An integer of any integral type, at the type's width (Enum and Byte unsigned).
    void SetInteger(ValueType type, int64_t value);
    int64_t Integer(ValueType type) const;

    // String and Font: texts longer than 127 characters are cut.
    void SetString(std::string_view text);
    std::string String() const;

    // Text, Picture, Palette, Script.
    MemoryBlock& Block() { return m_block; }
    const MemoryBlock& Block() const { return m_block; }
    void SetBlock(const MemoryBlock& block) { m_block = block; }

    void SetMedia(MediaRef media) { m_media = media; }
    MediaRef Media() const { return m_media; }

    // The raw field, for values copied by their stored layout.
    uint8_t* Field() { return m_field.data(); }
    const uint8_t* Field() const { return m_field.data(); }

private:
    template<typename Setter, typename T> static AttributeValue Holding(Setter set, const T& value)
    {
        AttributeValue v;
        (v.*set)(value);
        return v;
    }
    void ClearScalar() { std::fill(m_field.begin(), m_field.begin() + 8, uint8_t { 0 }); }

    std::array<uint8_t, kFieldSize> m_field;
    MemoryBlock m_block;
    MediaRef m_media;
};

} // namespace tamber
