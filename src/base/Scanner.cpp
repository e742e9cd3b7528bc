#include "base/Scanner.h"

#include "base/AsciiCase.h"

#include <cstring>

namespace tamber {

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kQuote = '"';
constexpr char kEscape = '\\';

bool IsDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

bool IsNameStart(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsNamePart(uint8_t c)
{
    return IsNameStart(c) || IsDigit(c);
}

int HexDigit(uint8_t c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The byte at pos, or NUL past the end: the end of the text reads as its terminator.
uint8_t At(std::string_view src, int32_t pos)
{
    return pos >= 0 && static_cast<size_t>(pos) < src.size() ? static_cast<uint8_t>(src[pos]) : 0;
}

}  // namespace

void Scanner::SetSource(const MemoryBlock& text)
{
    m_state = State{&text, {}, 0, 0};
}

void Scanner::SetSource(std::string_view text)
{
    m_state = State{nullptr, text, 0, 0};
}

std::string_view Scanner::Source() const
{
    if (m_state.block)
        return m_state.block->View();
    return m_state.view;
}

void Scanner::SetPosition(int32_t offset)
{
    std::string_view src = Source();
    auto length = static_cast<int32_t>(src.size());
    // The last byte is the terminator when there is one; a text without one ends at its size.
    int32_t last = (length > 0 && src[length - 1] == '\0') ? length - 1 : length;
    if (offset > last)
        offset = last;
    if (offset < 0)
        offset = 0;
    m_state.position = offset;
    m_state.tokenStart = offset;
}

int32_t Scanner::AddEntry(MemoryBlock& table, std::string_view text, int32_t code)
{
    if (text.empty() || text.size() > static_cast<size_t>(kMaxWordLength) || text.find('\0') != text.npos)
        return 0;
    table.AppendInt(static_cast<int32_t>(text.size()) + 1, kTableLengthSize);
    table.AppendString(text, Nul::Include);
    table.AppendInt(code, kTableCodeSize);
    return 1;
}

int32_t Scanner::AddOperator(std::string_view text, int32_t code)
{
    if (text.size() > static_cast<size_t>(kMaxOperatorLength) || !AddEntry(m_operators, text, code))
        return 0;
    auto first = static_cast<uint8_t>(text[0]);
    m_operatorStarts[first >> 6] |= uint64_t{1} << (first & 63);
    return 1;
}

int32_t Scanner::AddKeyword(std::string_view text, int32_t code)
{
    return AddEntry(m_keywords, text, code);
}

void Scanner::AddOperators(std::span<const ScannerWord> table)
{
    for (const ScannerWord& word : table)
        AddOperator(word.text, word.code);
}

void Scanner::AddKeywords(std::span<const ScannerWord> table)
{
    for (const ScannerWord& word : table)
        AddKeyword(word.text, word.code);
}

int32_t Scanner::Lookup(const MemoryBlock& table, std::string_view text)
{
    int32_t offset = 0;
    while (offset < table.Size()) {
        int32_t n = table.ReadInt(offset, kTableLengthSize);
        if (n < 1 || offset + kTableLengthSize + n + kTableCodeSize > table.Size())
            break;
        std::string_view entry(reinterpret_cast<const char*>(table.Data(offset + kTableLengthSize)), n - 1);
        if (EqualFolded(entry, text))
            return table.ReadInt(offset + kTableLengthSize + n, kTableCodeSize);
        offset += kTableLengthSize + n + kTableCodeSize;
    }
    return -1;
}

TokenKind Scanner::Next()
{
    std::string_view src = Source();
    int32_t pos = m_state.position;
    if (pos < 0)
        pos = 0;
    for (;;) {
        uint8_t c = At(src, pos);
        if (c == ' ' || c == '\t' || c == kLf || (c == kCr && m_lineBreaks == LineBreaks::AreSpace))
            ++pos;
        else
            break;
    }
    m_state.tokenStart = pos;
    m_text.clear();
    m_code = -1;
    m_value = 0;

    uint8_t c = At(src, pos);
    if (c == 0) {
        m_kind = TokenKind::EndOfText;
    } else if (c == kCr) {
        m_kind = TokenKind::EndOfLine;
        ++pos;
    } else if (IsNameStart(c)) {
        ScanName(src, pos);
    } else if (IsDigit(c) || (c == '.' && IsDigit(At(src, pos + 1)))) {
        ScanNumber(src, pos);
    } else if (c == '.') {
        m_kind = TokenKind::Identifier;
        m_text = ".";
        ++pos;
    } else if (c == kQuote) {
        ScanString(src, pos);
    } else {
        m_kind = TokenKind::Identifier;
        m_text.assign(1, static_cast<char>(c));
        ++pos;
        if (m_operatorStarts[c >> 6] & (uint64_t{1} << (c & 63))) {
            char pair[2] = {static_cast<char>(c), static_cast<char>(At(src, pos))};
            int32_t code = pair[1] ? Lookup(m_operators, std::string_view(pair, 2)) : -1;
            if (code >= 0) {
                ++pos;
                m_text.assign(pair, 2);
            } else {
                code = Lookup(m_operators, std::string_view(pair, 1));
            }
            if (code >= 0) {
                m_kind = TokenKind::Operator;
                m_code = code;
            }
        }
    }
    m_state.position = pos;
    return m_kind;
}

void Scanner::ScanName(std::string_view src, int32_t& pos)
{
    int32_t start = pos;
    while (IsNamePart(At(src, pos)))
        ++pos;
    m_text.assign(src.substr(start, pos - start));
    m_code = Lookup(m_keywords, m_text);
    m_kind = m_code >= 0 ? TokenKind::Keyword : TokenKind::Identifier;
}

void Scanner::ScanNumber(std::string_view src, int32_t& pos)
{
    int32_t start = pos;
    m_kind = TokenKind::Number;
    if (At(src, pos) == '0' && (At(src, pos + 1) | 0x20) == 'x') {
        pos += 2;
        if (HexDigit(At(src, pos)) < 0) {
            // "0x" with no hex digit after it is a name of its own.
            m_kind = TokenKind::Identifier;
            m_text.assign(src.substr(start, 2));
            return;
        }
        for (int d = HexDigit(At(src, pos)); d >= 0; d = HexDigit(At(src, ++pos)))
            m_value = m_value * 16 + d;
        m_text.assign(src.substr(start, pos - start));
        return;
    }
    while (IsDigit(At(src, pos)))
        m_value = m_value * 10 + (At(src, pos++) - '0');
    if (At(src, pos) == '.') {
        ++pos;
        double scale = 0.1;
        while (IsDigit(At(src, pos))) {
            m_value += (At(src, pos++) - '0') * scale;
            scale *= 0.1;
        }
    }
    m_text.assign(src.substr(start, pos - start));
}

void Scanner::ScanString(std::string_view src, int32_t& pos)
{
    m_kind = TokenKind::StringLiteral;
    ++pos;  // the opening quote
    for (;;) {
        uint8_t c = At(src, pos);
        if (c == 0)
            break;  // an unclosed string runs to the end of the text
        ++pos;
        if (c == kQuote)
            break;
        if (c == kEscape && m_escapes == Escapes::On) {
            c = At(src, pos);
            if (c == 0)
                break;
            ++pos;
        }
        m_text.push_back(static_cast<char>(c));
    }
}

}  // namespace tamber
