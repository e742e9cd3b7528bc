#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "iface/AttributeValue.h"
#include "iface/ClassDefinition.h"

namespace tamber {

class Element;
class ScriptEngine;

// The built-in functions every element answers, as a table: the definition the interpreter
// checks arguments against and the builder lists, and the code that runs it. Arguments arrive
// cast to the parameter types; the result is written in the result type's layout.
struct BuiltinFunction {
    using Run = void (*)(ScriptEngine& engine, Element& element, std::span<const AttributeValue> args,
        AttributeValue& result);
    MethodDef definition;
    Run run;
};

const std::vector<BuiltinFunction>& BuiltinFunctions();
// The function's definition by name (ASCII case ignored), or null.
const MethodDef* FindBuiltinFunction(std::string_view name);
const BuiltinFunction* FindBuiltin(std::string_view name);

// Text helpers shared with tests of the arithmetic.
std::string WordOf(std::string_view text, int32_t wordNumber);
double RoundAwayFromZero(double value);
double RadiansToAngle(double radians);

}  // namespace tamber
