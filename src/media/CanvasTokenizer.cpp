#include "media/CanvasTokenizer.h"

#include <algorithm>
#include <array>
#include <limits>

#include "base/AsciiCase.h"
#include "media/CanvasObject.h"

namespace tamber {

namespace {

// The keyword table: a word's number is its place here.
constexpr std::array<std::string_view, 39> kKeywords = {
    "CANVAS",
    "BACKGROUND",
    "STRETCH",
    "TILE",
    "OBJECT",
    "DELETED",
    "COMMAND",
    "EVENTGROUP",
    "EVENT",
    "LINE",
    "RECT",
    "ROUNDRECT",
    "OVAL",
    "POLYLINE",
    "ERASER",
    "SPRAY",
    "TEXT",
    "FILL",
    "POLYGON",
    "BITMAP",
    "CURVE",
    "GROUP",
    "ADD",
    "REMOVE",
    "MOVE",
    "RESIZE",
    "TOTOP",
    "SWAP",
    "ADDINGROUP",
    "MACROBEGIN",
    "MACROEND",
    "ATTRIBUTE",
    "MOVETO",
    "SETORDER",
    "FONT",
    "BOLD",
    "ITALIC",
    "UNDERLINE",
    "STRIKEOUT",
};

bool IsSeparator(char c)
{
    return c == ' ' || c == ',' || c == '=' || c == '|' || c == ';' || c == '\r' || c == '\n';
}

bool IsSpecial(char c)
{
    return c == '{' || c == '}' || c == '(' || c == ')' || c == '"';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigit(char c)
{
    if (IsDigit(c))
        return c - '0';
    const uint8_t upper = FoldAsciiUpper(static_cast<uint8_t>(c));
    return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

} // namespace

int32_t CanvasKeyword::Find(std::string_view word)
{
    for (size_t i = 0; i < kKeywords.size(); ++i) {
        if (EqualFolded(word, kKeywords[i]))
            return static_cast<int32_t>(i);
    }
    return kNone;
}

bool CanvasToken::Number(int32_t& value) const
{
    if (kind != Kind::Word || keyword != CanvasKeyword::kNone || text.empty())
        return false;
    const std::string_view t = text;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        // Colours are written in hexadecimal and may use all 32 bits.
        if (t.size() > 10)
            return false;
        uint32_t v = 0;
        for (size_t i = 2; i < t.size(); ++i) {
            const int d = HexDigit(t[i]);
            if (d < 0)
                return false;
            v = v << 4 | static_cast<uint32_t>(d);
        }
        value = static_cast<int32_t>(v);
        return true;
    }
    size_t i = t[0] == '-' ? 1 : 0;
    if (i == t.size())
        return false;
    int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (!IsDigit(t[i]))
            return false;
        v = v * 10 + (t[i] - '0');
        if (v > std::numeric_limits<uint32_t>::max())
            return false;
    }
    // Decimal colours above the signed range keep their bits.
    value = static_cast<int32_t>(static_cast<uint32_t>(t[0] == '-' ? -v : v));
    return true;
}

CanvasToken CanvasTokenizer::Next()
{
    CanvasToken token;
    while (m_pos < m_text.size() && IsSeparator(m_text[m_pos]))
        ++m_pos;
    if (m_pos >= m_text.size())
        return token;
    const char c = m_text[m_pos];
    token.kind = CanvasToken::Kind::Word;
    switch (c) {
    case '{':
        token.keyword = CanvasKeyword::kBlockOpen;
        break;
    case '}':
        token.keyword = CanvasKeyword::kBlockClose;
        break;
    case '(':
        token.keyword = CanvasKeyword::kListOpen;
        break;
    case ')':
        token.keyword = CanvasKeyword::kListClose;
        break;
    default:
        break;
    }
    if (token.keyword != CanvasKeyword::kNone) {
        token.text.assign(1, c);
        ++m_pos;
        return token;
    }
    if (c == '"') {
        size_t end = m_pos + 1;
        for (;;) {
            end = m_text.find('"', end);
            if (end == std::string_view::npos) {
                token.kind = CanvasToken::Kind::Bad;
                m_pos = m_text.size();
                return token;
            }
            if (end + 1 < m_text.size() && m_text[end + 1] == '"') {
                end += 2;
                continue;
            }
            break;
        }
        token.kind = CanvasToken::Kind::String;
        token.text = std::string(m_text.substr(m_pos + 1, end - m_pos - 1));
        m_pos = end + 1;
        return token;
    }
    const size_t start = m_pos;
    while (m_pos < m_text.size() && !IsSeparator(m_text[m_pos]) && !IsSpecial(m_text[m_pos]))
        ++m_pos;
    token.text = std::string(m_text.substr(start, m_pos - start));
    token.keyword = CanvasKeyword::Find(token.text);
    return token;
}

bool CanvasTokenizer::PointNumbers(std::vector<int32_t>& numbers)
{
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos];
        if (c == '}') {
            ++m_pos;
            return true;
        }
        const bool negative = c == '-' && m_pos + 1 < m_text.size() && IsDigit(m_text[m_pos + 1]);
        if (!IsDigit(c) && !negative) {
            ++m_pos;
            continue;
        }
        if (negative)
            ++m_pos;
        int64_t v = 0;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) {
            v = std::min<int64_t>(v * 10 + (m_text[m_pos] - '0'), kMaxCanvasCoordinate);
            ++m_pos;
        }
        numbers.push_back(static_cast<int32_t>(negative ? -v : v));
    }
    return false;
}

std::string UnescapeCanvasString(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '\\' && next == 'n') {
            out.push_back('\r');
            ++i;
        } else if ((c == '\\' && next == '\\') || (c == '"' && next == '"')) {
            out.push_back(c);
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace tamber
