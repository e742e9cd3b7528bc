#include "iface/ValueType.h"

namespace tamber {

namespace {

constexpr std::string_view kTypeNames[kValueTypeCount] = {
    "Void", "Double", "Long", "Color", "Id", "Short", "Enum", "Byte", "Boolean",
    "String", "Font", "Text", "Picture", "Palette", "Special", "Script", "Media",
};

}  // namespace

std::string_view TypeName(uint16_t code)
{
    return code < kValueTypeCount ? kTypeNames[code] : std::string_view();
}

bool IsBlockType(ValueType type)
{
    return type == ValueType::Text || type == ValueType::Picture || type == ValueType::Palette
        || type == ValueType::Script;
}

}  // namespace tamber
