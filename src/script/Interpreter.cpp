#include "script/Interpreter.h"

#include <cmath>
#include <cstdio>
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
        TokenKind kind = s.Next();
        if (kind == TokenKind::EndOfText || (kind == TokenKind::Operator && s.Code() == kRBrace))
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
    bool value = false;
    if (EqualFolded(word, "If")) {
        ++m_ifDepth;
        if (Condition(value) && !value)
            SkipConditional(true, false);
    } else if (EqualFolded(word, "ElseIf") || EqualFolded(word, "Else")) {
        if (m_ifDepth == 0)
            Fail(ScriptError::Syntax);
        else
            SkipConditional(false, EqualFolded(word, "Else"));
    } else if (EqualFolded(word, "EndIf")) {
        if (m_ifDepth == 0)
            Fail(ScriptError::Syntax);
        else
            --m_ifDepth;
    } else if (EqualFolded(word, "While")) {
        if (static_cast<int>(m_loops.size()) >= kMaxLoopDepth) {
            Fail(ScriptError::Syntax);
            return m_error;
        }
        m_loops.push_back(LoopEntry {lineStart, m_line});
        ++m_whileDepth;
        if (Condition(value) && !value)
            SkipLoop();
    } else if (EqualFolded(word, "EndWhile")) {
        if (m_whileDepth == 0 || m_loops.empty()) {
            Fail(ScriptError::Syntax);
        } else {
            LoopEntry entry = m_loops.back();
            m_loops.pop_back();
            --m_whileDepth;
            s.SetPosition(entry.offset);
            m_line = entry.line;
            jumped = true;
        }
    } else if (int slot = ScriptEngine::GlobalSlot(word); slot >= 0) {
        if (NextIsOperator(kAssign))
            GlobalAssignment(slot);
        else
            Fail(ScriptError::Syntax);
    } else {
        s.RestoreState(start);
        ElementStatement();
    }
    return m_error;
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

