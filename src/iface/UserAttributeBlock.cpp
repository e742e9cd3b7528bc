#include "iface/UserAttributeBlock.h"

#include <cstring>

#include "iface/ClassDefinition.h"

namespace tamber {

namespace {

// The fixed width of a stored scalar or string value; 0 for types stored as a block.
int32_t FixedWidth(ValueType type)
{
    switch (type) {
    case ValueType::Double:
        return 8;
    case ValueType::Long:
    case ValueType::Color:
    case ValueType::Id:
        return 4;
    case ValueType::Short:
    case ValueType::Enum:
        return 2;
    case ValueType::Byte:
    case ValueType::Boolean:
        return 1;
    case ValueType::String:
    case ValueType::Font:
        return AttributeValue::kFieldSize;
    default:
        return 0;
    }
}

}  // namespace

int32_t UserAttributeBlock::InitialValueSize(ValueType type)
{
    if (type == ValueType::Text)
        return 1;
    return FixedWidth(type);
}

std::vector<UserAttributeBlock::Record> UserAttributeBlock::Records() const
{
    std::vector<Record> records;
    int32_t at = 0;
    while (at < Size()) {
        Record record;
        record.offset = at;
        int32_t nameLength = ReadInt(at, 1);
        if (nameLength < 1)
            break;
        int32_t typeAt = at + 1 + nameLength;
        int32_t valueAt = typeAt + kTypeSize + kValueSizeSize;
        if (valueAt > Size())
            break;
        record.name = ReadCString(at + 1);
        if (static_cast<int32_t>(record.name.size()) >= nameLength)
            record.name.resize(nameLength - 1);
        record.type = static_cast<ValueType>(static_cast<uint16_t>(ReadInt(typeAt, kTypeSize)));
        record.valueOffset = valueAt;
        record.valueSize = ReadInt(typeAt + kTypeSize, kValueSizeSize);
        if (record.valueSize < 0 || record.valueSize > Size() - valueAt)
            break;
        records.push_back(record);
        at = valueAt + record.valueSize;
    }
    return records;
}

UserAttributeBlock::Record UserAttributeBlock::Find(std::string_view name) const
{
    for (const Record& record : Records()) {
        if (NamesEqual(record.name, name))
            return record;
    }
    return {};
}

void UserAttributeBlock::AppendRecord(std::string_view name, ValueType type)
{
    MemoryBlock record;
    record.AppendPString(name.substr(0, kMaxDefinitionName));
    record.AppendInt(static_cast<uint16_t>(type), kTypeSize);
    int32_t size = InitialValueSize(type);
    record.AppendInt(size, kValueSizeSize);
    record.Append(MemoryBlock(size));
    Append(record);
}

int UserAttributeBlock::RemoveRecord(std::string_view name)
{
    Record record = Find(name);
    if (record.offset < 0)
        return 0;
    Delete(record.offset, record.Size());
    return 1;
}

int UserAttributeBlock::ReadValue(std::string_view name, AttributeValue& value) const
{
    Record record = Find(name);
    if (record.offset < 0)
        return 0;
    int32_t width = FixedWidth(record.type);
    if (width > 0) {
        std::memset(value.Field(), 0, AttributeValue::kFieldSize);
        Read(record.valueOffset, value.Field(), std::min(width, record.valueSize));
        value.Field()[AttributeValue::kFieldSize - 1] = 0;
        return 1;
    }
    if (record.type == ValueType::Text || record.type == ValueType::Picture
        || record.type == ValueType::Palette) {
        value.Block() = MemoryBlock(Data(record.valueOffset), record.valueSize);
        if (record.valueSize == 0)
            value.Block().Clear();
        return 1;
    }
    return 1;  // types without storage here answer without copying
}

int UserAttributeBlock::WriteValue(std::string_view name, const AttributeValue& value)
{
    Record record = Find(name);
    if (record.offset < 0)
        return 0;
    int32_t width = FixedWidth(record.type);
    if (width > 0) {
        if (record.type == ValueType::String || record.type == ValueType::Font) {
            std::string text = value.String();
            Write(record.valueOffset, text.c_str(),
                std::min<int32_t>(static_cast<int32_t>(text.size()) + 1, record.valueSize));
        } else {
            Write(record.valueOffset, value.Field(), std::min(width, record.valueSize));
        }
        return 1;
    }
    if (record.type == ValueType::Text || record.type == ValueType::Picture
        || record.type == ValueType::Palette) {
        const MemoryBlock& bytes = value.Block();
        Delete(record.valueOffset, record.valueSize);
        WriteInt(record.valueOffset - kValueSizeSize, bytes.Size(), kValueSizeSize);
        Insert(record.valueOffset, bytes.Data(), bytes.Size());
        return 1;
    }
    return 1;
}

}  // namespace tamber
