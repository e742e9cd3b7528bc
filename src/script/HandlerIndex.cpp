#include "script/HandlerIndex.h"

#include "base/Scanner.h"
#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "script/HandlerHeader.h"

namespace tamber {

namespace {

int32_t FindChar(const MemoryBlock& text, int32_t from, char c)
{
    if (from < 0 || from >= text.Size())
        return -1;
    return text.Find(from, &c, 1, Exact::Yes, Direction::Forward);
}

bool IsNameCharacter(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'
        || c >= 0x80;
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
    const int32_t length = static_cast<int32_t>(header.size());
    for (int32_t at = 0;; ++at) {
        at = script.Find(at, header.data(), length, Exact::Yes, Direction::Forward);
        if (at < 0)
            return -1;
        // "Clicked ( ) {" inside "DoubleClicked ( ) {" is not the header of "Clicked".
        if (at == 0 || !IsNameCharacter(script.Data()[at - 1]))
            return at;
    }
}

void HandlerIndex::NormaliseHeaders(MemoryBlock& script)
{
    // Only header lines outside handlers are rewritten, so statements, comments and stubs that
    // hold parentheses are never touched and rewriting twice changes nothing.
    std::vector<HandlerHeader> headers = HandlerHeader::Scan(script);
    for (auto it = headers.rbegin(); it != headers.rend(); ++it) {
        if (it->name.empty() || it->plain)
            continue;
        int32_t from = it->start + static_cast<int32_t>(it->name.size());
        if (FindChar(script, from, '(') < 0 || FindChar(script, from, '(') >= it->end)
            continue;
        script.Delete(from, it->end - from);
        script.InsertString(from, kHeaderFormat, Nul::Exclude);
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
