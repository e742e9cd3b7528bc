#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"
#include "iface/AttributeFlags.h"
#include "iface/ValueType.h"

namespace tamber {

// Names in class tables hold at most 31 characters.
inline constexpr int kMaxDefinitionName = 31;

// Resource ids of the class tables.
enum class ClassId : uint16_t {
    ThreeD = 9250,
    Audio = 9251,
    Button = 9252,
    ComboBox = 9253,
    EditBox = 9254,
    Graphic = 9255,
    Interface = 9256,
    ListBox = 9257,
    ScrollBar = 9258,
    Text = 9259,
    Video = 9260,
    Picture = 9261,
    String = 9262,
    Line = 9263,
    Rectangle = 9264,
    Database = 9265,
};
inline constexpr uint16_t kFirstClassId = 9250;
inline constexpr uint16_t kLastClassId = 9265;

struct AttributeDef {
    std::string name;
    ValueType type = ValueType::Void;
    AttributeFlags flags = 0;
    std::vector<std::string> enumValues;  // Enum attributes: the value names, index 0 first

    // Only attributes with an element-role bit are visible to name lookup.
    bool Visible() const { return (flags & kElementNibble) != 0; }
};

struct ParamDef {
    ValueType type = ValueType::Void;  // Void: the slot is unused
    std::string name;
    bool operator==(const ParamDef&) const = default;
};

struct MethodDef {
    std::string name;
    std::array<ParamDef, 4> params;
    ValueType result = ValueType::Void;
};

// An event. Its stored record (the "UEvn" chunk) is 168 bytes: the name in 32 bytes, then
// four parameter slots of a 16-bit type and a 32-byte name, each name NUL-padded.
struct EventDef {
    static constexpr int32_t kNameField = 32;
    static constexpr int32_t kParamSize = 2 + kNameField;
    static constexpr int32_t kRecordSize = kNameField + 4 * kParamSize;

    std::string name;
    std::array<ParamDef, 4> params;

    void AppendRecord(MemoryBlock& out) const;
    // Reads the record at offset; bytes past the end read as 0.
    static EventDef ReadRecord(const MemoryBlock& block, int32_t offset);
    bool operator==(const EventDef&) const = default;
};

// A class's public surface: its attributes, methods and events. Every element holds a private
// copy, extended with the element's user attributes and events.
struct ClassDefinition {
    uint16_t classId = 0;
    std::string typeName;
    std::vector<AttributeDef> attributes;
    std::vector<MethodDef> methods;
    std::vector<EventDef> events;

    // The self role of an Interface: attributes with a self-role nibble take it as their
    // element nibble; every other attribute's flags become 0, which hides it.
    void ApplySelfRole();
};

// Name equality ignoring ASCII case (other bytes compare exactly).
bool NamesEqual(std::string_view a, std::string_view b);

// The first visible attribute with the name (ASCII case ignored), or null.
const AttributeDef* FindAttribute(const std::vector<AttributeDef>& table, std::string_view name);
AttributeDef* FindAttribute(std::vector<AttributeDef>& table, std::string_view name);
// The first method or event with the name (ASCII case ignored), or null.
const MethodDef* FindMethod(const std::vector<MethodDef>& table, std::string_view name);
const EventDef* FindEvent(const std::vector<EventDef>& table, std::string_view name);

}  // namespace tamber
