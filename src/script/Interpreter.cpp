#include "script/Interpreter.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "base/AsciiCase.h"
#include "iface/AttributeFlags.h"
#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "platform/clock/Clock.h"
#include "script/BuiltinFunctions.h"
#include "script/HandlerIndex.h"
#include "script/MediaReference.h"
#include "script/ScriptEngine.h"

namespace tamber {

namespace {

// Operator codes as registered with the scanner.
enum Op : int32_t {
    kLParen = 1, kRParen, kComma, kDot, kLBrace, kRBrace, kColon, kAssign, kPlus, kMinus, kTimes,
    kDivide, kPower, kAnd, kOr, kNot, kEqual, kLess, kLessEqual, kGreater, kGreaterEqual, kNotEqual,
    kSemicolon
};

// How often the timeout is looked at, in statements.
constexpr uint32_t kTimeoutCheckInterval = 256;

bool IsTextType(ValueType t)
{
    return t == ValueType::String || t == ValueType::Font;
}

int CompareNoCase(const std::string& a, const std::string& b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int x = static_cast<unsigned char>(a[i]);
        int y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Values are rewritten in place: a fresh ScriptValue clears its whole 128-byte field, which
// costs more than the arithmetic in a loop. Only the scalar bytes are meaningful for these types.
void SetScalar(ScriptValue& v, ValueType type)
{
    v.type = type;
    if (v.value.Block().Size() != 0)
        v.value.Block() = MemoryBlock();
    v.value.SetMedia(MediaRef {});
}

void SetDoubleValue(ScriptValue& v, double d)
{
    SetScalar(v, ValueType::Double);
    v.value.SetDouble(d);
}

void SetBooleanValue(ScriptValue& v, bool b)
{
    SetScalar(v, ValueType::Boolean);
    v.value.SetBoolean(b);
}

void SetStringValue(ScriptValue& v, std::string_view text)
{
    SetScalar(v, ValueType::String);
    v.value.SetString(text);
}

// A text as a String value holds it: at most 127 characters, up to the first NUL.
std::string_view AsStringValue(std::string_view text)
{
    text = text.substr(0, std::min<size_t>(text.size(), AttributeValue::kMaxStringLength));
    return text.substr(0, std::min(text.size(), text.find('\0')));
}

// The words that open a statement of the language's own; any other word names a global, a
// function or an element.
enum class StatementWord { If, ElseIf, Else, EndIf, While, EndWhile, Other };

StatementWord StatementWordOf(std::string_view word)
{
    static constexpr struct {
        std::string_view text;
        StatementWord word;
    } kWords[] = {
        {"If", StatementWord::If},
        {"ElseIf", StatementWord::ElseIf},
        {"Else", StatementWord::Else},
        {"EndIf", StatementWord::EndIf},
        {"While", StatementWord::While},
        {"EndWhile", StatementWord::EndWhile},
    };
    for (const auto& entry : kWords) {
        if (EqualFolded(word, entry.text))
            return entry.word;
    }
    return StatementWord::Other;
}

// Binary operator precedence, lowest first; -1 for an operator that is not binary.
constexpr int kLowestLevel = 0;

int BinaryLevel(int32_t op)
{
    switch (op) {
    case kAnd:
    case kOr:
        return 0;
    case kEqual:
    case kLess:
    case kLessEqual:
    case kGreater:
    case kGreaterEqual:
    case kNotEqual:
        return 1;
    case kPlus:
    case kMinus:
        return 2;
    case kTimes:
    case kDivide:
        return 3;
    case kPower:
        return 4;
    default:
        return -1;
    }
}

// The order of two numbers for a comparison; "!=" holds for a NaN operand.
int NumberOrder(int32_t op, double a, double b)
{
    if (op == kNotEqual && std::isnan(a - b))
        return 1;
    return a < b ? -1 : (a > b ? 1 : 0);
}

// Whether a comparison holds for an order (<0, 0, >0).
bool OrderHolds(int32_t op, int order)
{
    switch (op) {
    case kEqual:
        return order == 0;
    case kNotEqual:
        return order != 0;
    case kLess:
        return order < 0;
    case kLessEqual:
        return order <= 0;
    case kGreater:
        return order > 0;
    default:
        return order >= 0;
    }
}

// a op b for the arithmetic operators; false for a division by zero.
bool Arithmetic(int32_t op, double a, double b, double& result)
{
    switch (op) {
    case kPlus:
        result = a + b;
        break;
    case kMinus:
        result = a - b;
        break;
    case kTimes:
        result = a * b;
        break;
    case kDivide:
        if (b == 0.0)
            return false;
        result = a / b;
        break;
    default:
        result = std::pow(a, b);
        break;
    }
    return true;
}

// Lines recorded per handler run at most; scripts are far shorter.
constexpr size_t kMaxCompiledLines = 4096;

}  // namespace

const char* ScriptErrorMessage(ScriptError error)
{
    static const char* const kMessages[] = {
        "Error...",
        "Syntax error...",
        "Unable to cast one value type to another...",
        "Divide by zero...",
        "Object does not exist...",
        "Method or function does not exist...",
        "Method or event does not exist...",
        "Attribute does not exist...",
        "Attribute can not be written to...",
        "Attribute not available during runtime...",
        "Wrong number of parameters to method...",
        "Event parameter does not exist...",
        "Missing EndIf or EndWhile following conditional structure...",
    };
    auto code = static_cast<int32_t>(error);
    if (code < 1 || code > 12)
        return kMessages[0];
    return kMessages[code];
}

Interpreter::Interpreter(ScriptEngine& engine, Element& element, const EventDef& event,
    std::span<const AttributeValue> params)
    : m_engine(engine), m_scanner(engine.m_scanner), m_element(element), m_model(element.Parent()), m_event(event), m_params(params)
{
}

bool Interpreter::Fail(ScriptError error)
{
    if (m_error == ScriptError::None)
        m_error = error;
    return false;
}

ScriptError Interpreter::Run(int32_t headerOffset)
{
    ScriptScanner& s = m_engine.m_scanner;
    const MemoryBlock& text = m_element.Script();
    s.SetSource(text);
    int32_t brace = headerOffset;
    while (brace < text.Size() && text.Data()[brace] != '{')
        ++brace;
    int32_t start = brace + 1;
    while (start < text.Size() && (text.Data()[start] == '\r' || text.Data()[start] == '\n'))
        ++start;
    s.SetPosition(start);
    if (m_engine.m_settings.watchdogClock)
        m_startTick = m_engine.m_settings.watchdogClock->TickCount();
    m_loops.reserve(kMaxLoopDepth);

    for (;;) {
        int32_t lineStart = s.GetPosition();
        if (const CompiledLine* line = CompiledAt(lineStart)) {
            if (CheckStop()) {
                Fail(ScriptError::Stopped);
                break;
            }
            bool jumped = false;
            RunCompiled(*line, lineStart, jumped);
            if (Failed())
                break;
            if (!jumped)
                ++m_line;
            continue;
        }
        TokenKind kind = s.Next();
        if (EndsHandler(kind))
            break;
        if (CheckStop()) {
            Fail(ScriptError::Stopped);
            break;
        }
        bool jumped = false;
        if (!(kind == TokenKind::Operator && s.Code() == kSemicolon)) {
            Statement(lineStart, jumped);
            if (Failed())
                break;
        }
        if (!jumped) {
            NextLine();
            ++m_line;
        }
    }
    if (!Failed() && (m_ifDepth != 0 || m_whileDepth != 0))
        Fail(ScriptError::MissingEnd);
    return m_error;
}

bool Interpreter::CheckStop()
{
    const ScriptEngine::Settings& settings = m_engine.m_settings;
    if (settings.breakKey && settings.breakKey->IsDown())
        return true;
    if (settings.timeoutSeconds > 0 && settings.watchdogClock && ++m_statements % kTimeoutCheckInterval == 0) {
        uint32_t elapsed = settings.watchdogClock->TickCount() - m_startTick;
        if (elapsed > settings.timeoutSeconds * 1000.0) {
            if (settings.errors) {
                *settings.errors << "tamber: the handler of \"" << m_event.name << "\" of " << m_element.GetTypeName()
                                 << " " << m_element.GetId() << " ran longer than " << settings.timeoutSeconds
                                 << " seconds and was stopped\n";
            }
            return true;
        }
    }
    return false;
}

bool Interpreter::NextLine()
{
    ScriptScanner& s = m_engine.m_scanner;
    const MemoryBlock& text = m_element.Script();
    const char cr = '\r';
    int32_t from = s.GetPosition();
    int32_t at = from < text.Size() ? text.Find(from, &cr, 1, Exact::Yes, Direction::Forward) : -1;
    if (at < 0) {
        s.SetPosition(text.Size());
        return false;
    }
    s.SetPosition(at + 1);
    return true;
}

ScriptError Interpreter::Statement(int32_t lineStart, bool& jumped)
{
    // The line's first token has been read; start is the line as it was before it.
    ScriptScanner& s = m_engine.m_scanner;
    ScriptScanner::State start = s.SaveState();
    start.position = lineStart;
    start.tokenStart = lineStart;
    TokenKind kind = s.Kind();
    if (kind != TokenKind::Identifier || s.Text().empty() || s.Text() == ".") {
        Fail(ScriptError::Syntax);
        return m_error;
    }
    const std::string& word = s.Text();  // read before any further token
    StatementWord statement = StatementWordOf(word);
    int slot = statement == StatementWord::Other ? ScriptEngine::GlobalSlot(word) : -1;
    // Only lines that may run again are worth recording: those inside a loop and loop heads.
    bool compilable = statement != StatementWord::ElseIf && statement != StatementWord::Else
        && (statement != StatementWord::Other || slot >= 0);
    bool record = compilable && (!m_loops.empty() || statement == StatementWord::While);
    if (record)
        BeginRecording(s.GetPosition() + 1);
    bool value = false;
    switch (statement) {
    case StatementWord::If: {
        ++m_ifDepth;
        bool ok = Condition(value);
        if (record)
            FinishRecording(CompiledLine::If, lineStart, 0, ok);
        if (ok && !value)
            SkipConditional(true, false);
        break;
    }
    case StatementWord::ElseIf:
    case StatementWord::Else:
        if (m_ifDepth == 0)
            Fail(ScriptError::Syntax);
        else
            SkipConditional(false, statement == StatementWord::Else);
        break;
    case StatementWord::EndIf:
        EndIf();
        if (record)
            FinishRecording(CompiledLine::EndIf, lineStart, 0, !Failed());
        break;
    case StatementWord::While: {
        if (!EnterLoop(lineStart))
            break;
        bool ok = Condition(value);
        if (record)
            FinishRecording(CompiledLine::While, lineStart, 0, ok);
        if (ok && !value)
            SkipLoop();
        break;
    }
    case StatementWord::EndWhile:
        if (record)
            FinishRecording(CompiledLine::EndWhile, lineStart, 0, m_whileDepth != 0 && !m_loops.empty());
        EndWhile(jumped);
        break;
    case StatementWord::Other:
        if (slot >= 0) {
            bool ok = NextIsOperator(kAssign) ? GlobalAssignment(slot) : Fail(ScriptError::Syntax);
            if (record)
                FinishRecording(CompiledLine::Assign, lineStart, slot, ok);
        } else {
            s.RestoreState(start);
            ElementStatement();
        }
        break;
    }
    m_recording = nullptr;
    return m_error;
}

void Interpreter::EndIf()
{
    if (m_ifDepth == 0)
        Fail(ScriptError::Syntax);
    else
        --m_ifDepth;
}

bool Interpreter::EnterLoop(int32_t lineStart)
{
    if (static_cast<int>(m_loops.size()) >= kMaxLoopDepth)
        return Fail(ScriptError::Syntax);
    m_loops.push_back(LoopEntry {lineStart, m_line});
    ++m_whileDepth;
    return true;
}

void Interpreter::EndWhile(bool& jumped)
{
    if (m_whileDepth == 0 || m_loops.empty()) {
        Fail(ScriptError::Syntax);
        return;
    }
    LoopEntry entry = m_loops.back();
    m_loops.pop_back();
    --m_whileDepth;
    m_scanner.SetPosition(entry.offset);
    m_line = entry.line;
    jumped = true;
}

void Interpreter::LoadGlobal(int slot, ScriptValue& out)
{
    if (slot < ScriptEngine::kDoubleGlobals)
        SetDoubleValue(out, m_engine.DoubleGlobal(slot));
    else
        SetStringValue(out, m_engine.StringGlobal(slot - ScriptEngine::kDoubleGlobals));
}

void Interpreter::BeginRecording(int32_t reach)
{
    m_steps.clear();
    m_recording = &m_steps;
    m_recordable = true;
    m_scanner.ResetReach(reach);
}

void Interpreter::FinishRecording(CompiledLine::Kind kind, int32_t lineStart, int32_t slot, bool succeeded)
{
    m_recording = nullptr;
    bool hasExpression = kind == CompiledLine::Assign || kind == CompiledLine::If || kind == CompiledLine::While;
    // A condition without "(" records nothing; it is read again each time rather than recorded.
    if (!succeeded || Failed() || !m_recordable || (hasExpression && m_steps.empty()))
        return;
    const MemoryBlock& text = m_element.Script();
    ScriptScanner::State after = m_scanner.SaveState();
    if (after.block != &text || lineStart < 0 || after.position < lineStart)
        return;
    std::string_view src = text.View();
    size_t cr = src.find('\r', static_cast<size_t>(after.position));
    if (cr == std::string_view::npos)
        return;
    size_t reach = std::max(static_cast<size_t>(m_scanner.Reach()), cr + 1);
    if (reach > src.size())
        return;  // the scan read the end of the text, which may yet grow

    CompiledLine line;
    line.kind = kind;
    line.slot = slot;
    int32_t held = 0;
    for (const Step& step : m_steps) {
        held += step.kind == Step::Operator ? -1 : (step.kind == Step::Not || step.kind == Step::Negate ? 0 : 1);
        line.depth = std::max(line.depth, held);
    }
    line.steps = std::move(m_steps);
    m_steps.clear();
    line.bytes.assign(src.substr(static_cast<size_t>(lineStart), reach - static_cast<size_t>(lineStart)));
    line.after = after;
    line.nextLine = static_cast<int32_t>(cr + 1);

    if (m_compiledAt.size() < src.size())
        m_compiledAt.resize(src.size(), -1);
    int32_t& index = m_compiledAt[static_cast<size_t>(lineStart)];
    if (index >= 0) {
        m_compiled[static_cast<size_t>(index)] = std::move(line);  // the text changed under the old one
    } else if (m_compiled.size() < kMaxCompiledLines) {
        index = static_cast<int32_t>(m_compiled.size());
        m_compiled.push_back(std::move(line));
    }
}

const Interpreter::CompiledLine* Interpreter::CompiledAt(int32_t lineStart) const
{
    if (lineStart < 0 || static_cast<size_t>(lineStart) >= m_compiledAt.size())
        return nullptr;
    int32_t index = m_compiledAt[static_cast<size_t>(lineStart)];
    if (index < 0)
        return nullptr;
    const CompiledLine& line = m_compiled[static_cast<size_t>(index)];
    const MemoryBlock& text = m_element.Script();
    if (m_scanner.SaveState().block != &text)
        return nullptr;
    std::string_view src = text.View();
    size_t n = line.bytes.size();
    if (static_cast<size_t>(lineStart) + n > src.size()
        || !ScriptScanner::SameBytes(src.data() + lineStart, line.bytes.data(), n))
        return nullptr;
    return &line;
}

bool Interpreter::Replay(const CompiledLine& line)
{
    if (m_slots.size() < static_cast<size_t>(line.depth))
        m_slots.resize(static_cast<size_t>(line.depth));
    Slot* top = m_slots.data() - 1;
    for (const Step& step : line.steps) {
        switch (step.kind) {
        case Step::Number:
            ++top;
            top->type = ValueType::Double;
            top->number = step.number;
            break;
        case Step::String:
            ++top;
            top->type = ValueType::String;
            top->text.assign(step.text);
            break;
        case Step::Global:
            LoadGlobal(step.code, *++top);
            break;
        case Step::Operator:
            --top;
            if (!Combine(step.code, top[0], top[1]))
                return false;
            break;
        case Step::Not:
        case Step::Negate:
            if (!ApplyUnary(step.kind, *top))
                return false;
            break;
        }
    }
    return true;
}

void Interpreter::LoadGlobal(int slot, Slot& out)
{
    if (slot < ScriptEngine::kDoubleGlobals) {
        out.type = ValueType::Double;
        out.number = m_engine.DoubleGlobal(slot);
    } else {
        out.type = ValueType::String;
        out.text.assign(AsStringValue(m_engine.StringGlobal(slot - ScriptEngine::kDoubleGlobals)));
    }
}

void Interpreter::ToValue(const Slot& slot, ScriptValue& v)
{
    if (slot.type == ValueType::Double)
        SetDoubleValue(v, slot.number);
    else if (slot.type == ValueType::Boolean)
        SetBooleanValue(v, slot.number != 0);
    else
        SetStringValue(v, slot.text);
}

void Interpreter::FromValue(const ScriptValue& v, Slot& slot)
{
    // Operators on Doubles, Booleans and Strings answer one of those three.
    if (IsTextType(v.type)) {
        slot.type = ValueType::String;
        slot.text = v.value.String();
    } else if (v.type == ValueType::Boolean) {
        slot.type = ValueType::Boolean;
        slot.number = v.value.Boolean() ? 1 : 0;
    } else {
        slot.type = ValueType::Double;
        slot.number = v.value.Double();
    }
}

bool Interpreter::Combine(int32_t op, Slot& out, Slot& right)
{
    int level = BinaryLevel(op);
    if (out.type == ValueType::Double && right.type == ValueType::Double && level >= 1) {
        if (level == 1) {
            out.type = ValueType::Boolean;
            out.number = OrderHolds(op, NumberOrder(op, out.number, right.number)) ? 1 : 0;
            return true;
        }
        return Arithmetic(op, out.number, right.number, out.number) || Fail(ScriptError::DivideByZero);
    }
    if (out.type == ValueType::String && right.type == ValueType::String) {
        if (level == 1) {
            out.type = ValueType::Boolean;
            out.number = OrderHolds(op, CompareNoCase(out.text, right.text)) ? 1 : 0;
            return true;
        }
        if (op == kPlus) {
            size_t room = static_cast<size_t>(AttributeValue::kMaxStringLength) - out.text.size();
            out.text.append(right.text, 0, std::min(room, right.text.size()));
            return true;
        }
    }
    // Any other pairing converts as ScriptValues do.
    Temporary a(*this);
    Temporary b(*this);
    ToValue(out, *a);
    ToValue(right, *b);
    if (!Combine(op, *a, *b))
        return false;
    FromValue(*a, out);
    return true;
}

bool Interpreter::ApplyUnary(Step::Kind kind, Slot& value)
{
    if (kind == Step::Negate && value.type == ValueType::Double) {
        value.number = -value.number;
        return true;
    }
    if (kind == Step::Not && value.type == ValueType::Boolean) {
        value.number = value.number != 0 ? 0 : 1;
        return true;
    }
    Temporary v(*this);
    ToValue(value, *v);
    if (!ApplyUnary(kind, *v))
        return false;
    FromValue(*v, value);
    return true;
}

bool Interpreter::StoreGlobal(int slot, const Slot& value)
{
    bool numeric = slot < ScriptEngine::kDoubleGlobals;
    if (numeric && value.type == ValueType::Double) {
        m_engine.SetDoubleGlobal(slot, value.number);
        return true;
    }
    if (!numeric && value.type == ValueType::String) {
        // Assigned in place: the global keeps its buffer from one iteration to the next.
        m_engine.m_strings[static_cast<size_t>(slot - ScriptEngine::kDoubleGlobals)].assign(value.text);
        return true;
    }
    Temporary v(*this);
    ToValue(value, *v);
    return StoreGlobal(slot, *v);
}

void Interpreter::RunCompiled(const CompiledLine& line, int32_t lineStart, bool& jumped)
{
    ScriptScanner& s = m_scanner;
    m_peek.scans = ~uint64_t { 0 }; // the scanner moves without reading a token
    switch (line.kind) {
    case CompiledLine::Assign:
        if (!Replay(line) || !StoreGlobal(line.slot, m_slots[0]))
            return;
        break;
    case CompiledLine::If:
    case CompiledLine::While: {
        if (line.kind == CompiledLine::If)
            ++m_ifDepth;
        else if (!EnterLoop(lineStart))
            return;
        if (!Replay(line))
            return;
        bool value = m_slots[0].number != 0;
        if (m_slots[0].type != ValueType::Boolean) {
            Temporary v(*this);
            ToValue(m_slots[0], *v);
            if (!Cast(*v, ValueType::Boolean))
                return;
            value = v->value.Boolean();
        }
        if (!value) {
            s.RestoreState(line.after);
            if (line.kind == CompiledLine::If)
                SkipConditional(true, false);
            else
                SkipLoop();
            if (!Failed())
                NextLine();
            return;
        }
        break;
    }
    case CompiledLine::EndIf:
        EndIf();
        if (Failed())
            return;
        break;
    case CompiledLine::EndWhile:
        EndWhile(jumped);
        return;
    }
    s.SetPosition(line.nextLine);
}

bool Interpreter::Condition(bool& value)
{
    value = false;
    if (!NextIsOperator(kLParen))
        return true;
    Temporary v(*this);
    if (!Expression(*v))
        return false;
    if (!Cast(*v, ValueType::Boolean))
        return false;
    if (!NextIsOperator(kRParen))
        return Fail(ScriptError::Syntax);
    value = v->value.Boolean();
    return true;
}

bool Interpreter::EndsHandler(TokenKind kind) const
{
    return kind == TokenKind::EndOfText || (kind == TokenKind::Operator && m_scanner.Code() == kRBrace);
}

bool Interpreter::NextSkippedLine(TokenKind& kind)
{
    if (!NextLine())
        return Fail(ScriptError::MissingEnd);
    ++m_line;
    kind = m_scanner.Next();
    if (EndsHandler(kind))
        return Fail(ScriptError::MissingEnd);
    return true;
}

bool Interpreter::SkipConditional(bool allowBranches, bool fromElse)
{
    ScriptScanner& s = m_engine.m_scanner;
    int nesting = 0;
    for (;;) {
        TokenKind kind = TokenKind::EndOfText;
        if (!NextSkippedLine(kind))
            return false;
        if (kind != TokenKind::Identifier)
            continue;
        const std::string& word = s.Text();
        if (EqualFolded(word, "If")) {
            ++nesting;
        } else if (EqualFolded(word, "EndIf")) {
            if (--nesting < 0) {
                --m_ifDepth;
                return true;
            }
        } else if (nesting == 0 && EqualFolded(word, "Else")) {
            if (allowBranches)
                return true;
            if (fromElse)
                return Fail(ScriptError::Syntax);
        } else if (nesting == 0 && EqualFolded(word, "ElseIf")) {
            if (allowBranches) {
                bool value = false;
                if (!Condition(value))
                    return false;
                if (value)
                    return true;
            } else if (fromElse) {
                return Fail(ScriptError::Syntax);
            }
        }
    }
}

bool Interpreter::SkipLoop()
{
    ScriptScanner& s = m_engine.m_scanner;
    int nesting = 0;
    for (;;) {
        TokenKind kind = TokenKind::EndOfText;
        if (!NextSkippedLine(kind))
            return false;
        if (kind != TokenKind::Identifier)
            continue;
        if (EqualFolded(s.Text(), "While")) {
            ++nesting;
        } else if (EqualFolded(s.Text(), "EndWhile") && --nesting < 0) {
            if (!m_loops.empty())
                m_loops.pop_back();
            --m_whileDepth;
            return true;
        }
    }
}

bool Interpreter::GlobalAssignment(int slot)
{
    Temporary temporary(*this);
    return Expression(*temporary) && StoreGlobal(slot, *temporary);
}

bool Interpreter::StoreGlobal(int slot, ScriptValue& v)
{
    if (slot < ScriptEngine::kDoubleGlobals) {
        if (!Cast(v, ValueType::Double))
            return false;
        m_engine.SetDoubleGlobal(slot, v.value.Double());
    } else {
        if (!Cast(v, ValueType::String))
            return false;
        m_engine.SetStringGlobal(slot - ScriptEngine::kDoubleGlobals, v.value.String());
    }
    return true;
}

bool Interpreter::ElementStatement()
{
    ScriptScanner& s = m_engine.m_scanner;
    ScriptScanner::State start = s.SaveState();
    s.Next();
    const std::string name = s.Text();
    const MemoryBlock& text = m_element.Script();
    int32_t after = s.GetPosition();
    if (after < text.Size() && text.Data()[after] == '.') {
        s.Next();  // the "."
        if (s.Next() != TokenKind::Identifier)
            return Fail(ScriptError::Syntax);
        if (EqualFolded(s.Text(), "plg"))
            return CallPlugIn(name);
        if (EqualFolded(s.Text(), "dll"))
            return true;
        return Fail(ScriptError::Syntax);
    }
    if (FindBuiltinFunction(name)) {
        ScriptScanner::State afterName = s.SaveState();
        if (NextIsOperator(kLParen)) {
            s.RestoreState(afterName);
            return CallFunction(name, nullptr);
        }
    }
    s.RestoreState(start);
    Reference ref = ResolveObjectReference();
    if (ref.kind == Reference::None)
        return Fail(ScriptError::Syntax);
    if (ref.kind == Reference::Missing)
        return Fail(ScriptError::NoObject);
    if (s.Next() != TokenKind::Identifier || s.Text().empty())
        return Fail(ScriptError::Syntax);
    const std::string member = s.Text();
    if (NextIsOperator(kAssign))
        return AssignAttribute(*ref.element, member);
    return CallMember(*ref.element, member, false, nullptr);
}

bool Interpreter::AssignAttribute(Element& target, const std::string& name)
{
    const AttributeDef* def = FindAttribute(target.AttributeTable(), name);
    if (!def)
        def = FindAttribute(target.CommonAttributeTable(), name);
    if (!def)
        return Fail(ScriptError::NoAttribute);
    if (!(def->flags & AF_WRITE))
        return Fail(ScriptError::NotWritable);
    if (!(def->flags & AF_RUNTIME))
        return Fail(ScriptError::NotAtRuntime);
    const AttributeDef attribute = *def;  // the table may change while scripts run
    ScriptValue v;
    if (!Expression(v))
        return false;
    ScriptScanner& s = m_engine.m_scanner;
    ScriptScanner::State saved = s.SaveState();
    if (attribute.type == ValueType::Picture)
        target.SetAttribute(attribute.name, ValueType::Picture, AttributeValue::OfBlock(MemoryBlock()));
    s.RestoreState(saved);
    if (!Cast(v, attribute.type, &attribute.enumValues))
        return false;
    bool media = attribute.type == ValueType::Media;
    if (media) {
        target.PrepareMediaChange();
        m_engine.BeginWaitCursor();
        if (v.value.Media().mediaId == ScriptValue::kSpawnMedia) {
            AttributeValue expected;
            target.GetAttribute("Type", ValueType::String, expected);
            MediaRef resolved = v.value.Media();
            m_engine.ResolveSpawnMedia(resolved, expected.String());
            v.value.SetMedia(resolved);
        }
    }
    target.SetAttribute(attribute.name, attribute.type, v.value);
    if (media)
        m_engine.EndWaitCursor();
    if (attribute.flags & AF_RECONSTRUCT) {
        AttributeValue ignored;
        target.CallMethod("Reconstruct", {}, ignored);
        if (m_model)
            m_model->Redraw();
    }
    if (media && v.value.Media().database && v.value.Media().mediaId >= 0)
        target.MediaChanged();
    s.RestoreState(saved);
    return true;
}

bool Interpreter::Arguments(const std::array<ParamDef, 4>& params, std::vector<AttributeValue>& values)
{
    ScriptScanner& s = m_engine.m_scanner;
    if (!NextIsOperator(kLParen))
        return Fail(ScriptError::Syntax);
    size_t typed = 0;
    for (const ParamDef& p : params)
        typed += p.type != ValueType::Void ? 1 : 0;
    if (!NextIsOperator(kRParen)) {
        for (size_t i = 0;; ++i) {
            ScriptValue v;
            if (!Expression(v))
                return false;
            if (i >= params.size() || params[i].type == ValueType::Void)
                return Fail(ScriptError::ParameterCount);
            if (!Cast(v, params[i].type))
                return false;
            values.push_back(v.value);
            if (NextIsOperator(kComma))
                continue;
            if (NextIsOperator(kRParen))
                break;
            (void)s;
            return Fail(values.size() < typed ? ScriptError::ParameterCount : ScriptError::Syntax);
        }
    }
    if (values.size() != typed)
        return Fail(ScriptError::ParameterCount);
    return true;
}

bool Interpreter::CallMember(Element& target, const std::string& name, bool inExpression, ScriptValue* result)
{
    ScriptScanner& s = m_engine.m_scanner;
    const MethodDef* method = FindMethod(target.MethodTable(), name);
    if (!method)
        method = FindMethod(Element::CommonMethods(), name);
    if (method) {
        const MethodDef def = *method;
        std::vector<AttributeValue> values;
        if (!Arguments(def.params, values))
            return false;
        AttributeValue out;
        ScriptScanner::State saved = s.SaveState();
        target.CallMethod(def.name, values, out);
        s.RestoreState(saved);
        if (m_engine.Tracing())
            m_engine.AddTraceLine("Method Called ->> " + def.name);
        if (result) {
            result->type = def.result;
            result->value = out;
        }
        return true;
    }
    if (inExpression)
        return Fail(ScriptError::NoFunction);
    const EventDef* event = FindEvent(target.EventTable(), name);
    if (!event)
        event = FindEvent(Element::CommonEvents(), name);
    if (!event)
        return Fail(ScriptError::NoMethodOrEvent);
    const EventDef def = *event;
    std::vector<AttributeValue> values;
    if (!Arguments(def.params, values))
        return false;
    ScriptScanner::State saved = s.SaveState();
    target.ExecuteEvent(def.name, -1, values);
    s.RestoreState(saved);
    return true;
}

bool Interpreter::CallFunction(const std::string& name, ScriptValue* result)
{
    const MethodDef* def = FindBuiltinFunction(name);
    if (!def)
        return Fail(ScriptError::NoFunction);
    std::vector<AttributeValue> values;
    if (!Arguments(def->params, values))
        return false;
    ScriptScanner& s = m_engine.m_scanner;
    ScriptScanner::State saved = s.SaveState();
    AttributeValue out;
    m_element.CallMethod(def->name, values, out);
    s.RestoreState(saved);
    if (result) {
        result->type = def->result;
        result->value = out;
    }
    return true;
}

bool Interpreter::CallPlugIn(const std::string& name)
{
    static const std::array<ParamDef, 4> kTwoStrings = {
        ParamDef {ValueType::String, "a"}, ParamDef {ValueType::String, "b"}, ParamDef {}, ParamDef {}};
    std::vector<AttributeValue> values;
    if (!Arguments(kTwoStrings, values))
        return false;
    std::string out;
    ScriptScanner& s = m_engine.m_scanner;
    ScriptScanner::State saved = s.SaveState();
    int called = m_engine.CallPlugIn(name, values[0].String(), values[1].String(), out);
    s.RestoreState(saved);
    if (!called)
        return Fail(ScriptError::NoFunction);
    m_engine.SetStringGlobal(0, out);
    return true;
}

int32_t Interpreter::ScanOperator()
{
    ScriptScanner& s = m_scanner;
    ScriptScanner::State here = s.SaveState();
    s.Next();
    m_peek.code = s.Kind() == TokenKind::Operator ? s.Code() : -1;
    m_peek.after = s.SaveState();
    s.RestoreState(here);
    m_peek.block = here.block;
    m_peek.view = here.view;
    m_peek.position = here.position;
    m_peek.scans = s.Scans();
    return m_peek.code;
}

bool Interpreter::Cast(ScriptValue& value, ValueType to, const std::vector<std::string>* enumNames)
{
    if (to == ValueType::String && value.type == ValueType::Media && value.value.Media().mediaId == ScriptValue::kSpawnMedia) {
        MediaRef media = value.value.Media();
        m_engine.ResolveSpawnMedia(media, {});
        value.value.SetMedia(media);
    }
    if (!CastValue(value, to, enumNames, &m_element))
        return Fail(ScriptError::Cast);
    return true;
}

bool Interpreter::Expression(ScriptValue& out)
{
    if (m_expressionDepth >= kMaxExpressionDepth)
        return Fail(ScriptError::Syntax);
    ++m_expressionDepth;
    bool ok = Binary(kLowestLevel, out);
    --m_expressionDepth;
    return ok;
}

bool Interpreter::Binary(int minLevel, ScriptValue& out)
{
    if (!Unary(out))
        return false;
    for (;;) {
        int32_t op = PeekOperator();
        int level = BinaryLevel(op);
        if (level < minLevel)
            return true;
        NextIsOperator(op);
        Temporary right(*this);
        if (!Binary(level + 1, *right) || !Combine(op, out, *right))
            return false;
        Record(Step::Operator, op);
    }
}

bool Interpreter::Combine(int32_t op, ScriptValue& out, ScriptValue& right)
{
    switch (BinaryLevel(op)) {
    case 0: {
        if (!Cast(out, ValueType::Boolean) || !Cast(right, ValueType::Boolean))
            return false;
        bool a = out.value.Boolean();
        bool b = right.value.Boolean();
        SetBooleanValue(out, op == kAnd ? (a && b) : (a || b));
        return true;
    }
    case 1: {
        int order = 0;
        if (IsTextType(out.type)) {
            if (!Cast(out, ValueType::String) || !Cast(right, ValueType::String))
                return false;
            order = CompareNoCase(out.value.String(), right.value.String());
        } else {
            if (!Cast(out, ValueType::Double) || !Cast(right, ValueType::Double))
                return false;
            order = NumberOrder(op, out.value.Double(), right.value.Double());
        }
        SetBooleanValue(out, OrderHolds(op, order));
        return true;
    }
    default:
        break;
    }
    if (op == kPlus && IsTextType(out.type)) {
        if (!Cast(out, ValueType::String) || !Cast(right, ValueType::String))
            return false;
        out.value.SetString(out.value.String() + right.value.String());
        return true;
    }
    if (!Cast(out, ValueType::Double) || !Cast(right, ValueType::Double))
        return false;
    double result = 0;
    if (!Arithmetic(op, out.value.Double(), right.value.Double(), result))
        return Fail(ScriptError::DivideByZero);
    SetDoubleValue(out, result);
    return true;
}

bool Interpreter::Unary(ScriptValue& out)
{
    if (m_expressionDepth >= kMaxExpressionDepth)
        return Fail(ScriptError::Syntax);
    struct Nesting {
        int32_t& depth;
        explicit Nesting(int32_t& d) : depth(d) { ++depth; }
        ~Nesting() { --depth; }
    } nesting(m_expressionDepth);
    for (Step::Kind kind : {Step::Not, Step::Negate}) {
        if (!NextIsOperator(kind == Step::Not ? kNot : kMinus))
            continue;
        if (!Unary(out) || !ApplyUnary(kind, out))
            return false;
        Record(kind, 0);
        return true;
    }
    return Primary(out);
}

bool Interpreter::ApplyUnary(Step::Kind kind, ScriptValue& value)
{
    if (kind == Step::Not) {
        if (!Cast(value, ValueType::Boolean))
            return false;
        SetBooleanValue(value, !value.value.Boolean());
        return true;
    }
    if (!Cast(value, ValueType::Double))
        return false;
    SetDoubleValue(value, -value.value.Double());
    return true;
}

bool Interpreter::Primary(ScriptValue& out)
{
    ScriptScanner& s = m_engine.m_scanner;
    ScriptScanner::State start = s.SaveState();
    TokenKind kind = s.Next();
    if (kind == TokenKind::Operator && s.Code() == kLParen) {
        if (!Expression(out))
            return false;
        if (!NextIsOperator(kRParen))
            return Fail(ScriptError::Syntax);
        return true;
    }
    if (kind == TokenKind::Number) {
        SetDoubleValue(out, s.Value());
        Record(Step::Number, 0, s.Value());
        return true;
    }
    if (kind == TokenKind::StringLiteral) {
        SetStringValue(out, s.Text());
        Record(Step::String, 0, 0, AsStringValue(s.Text()));
        return true;
    }
    if (kind != TokenKind::Identifier || s.Text().empty() || s.Text() == ".")
        return Fail(ScriptError::Syntax);
    if (int slot = ScriptEngine::GlobalSlot(s.Text()); slot >= 0) {
        LoadGlobal(slot, out);
        Record(Step::Global, slot);
        return true;
    }
    // Elements, functions and parameters depend on more than the text: never recorded.
    m_recordable = false;
    const std::string name = s.Text();
    ScriptScanner::State afterName = s.SaveState();
    s.RestoreState(start);
    Reference ref = ResolveObjectReference();
    if (ref.kind == Reference::Missing)
        return Fail(ScriptError::NoObject);
    if (ref.kind == Reference::Found) {
        if (s.Next() != TokenKind::Identifier || s.Text().empty())
            return Fail(ScriptError::Syntax);
        const std::string member = s.Text();
        ScriptScanner::State beforeArgs = s.SaveState();
        if (NextIsOperator(kLParen)) {
            s.RestoreState(beforeArgs);
            return CallMember(*ref.element, member, true, &out);
        }
        Element& target = *ref.element;
        const AttributeDef* def = FindAttribute(target.AttributeTable(), member);
        if (!def)
            def = FindAttribute(target.CommonAttributeTable(), member);
        if (!def)
            return Fail(ScriptError::NoAttribute);
        const AttributeDef attribute = *def;
        ScriptScanner::State saved = s.SaveState();
        out = ScriptValue {attribute.type, AttributeValue()};
        target.GetAttribute(attribute.name, attribute.type, out.value);
        s.RestoreState(saved);
        return true;
    }
    s.RestoreState(afterName);
    if (FindBuiltinFunction(name)) {
        ScriptScanner::State here = s.SaveState();
        if (NextIsOperator(kLParen)) {
            s.RestoreState(here);
            return CallFunction(name, &out);
        }
    }
    if (EqualFolded(name, "NoText")) {
        out = ScriptValue {ValueType::Text, AttributeValue()};
        out.value.Block().AppendInt(0, 1);
        return true;
    }
    if (EqualFolded(name, "NoPicture")) {
        out = ScriptValue {ValueType::Picture, AttributeValue()};
        return true;
    }
    if (EqualFolded(name, "SpawnMedia") || EqualFolded(name, "NoMedia")) {
        MediaRef media;
        media.database = DatabaseOf(&m_element);
        media.mediaId = EqualFolded(name, "SpawnMedia") ? ScriptValue::kSpawnMedia : MediaRef::kNone;
        out = ScriptValue {ValueType::Media, AttributeValue::OfMedia(media)};
        return true;
    }
    for (size_t i = 0; i < m_event.params.size(); ++i) {
        const ParamDef& p = m_event.params[i];
        if (p.type == ValueType::Void || !EqualFolded(p.name, name))
            continue;
        out = ScriptValue {p.type, i < m_params.size() ? m_params[i] : AttributeValue()};
        return true;
    }
    return Fail(ScriptError::Syntax);
}

Interpreter::Reference Interpreter::ResolveObjectReference()
{
    ScriptScanner& s = m_engine.m_scanner;
    ScriptScanner::State start = s.SaveState();
    Reference none;
    auto giveUp = [&] {
        s.RestoreState(start);
        return none;
    };
    if (s.Next() != TokenKind::Identifier || s.Text().empty() || s.Text() == ".")
        return giveUp();
    std::string word = s.Text();
    if (EqualFolded(word, "Source") || EqualFolded(word, "Parent")) {
        if (!NextIsOperator(kColon))
            return giveUp();
        Reference ref;
        ref.element = EqualFolded(word, "Source") ? &m_element
                                                 : (m_model ? static_cast<Element*>(m_model->Interface()) : nullptr);
        ref.kind = ref.element ? Reference::Found : Reference::Missing;
        return ref;
    }
    int32_t card = InterfaceModel::kCallerCard;
    auto startsWithCard = word.size() >= 4 && EqualFolded(word.substr(0, 4), "Card");
    bool digitsOnly = startsWithCard;
    for (size_t i = 4; digitsOnly && i < word.size(); ++i)
        digitsOnly = word[i] >= '0' && word[i] <= '9';
    if (startsWithCard && digitsOnly) {
        if (word.size() > 4) {
            // "Card0" is Card -1, the Background, as "Card 0" is.
            card = static_cast<int32_t>(std::min<long>(std::strtol(word.c_str() + 4, nullptr, 10), 1L << 30)) - 1;
        } else {
            if (s.Next() != TokenKind::Number)
                return giveUp();
            double number = s.Value();
            card = number < 1e9 ? static_cast<int32_t>(number) - 1 : InterfaceModel::kNotOnCard;
        }
        if (s.Next() != TokenKind::Identifier)
            return giveUp();
        word = s.Text();
    } else if (EqualFolded(word, "Background")) {
        card = InterfaceModel::kBackground;
        if (s.Next() != TokenKind::Identifier)
            return giveUp();
        word = s.Text();
    }
    size_t digit = 0;
    while (digit < word.size() && !(word[digit] >= '0' && word[digit] <= '9'))
        ++digit;
    std::string type = word.substr(0, digit);
    if (digit < word.size())
        s.SetPosition(s.TokenStart() + static_cast<int32_t>(digit));
    TokenKind kind = s.Next();
    Reference ref;
    ref.kind = Reference::Missing;
    if (kind == TokenKind::StringLiteral) {
        std::string name = s.Text();
        if (!NextIsOperator(kColon))
            return giveUp();
        if (m_model)
            ref.element = m_model->FindReferencedByName(m_element, card, name, type);
    } else if (kind == TokenKind::Number || (kind == TokenKind::Identifier && s.Text().size() == 1
                                                && ScriptEngine::GlobalSlot(s.Text()) >= 0
                                                && ScriptEngine::GlobalSlot(s.Text()) < ScriptEngine::kDoubleGlobals)) {
        double number = kind == TokenKind::Number ? s.Value() : m_engine.DoubleGlobal(ScriptEngine::GlobalSlot(s.Text()));
        if (!NextIsOperator(kColon))
            return giveUp();
        double whole = std::trunc(number);
        auto id = whole > -2e9 && whole < 2e9 ? static_cast<int32_t>(whole) : 0;
        if (m_model)
            ref.element = m_model->FindReferenced(m_element, card, id, type);
    } else {
        return giveUp();
    }
    if (ref.element)
        ref.kind = Reference::Found;
    return ref;
}

}  // namespace tamber
