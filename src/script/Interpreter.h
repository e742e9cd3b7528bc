#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "iface/AttributeValue.h"
#include "iface/ClassDefinition.h"
#include "script/ScriptCast.h"

namespace tamber {

class Element;
class InterfaceModel;
class ScriptEngine;

// The errors that end a handler; each has the message the user sees under "Script Error".
enum class ScriptError : int32_t {
    None = 0,
    Syntax = 1,
    Cast = 2,
    DivideByZero = 3,
    NoObject = 4,
    NoFunction = 5,
    NoMethodOrEvent = 6,
    NoAttribute = 7,
    NotWritable = 8,
    NotAtRuntime = 9,
    ParameterCount = 10,
    NoParameter = 11,
    MissingEnd = 12,
    Stopped = 100,  // Ctrl+Break or the timeout: the handler ends without a message
};
const char* ScriptErrorMessage(ScriptError error);

// Runs one handler of one element, straight from the script text, on the engine's shared
// scanner. Nested handlers (events raised, methods that run scripts) run their own Interpreter
// inside a statement; the scanner is saved and restored around every such call.
class Interpreter {
public:
    static constexpr int kMaxLoopDepth = 32;

    Interpreter(ScriptEngine& engine, Element& element, const EventDef& event,
        std::span<const AttributeValue> params);

    // Runs the handler whose header starts at offset; answers the error that ended it.
    ScriptError Run(int32_t headerOffset);
    int32_t Line() const { return m_line; }

private:
    struct Reference {
        enum Kind { None, Missing, Found } kind = None;
        Element* element = nullptr;
    };
    struct LoopEntry {
        int32_t offset;
        int32_t line;
    };

    bool Fail(ScriptError error);
    bool Failed() const { return m_error != ScriptError::None; }

    // Lines.
    bool NextLine();
    ScriptError Statement(int32_t lineStart, bool& jumped);
    bool Condition(bool& value);
    bool SkipConditional(bool allowBranches, bool fromElse);
    bool SkipLoop();
    bool CheckStop();

    // Statements.
    bool GlobalAssignment(int slot);
    bool ElementStatement();
    bool AssignAttribute(Element& target, const std::string& name);
    bool CallMember(Element& target, const std::string& name, bool inExpression, ScriptValue* result);
    bool CallFunction(const std::string& name, ScriptValue* result);
    bool CallPlugIn(const std::string& name);
    bool Arguments(const std::array<ParamDef, 4>& params, std::vector<AttributeValue>& values);

    // Expressions.
    bool Expression(ScriptValue& out);
    bool Logical(ScriptValue& out);
    bool Comparison(ScriptValue& out);
    bool Additive(ScriptValue& out);
    bool Multiplicative(ScriptValue& out);
    bool Power(ScriptValue& out);
    bool Unary(ScriptValue& out);
    bool Primary(ScriptValue& out);
    bool NextIsOperator(int32_t code);
    bool Cast(ScriptValue& value, ValueType to, const std::vector<std::string>* enumNames = nullptr);

    Reference ResolveObjectReference();
    Element* FindByName(int32_t card, std::string_view type, std::string_view name) const;

    ScriptEngine& m_engine;
    Element& m_element;
    InterfaceModel* m_model;
    const EventDef& m_event;
    std::span<const AttributeValue> m_params;
    ScriptError m_error = ScriptError::None;
    int32_t m_line = 0;
    int32_t m_ifDepth = 0;
    int32_t m_whileDepth = 0;
    std::vector<LoopEntry> m_loops;
    uint32_t m_startTick = 0;
    uint32_t m_statements = 0;
};

}  // namespace tamber
