#include "iface/UserDefinitions.h"

#include "iface/Element.h"

namespace tamber::user_definitions {

namespace {

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsLettersAndDigits(std::string_view name)
{
    if (name.empty() || !IsLetter(name[0]))
        return false;
    for (char c : name) {
        if (!IsLetter(c) && !(c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

}  // namespace

std::string_view CheckAttributeName(const Element& element, std::string_view name)
{
    if (name.empty())
        return "You must specify a name for the attribute...";
    if (!IsLettersAndDigits(name))
        return "The attribute name may only contain letters and numbers...";
    if (FindAttribute(element.AttributeTable(), name) || FindAttribute(Element::CommonAttributes(), name))
        return "There is already an attribute with that name...";
    return {};
}

std::string_view CheckEventName(std::string_view name)
{
    if (name.empty())
        return "You must specify a name for the event...";
    if (!IsLettersAndDigits(name))
        return "The event and parameter names may only contain letters and numbers...";
    return {};
}

std::string RemovalLabel(std::string_view name, ValueType type)
{
    return std::string(name) + " (" + std::string(TypeName(type)) + ")";
}

}  // namespace tamber::user_definitions
