#include "script/HandlerIndex.h"

#include "base/Scanner.h"
#include "iface/Element.h"
#include "iface/InterfaceModel.h"

namespace tamber {

namespace {

int32_t FindChar(const MemoryBlock& text, int32_t from, char c)
{
    if (from < 0 || from >= text.Size())
        return -1;
    return text.Find(from, &c, 1, Exact::Yes, Direction::Forward);
}

void AddEntry(MemoryBlock& tokens, std::string_view name, int32_t offset)
{
    if (name.empty() || name.size() > static_cast<size_t>(MemoryBlock::kMaxPStringLength))
        return;
    tokens.AppendPString(name);
    tokens.AppendInt(offset, HandlerIndex::kOffsetSize);
}

// Makes sure the text ends with exactly its terminating NUL.
void EnsureTerminated(MemoryBlock& script)
{
    if (script.Empty() || script.Data()[script.Size() - 1] != 0)
        script.AppendInt(0, 1);
}

void InsertBeforeNul(MemoryBlock& script, std::string_view text)
{
    EnsureTerminated(script);
    script.InsertString(script.Size() - 1, text, Nul::Exclude);
}

}  // namespace

void HandlerIndex::Rebuild(const MemoryBlock& script, MemoryBlock& tokens)
{
    tokens.Clear();
    Scanner scanner;
    scanner.SetLineBreaksAreSpace(LineBreaks::AreSpace);
    scanner.SetEscapes(Escapes::Off);
    scanner.SetSource(script);
    if (scanner.Next() == TokenKind::Identifier && !scanner.Text().empty() && scanner.Text() != ".")
        AddEntry(tokens, scanner.Text(), 0);
    int32_t open = FindChar(script, 0, '{');
    while (open >= 0) {
        int32_t close = FindChar(script, open + 1, '}');
        if (close < 0)
            break;
        int32_t at = close + 1;
        while (at < script.Size() && (script.Data()[at] == '\r' || script.Data()[at] == '\n'))
            ++at;
        scanner.SetPosition(at);
        if (scanner.Next() == TokenKind::Identifier && !scanner.Text().empty() && scanner.Text() != ".")
            AddEntry(tokens, scanner.Text(), scanner.TokenStart());
        open = FindChar(script, close + 2, '{');
    }
}

int32_t HandlerIndex::EntryOffset(const MemoryBlock& tokens, int32_t n, std::string* name)
{
    int32_t at = 0;
    for (int32_t i = 0; at < tokens.Size(); ++i) {
        int32_t length = tokens.ReadInt(at, kLengthSize);
        if (length < 1 || at + kLengthSize + length + kOffsetSize > tokens.Size())
            return -1;
        if (i == n) {
            if (name)
                *name = tokens.ReadCString(at + kLengthSize);
            return tokens.ReadInt(at + kLengthSize + length, kOffsetSize);
        }
        at += kLengthSize + length + kOffsetSize;
    }
    return -1;
}

int32_t HandlerIndex::FindHeader(const MemoryBlock& script, std::string_view eventName)
{
    std::string header = std::string(eventName) + kHeaderFormat;
    int32_t at = script.Find(0, header.data(), static_cast<int32_t>(header.size()), Exact::Yes, Direction::Forward);
    return at < 0 ? -1 : at;
}

void HandlerIndex::NormaliseHeaders(MemoryBlock& script)
{
    int32_t from = 0;
    for (;;) {
        int32_t paren = FindChar(script, from, '(');
        if (paren < 0)
            return;
        int32_t brace = FindChar(script, paren + 1, '{');
        if (brace < 0)
            return;
        // The name keeps no blanks of its own before the parenthesis; the header becomes the
        // plain form "Name ( ) {".
        int32_t start = paren;
        while (start > from && script.Data()[start - 1] == ' ')
            --start;
        script.Delete(start, brace - start + 1);
        script.InsertString(start, kHeaderFormat, Nul::Exclude);
        brace = start + 5;
        int32_t close = FindChar(script, brace + 1, '}');
        if (close < 0)
            return;
        from = close;
    }
}

void HandlerIndex::EnsureEventStubs(Element& element)
{
    MemoryBlock& script = element.Script();
    EnsureTerminated(script);
    NormaliseHeaders(script);
    auto add = [&](const std::vector<EventDef>& events) {
        for (const EventDef& event : events) {
            if (FindHeader(script, event.name) < 0)
                InsertBeforeNul(script, event.name + kDefaultBody);
        }
    };
    add(Element::CommonEvents());
    add(element.EventTable());
    Rebuild(script, element.Tokens());
}

void HandlerIndex::AddStatements(Element& element, std::string_view eventName, std::string_view statements)
{
    EnsureEventStubs(element);
    std::string lines(statements);
    for (char& c : lines) {
        if (c == '{' || c == '}')
            c = ' ';
    }
    MemoryBlock& script = element.Script();
    if (FindHeader(script, eventName) < 0)
        InsertBeforeNul(script, "\r" + std::string(eventName) + kHeaderFormat + "\r\r}\r");
    int32_t header = FindHeader(script, eventName);
    int32_t close = FindChar(script, header, '}');
    if (close < 0)
        return;
    script.InsertString(close, lines + "\r", Nul::Exclude);
    Rebuild(script, element.Tokens());
    if (element.Parent())
        element.Parent()->SetModified(true);
}

}  // namespace tamber
