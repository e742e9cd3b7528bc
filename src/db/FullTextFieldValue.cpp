#include "db/FullTextFieldValue.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tamber {

using namespace fulltext;

FullTextFieldValue FullTextFieldValue::String(std::string_view text)
{
    FullTextFieldValue value;
    value.kind = kFieldString;
    value.text = std::string(text.substr(0, kMaxFieldString));
    return value;
}

FullTextFieldValue FullTextFieldValue::Number(double number)
{
    FullTextFieldValue value;
    value.kind = kFieldNumber;
    if (!std::isfinite(number))
        number = 0;
    number = std::fmax(std::fmin(number, INT32_MAX), INT32_MIN);
    double whole = std::trunc(number);
    value.integer = static_cast<int32_t>(whole);
    value.fraction = static_cast<int32_t>(std::llround((number - whole) * kNumberFractionUnit));
    if (value.fraction >= kNumberFractionUnit || value.fraction <= -kNumberFractionUnit)
        value.fraction = 0;
    return value;
}

FullTextFieldValue FullTextFieldValue::Date(int month, int day, int year)
{
    FullTextFieldValue value;
    value.kind = kFieldDate;
    value.month = static_cast<uint8_t>(month);
    value.day = static_cast<uint8_t>(day);
    value.year = static_cast<uint16_t>(year < 100 && year >= 0 ? year + 1900 : year);
    return value;
}

FullTextFieldValue FullTextFieldValue::Parse(std::string_view text)
{
    constexpr std::string_view kDatePrefix = "date:";
    constexpr std::string_view kNumberPrefix = "number:";
    if (text.substr(0, kDatePrefix.size()) == kDatePrefix) {
        std::string rest(text.substr(kDatePrefix.size()));
        int m = 0, d = 0, y = 0;
        if (std::sscanf(rest.c_str(), "%d/%d/%d", &m, &d, &y) == 3)
            return Date(m, d, y);
    } else if (text.substr(0, kNumberPrefix.size()) == kNumberPrefix) {
        return Number(std::strtod(std::string(text.substr(kNumberPrefix.size())).c_str(), nullptr));
    }
    return String(text);
}

int32_t FullTextFieldValue::StoredSize(uint8_t kindByte, const uint8_t* p, int32_t left)
{
    int32_t size = 0;
    if (left <= 0)
        return 0;
    switch (kindByte) {
    case kFieldString:
        size = kStringLengthSize + p[0];
        break;
    case kFieldNumber:
        size = kNumberValueSize;
        break;
    case kFieldDate:
        size = kDateValueSize;
        break;
    default:
        return 0;
    }
    return size <= left ? size : 0;
}

int32_t FullTextFieldValue::Read(const MemoryBlock& block, int32_t offset, uint8_t kindByte)
{
    if (offset < 0 || offset >= block.Size())
        return 0;
    const uint8_t* p = block.Data(offset);
    int32_t size = StoredSize(kindByte, p, block.Size() - offset);
    if (size == 0)
        return 0;
    auto int32At = [](const uint8_t* q) {
        return static_cast<int32_t>(static_cast<uint32_t>(q[0]) | (static_cast<uint32_t>(q[1]) << 8)
            | (static_cast<uint32_t>(q[2]) << 16) | (static_cast<uint32_t>(q[3]) << 24));
    };
    kind = static_cast<FieldKind>(kindByte);
    switch (kind) {
    case kFieldString:
        text.assign(reinterpret_cast<const char*>(p + kStringLengthSize), static_cast<size_t>(p[0]));
        break;
    case kFieldNumber:
        integer = int32At(p);
        fraction = int32At(p + kNumberFractionOffset);
        break;
    case kFieldDate:
        month = p[0];
        day = p[kDateDayOffset];
        year = static_cast<uint16_t>(p[kDateYearOffset] | (p[kDateYearOffset + 1] << 8));
        break;
    }
    return size;
}

void FullTextFieldValue::Append(MemoryBlock& block) const
{
    switch (kind) {
    case kFieldString: {
        auto n = static_cast<int32_t>(std::min<size_t>(text.size(), kMaxFieldString));
        block.AppendInt(n, kStringLengthSize);
        block.Append(text.data(), n);
        break;
    }
    case kFieldNumber:
        block.AppendInt(integer, 4);
        block.AppendInt(fraction, 4);
        break;
    case kFieldDate:
        block.AppendInt(month, 1);
        block.AppendInt(day, 1);
        block.AppendInt(year, 2);
        break;
    }
}

std::string FullTextFieldValue::Format() const
{
    char buffer[64];
    switch (kind) {
    case kFieldNumber:
        std::snprintf(buffer, sizeof buffer, "%lf", AsNumber());
        return buffer;
    case kFieldDate:
        std::snprintf(buffer, sizeof buffer, "%ld/%ld/%ld", static_cast<long>(month), static_cast<long>(day),
            static_cast<long>(year));
        return buffer;
    default:
        return text;
    }
}

double FullTextFieldValue::AsNumber() const
{
    switch (kind) {
    case kFieldNumber:
        return integer + static_cast<double>(fraction) / kNumberFractionUnit;
    case kFieldDate:
        return year * 10000.0 + month * 100.0 + day;
    default:
        return std::strtod(text.c_str(), nullptr);
    }
}

double QueryValueAsNumber(std::string_view text)
{
    std::string copy(text);
    if (copy.find('/') == std::string::npos) {
        double value = std::strtod(copy.c_str(), nullptr);
        return std::isfinite(value) ? value : 0;
    }
    long parts[3] = { 0, 0, 0 };
    size_t start = 0;
    for (int i = 0; i < 3 && start <= copy.size(); ++i) {
        size_t slash = copy.find('/', start);
        std::string piece
            = copy.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        long v = std::strtol(piece.c_str(), nullptr, 10);
        parts[i] = std::max(-1000000L, std::min(v, 1000000L));
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    long year = parts[2];
    if (year >= 0 && year < 100)
        year += 1900;
    return year * 10000.0 + parts[0] * 100.0 + parts[1];
}

} // namespace tamber
