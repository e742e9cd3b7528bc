#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "iface/AttributeValue.h"
#include "iface/ClassDefinition.h"
#include "script/ScriptCast.h"
#include "script/ScriptScanner.h"

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
    // Parentheses and unary operators nest at most this deep; deeper is a syntax error rather
    // than the end of the machine's stack.
    static constexpr int kMaxExpressionDepth = 256;

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

    // Lines inside loops run again and again. The first successful run of a global assignment,
    // If, While, EndIf or EndWhile whose operands are only numbers, string literals and globals
    // records its expression's steps in evaluation order; later runs replay them without
    // scanning. A recording is replayed only while the text still holds every byte its scan
    // read, through the line's CR, so an edited or replaced script is read afresh.
    struct Step {
        enum Kind : uint8_t { Number, String, Global, Operator, Not, Negate } kind;
        int32_t code = 0;  // the global's slot or the operator code
        double number = 0;
        std::string text;
    };
    struct CompiledLine {
        enum Kind : uint8_t { Assign, If, While, EndIf, EndWhile } kind;
        int32_t slot = 0;  // the global an Assign writes
        std::vector<Step> steps;
        int32_t depth = 0;     // the most values the steps hold at once
        std::string bytes;     // the text from the line's start through the last byte read
        ScriptScanner::State after;  // the scanner after the statement
        int32_t nextLine = 0;  // the character after the line's CR
    };
    // A value of a replayed line, held unboxed: a Double, a Boolean (number 0 or 1) or a String
    // (as a String value holds it). Doubles and Strings combine here; any other pairing is
    // converted to ScriptValues and goes through the general Combine.
    struct Slot {
        ValueType type = ValueType::Void;
        double number = 0;
        std::string text;
    };
    const CompiledLine* CompiledAt(int32_t lineStart) const;
    // Runs a recorded line and leaves the scanner at the next line to run.
    void RunCompiled(const CompiledLine& line, int32_t lineStart, bool& jumped);
    // Runs the steps; the value is left in m_slots[0].
    bool Replay(const CompiledLine& line);
    void LoadGlobal(int slot, Slot& out);
    bool Combine(int32_t op, Slot& out, Slot& right);
    bool ApplyUnary(Step::Kind kind, Slot& value);
    bool StoreGlobal(int slot, const Slot& value);
    static void ToValue(const Slot& slot, ScriptValue& v);
    static void FromValue(const ScriptValue& v, Slot& slot);
    void BeginRecording(int32_t reach);
    // Keeps the recording of the statement just run from lineStart, when it qualifies.
    void FinishRecording(CompiledLine::Kind kind, int32_t lineStart, int32_t slot, bool succeeded);
    void Record(Step::Kind kind, int32_t code, double number = 0, std::string_view text = {})
    {
        if (m_recording)
            m_recording->push_back(Step {kind, code, number, std::string(text)});
    }
    void LoadGlobal(int slot, ScriptValue& out);
    bool ApplyUnary(Step::Kind kind, ScriptValue& value);

    bool Fail(ScriptError error);
    bool Failed() const { return m_error != ScriptError::None; }

    // Lines.
    bool NextLine();
    // Runs the line whose first token the scanner has just read.
    ScriptError Statement(int32_t lineStart, bool& jumped);
    bool Condition(bool& value);
    // The token just read closes the handler: the end of the text or its "}".
    bool EndsHandler(TokenKind kind) const;
    // Moves to the next line of a block being skipped and reads its first token; fails at the
    // end of the handler, which leaves the block open.
    bool NextSkippedLine(TokenKind& kind);
    bool SkipConditional(bool allowBranches, bool fromElse);
    bool SkipLoop();
    void EndIf();
    // Pushes the loop of the While line at lineStart; fails past the deepest nesting.
    bool EnterLoop(int32_t lineStart);
    void EndWhile(bool& jumped);
    bool CheckStop();

    // Statements.
    bool GlobalAssignment(int slot);
    bool StoreGlobal(int slot, ScriptValue& value);
    bool ElementStatement();
    bool AssignAttribute(Element& target, const std::string& name);
    bool CallMember(Element& target, const std::string& name, bool inExpression, ScriptValue* result);
    bool CallFunction(const std::string& name, ScriptValue* result);
    bool CallPlugIn(const std::string& name);
    bool Arguments(const std::array<ParamDef, 4>& params, std::vector<AttributeValue>& values);

    // Expressions.
    bool Expression(ScriptValue& out);
    // Binary operators by precedence climbing: the operand, then every operator of minLevel or
    // above with its right operand (one level higher, so each level associates to the left).
    bool Binary(int minLevel, ScriptValue& out);
    // Applies a binary operator to the left operand in out and the right operand.
    bool Combine(int32_t op, ScriptValue& out, ScriptValue& right);
    bool Unary(ScriptValue& out);
    bool Primary(ScriptValue& out);
    // The operator code of the next token (-1 for anything else); the position stays. Every
    // expression level asks at the same position, so the answer is kept while no other token
    // has been read.
    int32_t PeekOperator()
    {
        ScriptScanner::State here = m_scanner.SaveState();
        if (m_peek.scans == m_scanner.Scans() && m_peek.block == here.block && m_peek.position == here.position
            && m_peek.view.data() == here.view.data())
            return m_peek.code;
        return ScanOperator();
    }
    int32_t ScanOperator();
    // Reads the next token when it is that operator.
    bool NextIsOperator(int32_t code)
    {
        if (PeekOperator() != code)
            return false;
        m_scanner.RestoreState(m_peek.after);
        return true;
    }
    bool Cast(ScriptValue& value, ValueType to, const std::vector<std::string>* enumNames = nullptr);

    Reference ResolveObjectReference();

    // Scratch values for the expression levels, reused rather than built for every operand.
    class Temporary {
    public:
        explicit Temporary(Interpreter& in) : m_in(in), m_value(in.AcquireValue()) { }
        ~Temporary() { --m_in.m_valueTop; }
        Temporary(const Temporary&) = delete;
        Temporary& operator=(const Temporary&) = delete;
        ScriptValue& operator*() { return m_value; }
        ScriptValue* operator->() { return &m_value; }

    private:
        Interpreter& m_in;
        ScriptValue& m_value;
    };
    ScriptValue& AcquireValue()
    {
        if (m_valueTop == m_values.size())
            m_values.emplace_back();
        return m_values[m_valueTop++];
    }

    ScriptEngine& m_engine;
    ScriptScanner& m_scanner;
    std::deque<ScriptValue> m_values;  // a deque keeps borrowed references valid as it grows
    size_t m_valueTop = 0;
    int32_t m_expressionDepth = 0;
    Element& m_element;
    InterfaceModel* m_model;
    const EventDef& m_event;
    std::span<const AttributeValue> m_params;
    ScriptError m_error = ScriptError::None;
    int32_t m_line = 0;
    int32_t m_ifDepth = 0;
    int32_t m_whileDepth = 0;
    std::vector<LoopEntry> m_loops;
    struct Peek {
        const MemoryBlock* block = nullptr;
        std::string_view view;
        int32_t position = -1;
        uint64_t scans = ~uint64_t {0};
        int32_t code = -1;
        ScriptScanner::State after;
    } m_peek;
    std::vector<CompiledLine> m_compiled;
    std::vector<int32_t> m_compiledAt;  // index into m_compiled by line start, or -1
    std::vector<Slot> m_slots; // the replay stack, kept for its strings' buffers
    std::vector<Step>* m_recording = nullptr;
    std::vector<Step> m_steps;           // the recording in progress
    bool m_recordable = false;
    uint32_t m_startTick = 0;
    uint32_t m_statements = 0;
};

}  // namespace tamber
