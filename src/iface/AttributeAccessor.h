#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "iface/AttributeValue.h"
#include "iface/ClassDefinition.h"

namespace tamber {

// One attribute an element class answers from its own fields: its name and type, how to read
// it and how to write it (null when scripts cannot write it through this class).
template<class E>
struct AttributeAccessor {
    const char* name;
    ValueType type;
    void (*get)(const E&, AttributeValue&);
    int (*set)(E&, const AttributeValue&);
};

// Outcome of asking an accessor table.
inline constexpr int kNotInTable = -1;

// Reads the named attribute through the table: 1 answered, 0 the type differs, kNotInTable
// when the table has no such name. A Picture may be read as a Boolean: whether it is present.
template<class E>
int GetThroughTable(std::span<const AttributeAccessor<E>> table, const E& element,
    std::string_view name, ValueType type, AttributeValue& value)
{
    for (const AttributeAccessor<E>& entry : table) {
        if (!NamesEqual(entry.name, name))
            continue;
        if (entry.type == type) {
            entry.get(element, value);
            return 1;
        }
        if (entry.type == ValueType::Picture && type == ValueType::Boolean) {
            AttributeValue picture;
            entry.get(element, picture);
            value.SetBoolean(picture.Block().Size() > 0);
            return 1;
        }
        return 0;
    }
    return kNotInTable;
}

// Writes the named attribute through the table: the setter's answer, 0 when the type differs
// or the entry is read-only, kNotInTable when the table has no such name.
template<class E>
int SetThroughTable(std::span<const AttributeAccessor<E>> table, E& element,
    std::string_view name, ValueType type, const AttributeValue& value)
{
    for (const AttributeAccessor<E>& entry : table) {
        if (!NamesEqual(entry.name, name))
            continue;
        if (entry.type != type || !entry.set)
            return 0;
        return entry.set(element, value);
    }
    return kNotInTable;
}

// Generic accessors of a plain field, by the field's C++ type: bool as Boolean, int32_t as
// Long/Id, uint32_t as a packed Color, uint16_t as an Enum index, int16_t as a Short, double,
// std::string as String or Font (127 characters at most), MemoryBlock as a block value.
template<class T>
void StoreField(AttributeValue& value, const T& field)
{
    if constexpr (std::is_same_v<T, bool>)
        value.SetBoolean(field);
    else if constexpr (std::is_same_v<T, int32_t>)
        value.SetLong(field);
    else if constexpr (std::is_same_v<T, uint32_t>)
        value.SetColor(field);
    else if constexpr (std::is_same_v<T, uint16_t>)
        value.SetEnum(field);
    else if constexpr (std::is_same_v<T, int16_t>)
        value.SetShort(field);
    else if constexpr (std::is_same_v<T, double>)
        value.SetDouble(field);
    else if constexpr (std::is_same_v<T, std::string>)
        value.SetString(field);
    else
        value.SetBlock(field);
}

template<class T>
void LoadField(const AttributeValue& value, T& field)
{
    if constexpr (std::is_same_v<T, bool>)
        field = value.Boolean();
    else if constexpr (std::is_same_v<T, int32_t>)
        field = value.Long();
    else if constexpr (std::is_same_v<T, uint32_t>)
        field = value.Color() & 0x00FFFFFF;
    else if constexpr (std::is_same_v<T, uint16_t>)
        field = value.Enum();
    else if constexpr (std::is_same_v<T, int16_t>)
        field = value.Short();
    else if constexpr (std::is_same_v<T, double>)
        field = value.Double();
    else if constexpr (std::is_same_v<T, std::string>)
        field = value.String();
    else
        field = value.Block();
}

template<auto Member, class E>
void GetMember(const E& element, AttributeValue& value)
{
    StoreField(value, element.*Member);
}

template<auto Member, class E>
int SetMember(E& element, const AttributeValue& value)
{
    LoadField(value, element.*Member);
    return 1;
}

// A Long field that is raised to 1 when set below 1 (sizes, steps).
template<auto Member, class E>
int SetAtLeastOne(E& element, const AttributeValue& value)
{
    int32_t n = value.Long();
    element.*Member = n < 1 ? 1 : n;
    return 1;
}

// An Enum field of Count values; a larger index is lowered to the last value.
template<auto Member, int Count, class E>
int SetEnumBelow(E& element, const AttributeValue& value)
{
    uint16_t index = value.Enum();
    if (index >= Count)
        index = Count - 1;
    element.*Member = static_cast<std::remove_reference_t<decltype(element.*Member)>>(index);
    return 1;
}

}  // namespace tamber
