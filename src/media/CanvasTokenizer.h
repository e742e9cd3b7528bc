#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamber {

// Numbers of the words the canvas text is made of, and of its brackets.
namespace CanvasKeyword {
constexpr int32_t kNone = -1; // any other word (its text is kept)
constexpr int32_t kCanvas = 0;
constexpr int32_t kBackground = 1;
constexpr int32_t kStretch = 2;
constexpr int32_t kTile = 3;
constexpr int32_t kObject = 4;
constexpr int32_t kDeleted = 5;
constexpr int32_t kCommand = 6;
constexpr int32_t kEventGroup = 7;
constexpr int32_t kEvent = 8;
constexpr int32_t kFirstObjectType = 9; // LINE; object type = keyword - 9
constexpr int32_t kLine = 9;
constexpr int32_t kRect = 10;
constexpr int32_t kRoundRect = 11;
constexpr int32_t kOval = 12;
constexpr int32_t kPolygon = 18;
constexpr int32_t kLastObjectType = 21; // GROUP
constexpr int32_t kFirstCommand = 22; // ADD; command type = keyword - 22
constexpr int32_t kLastCommand = 33; // SETORDER
constexpr int32_t kFont = 34;
constexpr int32_t kBold = 35;
constexpr int32_t kItalic = 36;
constexpr int32_t kUnderline = 37;
constexpr int32_t kStrikeOut = 38;
constexpr int32_t kListOpen = 9996;
constexpr int32_t kListClose = 9997;
constexpr int32_t kBlockOpen = 9998;
constexpr int32_t kBlockClose = 9999;

// The keyword's number (compared without regard to ASCII case), or kNone.
int32_t Find(std::string_view word);
} // namespace CanvasKeyword

struct CanvasToken {
    enum class Kind : uint8_t { End, Word, String, Bad };
    Kind kind = Kind::End;
    int32_t keyword = CanvasKeyword::kNone; // for words and brackets
    std::string text; // a word as written; a string between its quotes, as written

    bool Is(int32_t number) const { return kind == Kind::Word && keyword == number; }
    // A word that is a number: "-" and decimal digits, or "0x" and hexadecimal digits.
    bool Number(int32_t& value) const;
};

// Splits the canvas text into words, brackets and quoted strings. Spaces, commas, "=", "|", ";",
// carriage returns and line feeds separate; "{", "}", "(" and ")" are tokens of their own; a
// double quote starts a string that runs to the next double quote that is not doubled.
class CanvasTokenizer {
public:
    explicit CanvasTokenizer(std::string_view text)
        : m_text(text)
    {
    }

    CanvasToken Next();
    // The numbers of a point list, from here to the "}" that ends it (consumed): every run of
    // decimal digits with an optional leading "-" is a number (kept within the canvas's
    // coordinate range), anything else separates. Answers
    // false when the text ends first.
    bool PointNumbers(std::vector<int32_t>& numbers);
    size_t Position() const { return m_pos; }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

// A string token's text with its escapes resolved: backslash-n becomes a carriage return,
// two backslashes one backslash and two double quotes one double quote.
std::string UnescapeCanvasString(std::string_view text);

} // namespace tamber
