#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/MemoryBlock.h"

namespace tamber {

// What Scanner::Next() found. The values are part of the interpreter's vocabulary.
enum class TokenKind : int32_t {
    Identifier = 0,     // a name; also what an unrecognised character yields
    Keyword = 1,        // a name found in the keyword table
    Operator = 2,       // a registered operator; Code() tells which
    StringLiteral = 3,  // a quoted string; Text() is its content without the quotes
    Number = 4,         // a numeric literal; Value() is its value, Text() its source characters
    EndOfLine = 5,      // a CR, only when line breaks are not white space
    EndOfText = 6,      // the terminating NUL or the end of the text
};

enum class LineBreaks { AreTokens, AreSpace };
enum class Escapes { Off, On };

// One row of an operator or keyword table given to the scanner as data.
struct ScannerWord {
    std::string_view text;
    int32_t code;
};

// Cuts a text into tokens: names, keywords, numbers, quoted strings and registered operators.
// The scanner observes its source and never owns it; a MemoryBlock source is re-read at every
// positioning, so the text may grow (and move) between uses. Everything a caller must put back
// after running the scanner over another text is in State.
class Scanner {
public:
    // The source and the reading position: saved and restored around nested uses.
    struct State {
        const MemoryBlock* block = nullptr;
        std::string_view view;
        int32_t position = 0;
        int32_t tokenStart = 0;
    };

    // Operator and keyword tables are packed lists of {u8 length + 1, text, NUL, u32 code}.
    static constexpr int32_t kTableLengthSize = 1;
    static constexpr int32_t kTableCodeSize = 4;
    static constexpr int32_t kMaxOperatorLength = 2;
    static constexpr int32_t kMaxWordLength = 254;

    void SetSource(const MemoryBlock& text);
    void SetSource(std::string_view text);
    // A position past the end is clamped to the last byte (the terminator), a negative one to 0.
    void SetPosition(int32_t offset);
    int32_t GetPosition() const { return m_state.position; }
    State SaveState() const { return m_state; }
    void RestoreState(const State& state) { m_state = state; }

    void SetLineBreaksAreSpace(LineBreaks breaks) { m_lineBreaks = breaks; }
    void SetEscapes(Escapes escapes) { m_escapes = escapes; }

    // Registers an operator of one or two characters, or a keyword (a name). Answers 1, or 0
    // when the text does not fit the table.
    int32_t AddOperator(std::string_view text, int32_t code);
    int32_t AddKeyword(std::string_view text, int32_t code);
    void AddOperators(std::span<const ScannerWord> table);
    void AddKeywords(std::span<const ScannerWord> table);
    const MemoryBlock& OperatorTable() const { return m_operators; }
    const MemoryBlock& KeywordTable() const { return m_keywords; }

    // Reads the next token and answers its kind; its text, code and value are then available.
    TokenKind Next();
    // Moves back to the start of the token just read.
    void Rewind() { m_state.position = m_state.tokenStart; }

    TokenKind Kind() const { return m_kind; }
    const std::string& Text() const { return m_text; }
    int32_t Code() const { return m_code; }
    double Value() const { return m_value; }
    int32_t TokenStart() const { return m_state.tokenStart; }

private:
    std::string_view Source() const;
    void ScanName(std::string_view src, int32_t& pos);
    void ScanNumber(std::string_view src, int32_t& pos);
    void ScanString(std::string_view src, int32_t& pos);
    // Looks text up in a packed table (ASCII case ignored); answers the code or -1.
    static int32_t Lookup(const MemoryBlock& table, std::string_view text);
    static int32_t AddEntry(MemoryBlock& table, std::string_view text, int32_t code);

    State m_state;
    LineBreaks m_lineBreaks = LineBreaks::AreTokens;
    Escapes m_escapes = Escapes::On;
    MemoryBlock m_operators;
    MemoryBlock m_keywords;
    // Bit per byte value: can this character start a registered operator?
    uint64_t m_operatorStarts[4] = {};

    TokenKind m_kind = TokenKind::EndOfText;
    std::string m_text;
    int32_t m_code = -1;
    double m_value = 0;
};

}  // namespace tamber