bool Interpreter::SkipConditional(bool allowBranches, bool fromElse)
{
    ScriptScanner& s = m_engine.m_scanner;
    int nesting = 0;
    for (;;) {
        if (!NextLine())
            return Fail(ScriptError::MissingEnd);
        ++m_line;
        TokenKind kind = s.Next();
        if (kind == TokenKind::EndOfText || (kind == TokenKind::Operator && s.Code() == kRBrace))
            return Fail(ScriptError::MissingEnd);
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
        if (!NextLine())
            return Fail(ScriptError::MissingEnd);
        ++m_line;
        TokenKind kind = s.Next();
        if (kind == TokenKind::EndOfText || (kind == TokenKind::Operator && s.Code() == kRBrace))
            return Fail(ScriptError::MissingEnd);
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
    ScriptValue& v = *temporary;
    if (!Expression(v))
        return false;
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
    bool ok = Logical(out);
    --m_expressionDepth;
    return ok;
}

bool Interpreter::Logical(ScriptValue& out)
{
    if (!Comparison(out))
        return false;
    for (;;) {
        bool isAnd = NextIsOperator(kAnd);
        if (!isAnd && !NextIsOperator(kOr))
            return true;
        Temporary temporary(*this);
        ScriptValue& right = *temporary;
        if (!Comparison(right) || !Cast(out, ValueType::Boolean) || !Cast(right, ValueType::Boolean))
            return false;
        bool a = out.value.Boolean();
        bool b = right.value.Boolean();
        SetBooleanValue(out, isAnd ? (a && b) : (a || b));
    }
}

bool Interpreter::Comparison(ScriptValue& out)
{
    if (!Additive(out))
        return false;
    for (;;) {
        int32_t op = PeekOperator();
        if (op < kEqual || op > kNotEqual)
            return true;
        NextIsOperator(op);
        Temporary temporary(*this);
        ScriptValue& right = *temporary;
        if (!Additive(right))
            return false;
        int order = 0;
        if (IsTextType(out.type)) {
            if (!Cast(out, ValueType::String) || !Cast(right, ValueType::String))
                return false;
            order = CompareNoCase(out.value.String(), right.value.String());
        } else {
            if (!Cast(out, ValueType::Double) || !Cast(right, ValueType::Double))
                return false;
            double a = out.value.Double();
            double b = right.value.Double();
            order = a < b ? -1 : (a > b ? 1 : 0);
            if (op == kNotEqual && std::isnan(a - b))
                order = 1;
        }
        bool result = false;
        switch (op) {
        case kEqual: result = order == 0; break;
        case kNotEqual: result = order != 0; break;
        case kLess: result = order < 0; break;
        case kLessEqual: result = order <= 0; break;
        case kGreater: result = order > 0; break;
        default: result = order >= 0; break;
        }
        SetBooleanValue(out, result);
    }
}

bool Interpreter::Additive(ScriptValue& out)
{
    if (!Multiplicative(out))
        return false;
    for (;;) {
        bool plus = NextIsOperator(kPlus);
        if (!plus && !NextIsOperator(kMinus))
            return true;
        Temporary temporary(*this);
        ScriptValue& right = *temporary;
        if (!Multiplicative(right))
            return false;
        if (plus && IsTextType(out.type)) {
            if (!Cast(out, ValueType::String) || !Cast(right, ValueType::String))
                return false;
            out.value.SetString(out.value.String() + right.value.String());
            continue;
        }
        if (!Cast(out, ValueType::Double) || !Cast(right, ValueType::Double))
            return false;
        double a = out.value.Double();
        double b = right.value.Double();
        SetDoubleValue(out, plus ? a + b : a - b);
    }
}

bool Interpreter::Multiplicative(ScriptValue& out)
{
    if (!Power(out))
        return false;
    for (;;) {
        bool times = NextIsOperator(kTimes);
        if (!times && !NextIsOperator(kDivide))
            return true;
        Temporary temporary(*this);
        ScriptValue& right = *temporary;
        if (!Power(right) || !Cast(out, ValueType::Double) || !Cast(right, ValueType::Double))
            return false;
        double a = out.value.Double();
        double b = right.value.Double();
        if (!times && b == 0.0)
            return Fail(ScriptError::DivideByZero);
        SetDoubleValue(out, times ? a * b : a / b);
    }
}

bool Interpreter::Power(ScriptValue& out)
{
    if (!Unary(out))
        return false;
    while (NextIsOperator(kPower)) {
        Temporary temporary(*this);
        ScriptValue& right = *temporary;
        if (!Unary(right) || !Cast(out, ValueType::Double) || !Cast(right, ValueType::Double))
            return false;
        SetDoubleValue(out, std::pow(out.value.Double(), right.value.Double()));
    }
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
    if (NextIsOperator(kNot)) {
        if (!Unary(out) || !Cast(out, ValueType::Boolean))
            return false;
        SetBooleanValue(out, !out.value.Boolean());
        return true;
    }
    if (NextIsOperator(kMinus)) {
        if (!Unary(out) || !Cast(out, ValueType::Double))
            return false;
        SetDoubleValue(out, -out.value.Double());
        return true;
    }
    return Primary(out);
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
        return true;
    }
    if (kind == TokenKind::StringLiteral) {
        SetStringValue(out, s.Text());
        return true;
    }
    if (kind != TokenKind::Identifier || s.Text().empty() || s.Text() == ".")
        return Fail(ScriptError::Syntax);
    if (int slot = ScriptEngine::GlobalSlot(s.Text()); slot >= 0) {
        if (slot < ScriptEngine::kDoubleGlobals)
            SetDoubleValue(out, m_engine.DoubleGlobal(slot));
        else
            SetStringValue(out, m_engine.StringGlobal(slot - ScriptEngine::kDoubleGlobals));
        return true;
    }
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
    int32_t card = 0;
    if (m_model) {
        card = m_model->CardOf(m_element);
        if (card < 0)
            card = m_model->CurrentCard();
    }
    auto startsWithCard = word.size() >= 4 && EqualFolded(word.substr(0, 4), "Card");
    bool digitsOnly = startsWithCard;
    for (size_t i = 4; digitsOnly && i < word.size(); ++i)
        digitsOnly = word[i] >= '0' && word[i] <= '9';
    if (startsWithCard && digitsOnly) {
        if (word.size() > 4) {
            card = static_cast<int32_t>(std::min<long>(std::strtol(word.c_str() + 4, nullptr, 10), 1L << 30)) - 1;
        } else {
            if (s.Next() != TokenKind::Number)
                return giveUp();
            double number = s.Value();
            card = number < 1e9 ? static_cast<int32_t>(number) - 1 : -3;
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
        ref.element = FindByName(card, type, name);
    } else if (kind == TokenKind::Number || (kind == TokenKind::Identifier && s.Text().size() == 1
                                                && ScriptEngine::GlobalSlot(s.Text()) >= 0
                                                && ScriptEngine::GlobalSlot(s.Text()) < ScriptEngine::kDoubleGlobals)) {
        double number = kind == TokenKind::Number ? s.Value() : m_engine.DoubleGlobal(ScriptEngine::GlobalSlot(s.Text()));
        if (!NextIsOperator(kColon))
            return giveUp();
        double whole = std::trunc(number);
        auto id = whole > -2e9 && whole < 2e9 ? static_cast<int32_t>(whole) : 0;
        if (m_model)
            ref.element = m_model->FindElement(card, id, type);
    } else {
        return giveUp();
    }
    if (ref.element)
        ref.kind = Reference::Found;
    return ref;
}

Element* Interpreter::FindByName(int32_t card, std::string_view type, std::string_view name) const
{
    if (!m_model)
        return nullptr;
    const Card* holder = m_model->CardAt(card);
    if (!holder)
        return nullptr;
    for (const auto& element : holder->elements) {
        if (EqualFolded(element->GetName(), name) && (type.empty() || EqualFolded(element->GetTypeName(), type)))
            return element.get();
    }
    return nullptr;
}

}  // namespace tamber
