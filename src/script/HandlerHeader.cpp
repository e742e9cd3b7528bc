#include "script/HandlerHeader.h"

#include <string_view>

#include "base/AsciiCase.h"
#include "iface/Element.h"

namespace tamber {

namespace {

constexpr char kCr = '\r';
constexpr std::string_view kPlainTail = " ( ) {";

bool IsBlank(uint8_t c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsNameStart(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsNameChar(uint8_t c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(static_cast<uint8_t>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(static_cast<uint8_t>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool IsName(std::string_view text)
{
    if (text.empty() || !IsNameStart(static_cast<uint8_t>(text.front())))
        return false;
    for (char c : text) {
        if (!IsNameChar(static_cast<uint8_t>(c)))
            return false;
    }
    return true;
}

// The script text without its terminating NUL (and whatever a stray NUL hides).
std::string_view Body(const MemoryBlock& script)
{
    std::string_view text = script.View();
    size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

size_t LineEnd(std::string_view text, size_t from)
{
    size_t end = text.find(kCr, from);
    return end == std::string_view::npos ? text.size() : end;
}

size_t SkipBlanks(std::string_view text, size_t at, size_t end)
{
    while (at < end && IsBlank(static_cast<uint8_t>(text[at])))
        ++at;
    return at;
}

int32_t CountLines(std::string_view text, size_t from, size_t to)
{
    int32_t lines = 0;
    for (size_t i = from; i < to && i < text.size(); ++i)
        lines += text[i] == kCr;
    return lines;
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// Reads a header whose name starts at `at`. Answers the offset just past its "{", or npos when
// the line holds no "{" (then it is not a header at all). The brace may stand on a later line
// when only line breaks and blanks come between the ")" and it.
size_t ParseHeader(std::string_view text, size_t at, HandlerHeader& header)
{
    size_t lineEnd = LineEnd(text, at);
    size_t brace = text.find('{', at);
    size_t nameEnd = at;
    while (nameEnd < lineEnd && IsNameChar(static_cast<uint8_t>(text[nameEnd])))
        ++nameEnd;
    header.start = static_cast<int32_t>(at);
    header.name
        = IsNameStart(static_cast<uint8_t>(text[at])) ? std::string(text.substr(at, nameEnd - at)) : "";
    size_t open = SkipBlanks(text, nameEnd, lineEnd);
    if (open < lineEnd && text[open] == '(') {
        size_t close = text.find(')', open);
        if (close < lineEnd) {
            // After ")" only blanks and line breaks may come before the "{".
            size_t after = close + 1;
            while (after < text.size() && (IsBlank(static_cast<uint8_t>(text[after])) || text[after] == kCr))
                ++after;
            if (after < text.size() && text[after] == '{') {
                std::string_view list = Trim(text.substr(open + 1, close - open - 1));
                bool names = true;
                while (!list.empty()) {
                    size_t comma = list.find(',');
                    std::string_view param = Trim(list.substr(0, comma));
                    names = names && IsName(param);
                    header.params.emplace_back(param);
                    if (comma == std::string_view::npos)
                        break;
                    list.remove_prefix(comma + 1);
                    if (Trim(list).empty()) {
                        names = false;
                        break;
                    }
                }
                header.wellFormed = !header.name.empty() && names;
                header.end = static_cast<int32_t>(after + 1);
                header.plain = text.substr(at, after + 1 - at) == header.name + std::string(kPlainTail);
                return after + 1;
            }
        }
    }
    if (brace >= lineEnd)
        return std::string_view::npos;
    header.end = static_cast<int32_t>(brace + 1);
    return brace + 1;
}

}  // namespace

std::vector<HandlerHeader> HandlerHeader::Scan(const MemoryBlock& script, std::vector<std::string>* problems)
{
    std::vector<HandlerHeader> headers;
    std::string_view text = Body(script);
    auto report = [&](int32_t line, const std::string& message) {
        if (problems)
            problems->push_back("line " + std::to_string(line) + ": " + message);
    };
    bool inside = false;
    size_t at = 0;
    int32_t line = 1;
    while (at < text.size()) {
        size_t end = LineEnd(text, at);
        size_t first = SkipBlanks(text, at, end);
        size_t next = end < text.size() ? end + 1 : end;
        if (first == end) {
            line += CountLines(text, at, next);
            at = next;
            continue;
        }
        if (text[first] == '}') {
            // The rest of the line after a closing brace starts afresh (a stub may follow it).
            if (!inside)
                report(line, "a \"}\" outside any handler");
            inside = false;
            at = first + 1;
            continue;
        }
        if (inside && text.find('{', first) >= end) {
            line += CountLines(text, at, next);
            at = next;
            continue;
        }
        if (inside) {
            report(line, "the handler " + Quoted(headers.back().name) + " has no \"}\" before this header");
            inside = false;
        }
        if (text[first] == ';') {
            line += CountLines(text, at, next);
            at = next;
            continue;
        }
        HandlerHeader header;
        header.line = line;
        size_t body = ParseHeader(text, first, header);
        if (body == std::string_view::npos) {
            report(line,
                Quoted(Trim(text.substr(first, end - first))) + " stands outside any handler and never runs");
            line += CountLines(text, at, next);
            at = next;
            continue;
        }
        line += CountLines(text, at, body);
        headers.push_back(std::move(header));
        inside = true;
        at = body;
    }
    if (inside)
        report(headers.back().line, "the handler " + Quoted(headers.back().name) + " has no closing \"}\"");
    return headers;
}

std::vector<std::string> HandlerHeader::Check(const Element& element)
{
    std::vector<std::string> problems;
    std::vector<HandlerHeader> headers = Scan(element.Script(), &problems);
    std::vector<const EventDef*> events;
    for (const EventDef& event : element.EventTable())
        events.push_back(&event);
    for (const EventDef& event : Element::CommonEvents())
        events.push_back(&event);
    std::vector<std::string> seen;
    for (const HandlerHeader& header : headers) {
        std::string where = "line " + std::to_string(header.line) + ": ";
        if (!header.wellFormed) {
            problems.push_back(where + "not a handler header; write it as \"Event ( ) {\"");
            continue;
        }
        const EventDef* exact = nullptr;
        const EventDef* folded = nullptr;
        for (const EventDef* event : events) {
            if (event->name == header.name)
                exact = exact ? exact : event;
            else if (EqualFolded(event->name, header.name))
                folded = folded ? folded : event;
        }
        if (!exact && folded) {
            problems.push_back(where + "the handler " + Quoted(header.name)
                + " never runs: event names are matched " + "exactly, write " + Quoted(folded->name));
            continue;
        }
        if (!exact) {
            problems.push_back(where + Quoted(header.name) + " is not an event of " + element.GetTypeName()
                + "; its handler never runs");
            continue;
        }
        std::vector<std::string> expected;
        for (const ParamDef& param : exact->params) {
            if (param.type != ValueType::Void)
                expected.push_back(param.name);
        }
        bool same = header.params.empty() || header.params.size() == expected.size();
        for (size_t i = 0; same && i < header.params.size(); ++i)
            same = EqualFolded(header.params[i], expected[i]);
        if (!same) {
            std::string list;
            for (const std::string& name : expected)
                list += (list.empty() ? "" : ", ") + name;
            problems.push_back(where + "the handler " + Quoted(header.name)
                + " names parameters the event does not " + "pass; its parameters are (" + list + ")");
        }
        for (const std::string& name : seen) {
            if (name == header.name) {
                problems.push_back(where + "a second handler for " + Quoted(header.name)
                    + " never runs; the first one in the text does");
                break;
            }
        }
        seen.push_back(header.name);
    }
    return problems;
}

}  // namespace tamber
