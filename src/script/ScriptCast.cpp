#include "script/ScriptCast.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "script/MediaReference.h"

namespace tamber {

namespace {

bool IsNumeric(ValueType t)
{
    switch (t) {
    case ValueType::Double:
    case ValueType::Long:
    case ValueType::Color:
    case ValueType::Id:
    case ValueType::Short:
    case ValueType::Enum:
    case ValueType::Byte:
    case ValueType::Boolean:
        return true;
    default:
        return false;
    }
}

bool IsText(ValueType t)
{
    return t == ValueType::String || t == ValueType::Font;
}

// The numeric value of a numeric type; Byte and Boolean read as signed 8-bit.
double NumberOf(const ScriptValue& v)
{
    switch (v.type) {
    case ValueType::Double:
        return v.value.Double();
    case ValueType::Short:
    case ValueType::Enum:
        return v.value.Short();
    case ValueType::Byte:
    case ValueType::Boolean:
        return static_cast<int8_t>(v.value.Byte());
    default:
        return v.value.Long();
    }
}

}  // namespace

int ParseScriptNumber(std::string_view text, double& out)
{
    if (text.empty())
        return 0;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0) {
        if (start == 0)
            return 0;
        out = 0;
        return 1;
    }
    std::string prefix(text.substr(start, i - start));
    out = std::strtod(prefix.c_str(), nullptr);
    return 1;
}

std::string FormatScriptNumber(double value)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.7lf", value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    return text;
}

bool CanCast(ValueType from, ValueType to)
{
    switch (to) {
    case ValueType::Void:
    case ValueType::Text:
    case ValueType::Script:
        return true;
    case ValueType::String:
        return IsNumeric(from) || IsText(from) || from == ValueType::Media;
    case ValueType::Font:
        return IsText(from);
    case ValueType::Picture:
        return from == ValueType::String || from == ValueType::Media || from == ValueType::Picture;
    case ValueType::Palette:
        return from == ValueType::Picture || from == ValueType::Palette;
    case ValueType::Media:
        return from == ValueType::String || from == ValueType::Media;
    default:
        if (IsNumeric(to))
            return IsNumeric(from) || from == ValueType::String;
        return false;
    }
}

int CastValue(ScriptValue& v, ValueType to, const std::vector<std::string>* enumNames, Element* element)
{
    if (v.type == to && to != ValueType::Enum && to != ValueType::Media)
        return 1;
    if (!CanCast(v.type, to))
        return 0;
    if (IsNumeric(to)) {
        double number = 0;
        if (v.type == ValueType::String) {
            if (!ParseScriptNumber(v.value.String(), number))
                return 0;
        } else {
            number = NumberOf(v);
        }
        AttributeValue result;
        if (to == ValueType::Double) {
            result.SetDouble(number);
        } else {
            double whole = std::trunc(number);
            if (!(whole > -9.3e18 && whole < 9.3e18))
                whole = 0;  // not a number or out of any integer's range
            auto integer = static_cast<int64_t>(whole);
            if (to == ValueType::Enum) {
                if (integer < 0)
                    integer = 0;
                if (enumNames && !enumNames->empty() && integer >= static_cast<int64_t>(enumNames->size()))
                    integer = static_cast<int64_t>(enumNames->size()) - 1;
            }
            result.SetInteger(to, integer);
        }
        v.type = to;
        v.value = result;
        return 1;
    }
    switch (to) {
    case ValueType::Void:
    case ValueType::Text:
    case ValueType::Script:
        v.type = to;
        return 1;
    case ValueType::String:
    case ValueType::Font: {
        std::string text;
        if (IsText(v.type)) {
            text = v.value.String();
        } else if (v.type == ValueType::Double) {
            text = FormatScriptNumber(v.value.Double());
        } else if (v.type == ValueType::Color) {
            uint32_t c = v.value.Color();
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%ld, %ld, %ld", static_cast<long>(c & 0xFF),
                static_cast<long>((c >> 8) & 0xFF), static_cast<long>((c >> 16) & 0xFF));
            text = buffer;
        } else if (v.type == ValueType::Media) {
            text = MediaToString(element, v.value.Media());
        } else {
            text = std::to_string(static_cast<long long>(NumberOf(v)));
            if (v.type == ValueType::Enum)
                text = std::to_string(v.value.Enum());
            else if (v.type == ValueType::Byte)
                text = std::to_string(v.value.Byte());
        }
        v.type = to;
        v.value = AttributeValue::OfString(text);
        return 1;
    }
    case ValueType::Media: {
        if (v.type == ValueType::String) {
            MediaRef media;
            StringToMedia(element, v.value.String(), media);
            v.value = AttributeValue::OfMedia(media);
        }
        v.type = ValueType::Media;
        return 1;
    }
    case ValueType::Picture: {
        if (v.type != ValueType::Picture) {
            MediaRef media = v.value.Media();
            if (v.type == ValueType::String)
                StringToMedia(element, v.value.String(), media);
            MemoryBlock picture;
            LoadMediaPicture(media, picture);
            v.value = AttributeValue::OfBlock(picture);
        }
        v.type = ValueType::Picture;
        return 1;
    }
    case ValueType::Palette: {
        if (v.type == ValueType::Picture) {
            MemoryBlock palette;
            PaletteOfPicture(v.value.Block(), palette);
            v.value = AttributeValue::OfBlock(palette);
        }
        v.type = ValueType::Palette;
        return 1;
    }
    default:
        return 0;
    }
}

}  // namespace tamber
