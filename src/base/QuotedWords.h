#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamber {

// Splits text at any of the separator characters, keeping double-quoted stretches whole (the
// quotes themselves are dropped; "" makes an empty word).
inline std::vector<std::string> SplitQuotedWords(std::string_view text, std::string_view separators)
{
    std::vector<std::string> words;
    std::string current;
    bool inWord = false;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && separators.find(c) != std::string_view::npos) {
            if (inWord)
                words.push_back(std::move(current));
            current.clear();
            inWord = false;
        } else {
            current.push_back(c);
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(std::move(current));
    return words;
}

}  // namespace tamber
