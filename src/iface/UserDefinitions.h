#pragma once

#include <array>
#include <string>
#include <string_view>

#include "iface/ValueType.h"

namespace tamber {

class Element;

// The rules for names of user-defined attributes and events, as the "Add Attribute" and
// "Add Event" dialogs apply them, and the choices those dialogs offer.
namespace user_definitions {

// The types offered for a user attribute, in order (each event parameter: "<void>" first).
inline constexpr std::array<ValueType, 11> kAttributeTypes = {ValueType::Double, ValueType::Long,
    ValueType::Color, ValueType::Short, ValueType::Byte, ValueType::Boolean, ValueType::String,
    ValueType::Font, ValueType::Text, ValueType::Picture, ValueType::Palette};
inline constexpr std::string_view kVoidChoice = "<void>";

// Names hold at most 31 characters; the dialogs' fields take no more.
inline constexpr size_t kMaxNameLength = 31;

// The message refusing a new attribute name, or empty when the name is acceptable.
std::string_view CheckAttributeName(const Element& element, std::string_view name);
// The message refusing an event or parameter name, or empty when it is acceptable.
std::string_view CheckEventName(std::string_view name);

// The line listing a user attribute for removal: "Score (Long)".
std::string RemovalLabel(std::string_view name, ValueType type);

inline constexpr std::string_view kRemoveFailed = "Unable to remove attribute from the object...";

}  // namespace user_definitions

}  // namespace tamber
