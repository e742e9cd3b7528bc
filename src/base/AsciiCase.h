#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamber {

// Names the user or a script supplies compare without regard to ASCII case; other bytes
// (accented letters of Windows-1252 included) compare as they are.

inline uint8_t FoldAsciiUpper(uint8_t c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 'a' + 'A') : c;
}

inline std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

inline bool EqualFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAsciiUpper(static_cast<uint8_t>(a[i])) != FoldAsciiUpper(static_cast<uint8_t>(b[i])))
            return false;
    return true;
}

// -1, 0 or 1 as a sorts before, equal to or after b, comparing folded bytes, then lengths.
inline int CompareFolded(std::string_view a, std::string_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        uint8_t x = FoldAsciiUpper(static_cast<uint8_t>(a[i]));
        uint8_t y = FoldAsciiUpper(static_cast<uint8_t>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace tamber
