#pragma once

#include <cstdint>
#include <string_view>

#include "base/Scanner.h"

namespace tamber {

// The base grammar on its own: decides whether one text satisfies an expression of words,
// strings and numbers joined by "and", "or" and "but not", with "all", "not", "exactly",
// "morethan", "lessthan" and parentheses. A word is contained when it occurs anywhere in the
// text, ASCII case ignored; counting terms count its non-overlapping occurrences.
class QueryTextMatcher {
public:
    QueryTextMatcher();
    // Answers 1 when the text satisfies the expression, 0 when not, -1 for a syntax error.
    int32_t Match(std::string_view expression, std::string_view text);

    // Non-overlapping occurrences of word in text, ASCII case ignored.
    static int64_t Occurrences(std::string_view text, std::string_view word);

private:
    bool Expression(bool& value, int depth);
    bool Term(bool& value, int depth);

    Scanner m_scanner;
    std::string_view m_text;
};

}  // namespace tamber
