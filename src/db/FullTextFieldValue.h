#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/MemoryBlock.h"
#include "db/FullTextFormat.h"

namespace tamber {

// One field value of the index: a string, a number (integer part and a fraction in units of
// 1e-9) or a date (month, day, year).
struct FullTextFieldValue {
    fulltext::FieldKind kind = fulltext::kFieldString;
    std::string text;
    int32_t integer = 0;
    int32_t fraction = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint16_t year = 0;

    static FullTextFieldValue String(std::string_view text);
    static FullTextFieldValue Number(double value);
    static FullTextFieldValue Date(int month, int day, int year);
    // Reads text as a project gives it: "date:M/D/Y", "number:V" or a plain string.
    static FullTextFieldValue Parse(std::string_view text);

    // Reads a value of the kind at offset; answers the bytes it took, 0 when the kind is unknown
    // or the value runs past the block.
    int32_t Read(const MemoryBlock& block, int32_t offset, uint8_t kindByte);
    // The bytes a stored value of the kind at p takes, 0 when the kind is unknown or the value
    // would run past the `left` bytes there.
    static int32_t StoredSize(uint8_t kindByte, const uint8_t* p, int32_t left);
    // Appends the value's bytes (not the kind).
    void Append(MemoryBlock& block) const;
    // The value as field lookups show it: the string, "%lf", or "%ld/%ld/%ld" (month/day/year).
    std::string Format() const;
    // The value as a number for comparisons: a date reads as year * 10000 + month * 100 + day.
    double AsNumber() const;
};

// A value given in a query, read as a number: month/day/year when it holds slashes (a year
// below 100 gets 1900 added), a decimal number otherwise.
double QueryValueAsNumber(std::string_view text);

} // namespace tamber
