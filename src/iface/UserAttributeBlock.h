#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"
#include "iface/AttributeValue.h"
#include "iface/ValueType.h"

namespace tamber {

// An element's user-defined attributes and their values, one record after another:
//   name length (1 byte, length + 1), name and NUL, type (u16), value size (u32), value.
// The value has the layout of the AttributeValue field for scalars, String and Font (128
// bytes), or the bytes of the block for Text, Picture and Palette.
class UserAttributeBlock : public MemoryBlock {
public:
    struct Record {
        int32_t offset = -1;     // of the name length byte
        std::string name;
        ValueType type = ValueType::Void;
        int32_t valueOffset = 0;
        int32_t valueSize = 0;
        int32_t Size() const { return valueOffset + valueSize - offset; }
    };

    static constexpr int32_t kTypeSize = 2;
    static constexpr int32_t kValueSizeSize = 4;

    // The initial value size of a new attribute of the type.
    static int32_t InitialValueSize(ValueType type);

    // All complete records in order; a record cut short by the end of the block ends the walk.
    std::vector<Record> Records() const;
    // The record with the name (ASCII case ignored); offset -1 when there is none.
    Record Find(std::string_view name) const;

    // Appends a record with the type's initial value.
    void AppendRecord(std::string_view name, ValueType type);
    // Deletes the named record: 1, or 0 when there is none.
    int RemoveRecord(std::string_view name);

    // Reads and writes a record's value by the record's type. 1, or 0 when the record is
    // missing or the type is not stored here.
    int ReadValue(std::string_view name, AttributeValue& value) const;
    int WriteValue(std::string_view name, const AttributeValue& value);
};

}  // namespace tamber
