#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "iface/AttributeValue.h"
#include "iface/ValueType.h"

namespace tamber {

class Element;

// A value of the interpreter: its type and the holder that carries it. A Media value with id
// kSpawnMedia stands for the targets of the hot link that started the current event.
struct ScriptValue {
    static constexpr int32_t kSpawnMedia = -2;
    ValueType type = ValueType::Void;
    AttributeValue value;
};

// Parses the number at the start of a text: blanks, an optional sign, digits, an optional point
// and digits. Answers 1 and sets out, or 0 when the text is empty or starts with something that
// is no number (a text of blanks followed by anything else reads as 0).
int ParseScriptNumber(std::string_view text, double& out);
// "%.7lf" without trailing zeros and without a trailing point.
std::string FormatScriptNumber(double value);

// Whether a value of type from can be converted to type to.
bool CanCast(ValueType from, ValueType to);
// Converts in place; answers 1, or 0 when the pair cannot be converted. enumNames bounds an
// Enum result; element resolves media names and media values.
int CastValue(ScriptValue& value, ValueType to, const std::vector<std::string>* enumNames = nullptr,
    Element* element = nullptr);

}  // namespace tamber
