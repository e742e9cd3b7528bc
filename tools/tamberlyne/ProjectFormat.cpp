#include "tamberlyne/ProjectFormat.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>

#include "base/AsciiCase.h"
#include "iface/ValueType.h"

namespace tamberlyne::project {

namespace {

using tamber::AttributeValue;
using tamber::MemoryBlock;

constexpr std::string_view kBase64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Digit(char c)
{
    size_t at = kBase64Alphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

struct IntegerRange {
    ValueType type;
    int64_t low;
    int64_t high;
};

const IntegerRange kIntegerRanges[] = {
    {ValueType::Long, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()},
    {ValueType::Id, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()},
    {ValueType::Short, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()},
    {ValueType::Byte, 0, 255},
};

const IntegerRange* RangeOf(ValueType type)
{
    for (const IntegerRange& range : kIntegerRanges)
        if (range.type == type)
            return &range;
    return nullptr;
}

bool Fail(std::string& error, std::string message)
{
    error = std::move(message);
    return false;
}

constexpr int32_t kTextRunSize = 128;
constexpr int32_t kTextRunFontOffset = 4;
constexpr int32_t kTextRunFontSize = 32;
constexpr int32_t kTextRunPointSizeOffset = 36;
constexpr int32_t kTextRunFlagsOffset = 38;
constexpr int32_t kTextRunForeOffset = 42;
constexpr int32_t kTextRunBackOffset = 46;
constexpr int32_t kTextRunEnd = -1;

MemoryBlock OneRun(const MemoryBlock& run)
{
    MemoryBlock part(kTextRunSize * 2);
    part.Write(0, run.Data(), std::min(run.Size(), kTextRunSize));
    part.WriteInt(kTextRunSize, kTextRunEnd, 4);
    return part;
}

}  // namespace

MemoryBlock StylePart(const TextStyle& style)
{
    MemoryBlock run(kTextRunSize);
    // The face name field keeps a NUL after the name.
    run.Write(kTextRunFontOffset, style.font.data(),
        std::min<int32_t>(static_cast<int32_t>(style.font.size()), kTextRunFontSize - 1));
    run.WriteInt(kTextRunPointSizeOffset, style.pointSize, 2);
    run.WriteInt(kTextRunFlagsOffset, static_cast<int32_t>(style.flags), 4);
    run.WriteInt(kTextRunForeOffset, static_cast<int32_t>(style.color), 4);
    run.WriteInt(kTextRunBackOffset, static_cast<int32_t>(style.background), 4);
    return OneRun(run);
}

MemoryBlock RulerPart()
{
    return OneRun(MemoryBlock(kTextRunSize));
}

std::optional<TextStyle> SingleStyle(const MemoryBlock& part)
{
    if (part.Size() != 2 * kTextRunSize)
        return std::nullopt;
    TextStyle style;
    style.font = part.ReadCString(kTextRunFontOffset);
    style.pointSize = static_cast<uint16_t>(part.ReadInt(kTextRunPointSizeOffset, 2));
    style.flags = static_cast<uint32_t>(part.ReadInt(kTextRunFlagsOffset, 4));
    style.color = static_cast<uint32_t>(part.ReadInt(kTextRunForeOffset, 4));
    style.background = static_cast<uint32_t>(part.ReadInt(kTextRunBackOffset, 4));
    if (style.font.size() > static_cast<size_t>(TextStyle::kMaxFontName) || !(StylePart(style) == part))
        return std::nullopt;
    return style;
}

std::string Base64Encode(const MemoryBlock& block)
{
    std::string out;
    const uint8_t* bytes = block.Data();
    const int32_t n = block.Size();
    out.reserve(static_cast<size_t>(n + 2) / 3 * 4);
    for (int32_t i = 0; i < n; i += 3) {
        uint32_t triple = static_cast<uint32_t>(bytes[i]) << 16;
        if (i + 1 < n)
            triple |= static_cast<uint32_t>(bytes[i + 1]) << 8;
        if (i + 2 < n)
            triple |= bytes[i + 2];
        out += kBase64Alphabet[(triple >> 18) & 63];
        out += kBase64Alphabet[(triple >> 12) & 63];
        out += i + 1 < n ? kBase64Alphabet[(triple >> 6) & 63] : '=';
        out += i + 2 < n ? kBase64Alphabet[triple & 63] : '=';
    }
    return out;
}

bool Base64Decode(std::string_view text, MemoryBlock& out)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    uint32_t accumulator = 0;
    int bits = 0;
    bool padding = false;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            continue;
        if (c == '=') {
            padding = true;
            continue;
        }
        int digit = Base64Digit(c);
        if (digit < 0 || padding)
            return false;
        accumulator = (accumulator << 6) | static_cast<uint32_t>(digit);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<uint8_t>(accumulator >> bits));
        }
    }
    out = MemoryBlock(bytes.data(), static_cast<int32_t>(bytes.size()));
    return true;
}

std::string FormatColor(uint32_t packed)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
    return text;
}

std::optional<uint32_t> ParseColor(const Json& value)
{
    if (value.is_number_integer()) {
        int64_t n = value.get<int64_t>();
        if (n < 0 || n > 0x00FFFFFF)
            return std::nullopt;
        return static_cast<uint32_t>(n);
    }
    if (!value.is_string())
        return std::nullopt;
    const std::string& text = value.get_ref<const std::string&>();
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    uint32_t rgb = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        char c = tamber::LowerAscii(text.substr(i, 1))[0];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return std::nullopt;
        rgb = rgb << 4 | static_cast<uint32_t>(digit);
    }
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

MemoryBlock ScriptFromText(std::string_view text)
{
    std::string stored;
    stored.reserve(text.size() + 1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        stored += text[i] == '\n' ? '\r' : text[i];
    }
    MemoryBlock block;
    block.AppendString(stored, tamber::Nul::Include);
    return block;
}

std::optional<std::string> TextFromScript(const MemoryBlock& script)
{
    if (script.Empty())
        return std::string();
    std::string_view stored = script.View();
    if (stored.back() != '\0')
        return std::nullopt;
    stored.remove_suffix(1);
    std::string text;
    text.reserve(stored.size());
    for (char c : stored) {
        if (c == '\n' || c == '\0')
            return std::nullopt;
        text += c == '\r' ? '\n' : c;
    }
    // An empty text is stored as a lone NUL; the empty block stays distinguishable.
    if (text.empty())
        return std::nullopt;
    return text;
}

std::optional<ValueType> ParseTypeName(std::string_view name)
{
    for (uint16_t code = 0; code < tamber::kValueTypeCount; ++code)
        if (tamber::NamesEqual(tamber::TypeName(code), name))
            return static_cast<ValueType>(code);
    return std::nullopt;
}

bool ValueFromJson(const Json& json, ValueType type, const tamber::AttributeDef* def, const ValueSources& sources,
    AttributeValue& out, std::string& error)
{
    out = AttributeValue();
    switch (type) {
    case ValueType::Double:
        if (!json.is_number())
            return Fail(error, "expected a number");
        out.SetDouble(json.get<double>());
        return true;
    case ValueType::Id:
        if (json.is_string()) {
            std::optional<int32_t> id = sources.elementId ? sources.elementId(json.get<std::string>()) : std::nullopt;
            if (!id)
                return Fail(error, "no element named \"" + json.get<std::string>() + "\" on this Card");
            out.SetLong(*id);
            return true;
        }
        [[fallthrough]];
    case ValueType::Long:
    case ValueType::Short:
    case ValueType::Byte: {
        const IntegerRange* range = RangeOf(type);
        int64_t n = 0;
        if (json.is_number_integer())
            n = json.is_number_unsigned() && json.get<uint64_t>() > INT64_MAX ? INT64_MAX : json.get<int64_t>();
        if (!json.is_number_integer() || n < range->low || n > range->high)
            return Fail(error, "expected a whole number from " + std::to_string(range->low) + " to "
                    + std::to_string(range->high) + (type == ValueType::Id ? " or an element's name" : ""));
        out.SetInteger(type, n);
        return true;
    }
    case ValueType::Color: {
        std::optional<uint32_t> color = ParseColor(json);
        if (!color)
            return Fail(error, "expected a colour \"#RRGGBB\"");
        out.SetColor(*color);
        return true;
    }
    case ValueType::Enum: {
        const std::vector<std::string>* names = def ? &def->enumValues : nullptr;
        if (json.is_string() && names) {
            for (size_t i = 0; i < names->size(); ++i) {
                if (tamber::NamesEqual((*names)[i], json.get<std::string>())) {
                    out.SetEnum(static_cast<uint16_t>(i));
                    return true;
                }
            }
        }
        int64_t limit = names && !names->empty() ? static_cast<int64_t>(names->size()) - 1 : UINT16_MAX;
        if (json.is_number_integer() && json.get<int64_t>() >= 0 && json.get<int64_t>() <= limit) {
            out.SetEnum(static_cast<uint16_t>(json.get<int64_t>()));
            return true;
        }
        std::string choices;
        for (size_t i = 0; names && i < names->size(); ++i)
            choices += (i ? ", \"" : "\"") + (*names)[i] + "\"";
        return Fail(error, choices.empty() ? "expected a number from 0 to 65535" : "expected one of " + choices);
    }
    case ValueType::Boolean:
        if (!json.is_boolean())
            return Fail(error, "expected true or false");
        out.SetBoolean(json.get<bool>());
        return true;
    case ValueType::String:
    case ValueType::Font:
        if (!json.is_string())
            return Fail(error, "expected a string");
        if (json.get_ref<const std::string&>().size() > static_cast<size_t>(AttributeValue::kMaxStringLength))
            return Fail(error, "longer than " + std::to_string(AttributeValue::kMaxStringLength) + " characters");
        out.SetString(json.get<std::string>());
        return true;
    case ValueType::Text:
        if (!json.is_string())
            return Fail(error, "expected a string");
        out.Block().AppendString(json.get<std::string>(), tamber::Nul::Exclude);
        return true;
    case ValueType::Script:
        if (!json.is_string())
            return Fail(error, "expected the script text");
        out.SetBlock(ScriptFromText(json.get<std::string>()));
        return true;
    case ValueType::Picture: {
        if (!json.is_string())
            return Fail(error, "expected the name of a .bmp file");
        const std::string& path = json.get_ref<const std::string&>();
        if (path.empty())
            return true;
        if (!sources.readFile || !sources.readFile(path, out.Block(), error))
            return false;
        if (out.Block().Size() < 2 || out.Block().Data()[0] != 'B' || out.Block().Data()[1] != 'M')
            return Fail(error, path + " is not a BMP file (it does not start with \"BM\")");
        return true;
    }
    case ValueType::Palette: {
        if (!json.is_array())
            return Fail(error, "expected a list of colours \"#RRGGBB\"");
        for (const Json& entry : json) {
            std::optional<uint32_t> color = ParseColor(entry);
            if (!color)
                return Fail(error, "expected a list of colours \"#RRGGBB\"");
            const uint8_t rgb[3] = {static_cast<uint8_t>(*color), static_cast<uint8_t>(*color >> 8),
                static_cast<uint8_t>(*color >> 16)};
            out.Block().Append(rgb, 3);
        }
        return true;
    }
    case ValueType::Media: {
        if (json.is_null() || (json.is_number_integer() && json.get<int64_t>() == tamber::MediaRef::kNone)) {
            out.SetMedia(tamber::MediaRef {});
            return true;
        }
        std::optional<int32_t> id = sources.mediaId ? sources.mediaId(json) : std::nullopt;
        if (!id)
            return Fail(error, "no medium " + json.dump() + " in the project");
        out.SetMedia(tamber::MediaRef {*id, nullptr});
        return true;
    }
    case ValueType::Void:
    case ValueType::Special:
        break;
    }
    return Fail(error, "cannot be set in a project");
}

Json ValueToJson(const AttributeValue& value, ValueType type, const tamber::AttributeDef* def, const ValueSinks& sinks,
    const std::string& hint)
{
    switch (type) {
    case ValueType::Double:
        return value.Double();
    case ValueType::Long:
    case ValueType::Id:
    case ValueType::Short:
    case ValueType::Byte:
        return value.Integer(type);
    case ValueType::Color:
        return FormatColor(value.Color());
    case ValueType::Enum:
        if (def && value.Enum() < def->enumValues.size())
            return def->enumValues[value.Enum()];
        return value.Enum();
    case ValueType::Boolean:
        return value.Boolean();
    case ValueType::String:
    case ValueType::Font:
        return value.String();
    case ValueType::Text:
        return value.Block().ToString();
    case ValueType::Script:
        return TextFromScript(value.Block()).value_or(std::string());
    case ValueType::Picture:
        if (value.Block().Empty() || !sinks.writeFile)
            return std::string();
        return sinks.writeFile(value.Block(), hint + ".bmp");
    case ValueType::Palette: {
        Json colors = Json::array();
        const MemoryBlock& block = value.Block();
        for (int32_t at = 0; at + 3 <= block.Size(); at += 3)
            colors.push_back(FormatColor(block.Data()[at] | block.Data()[at + 1] << 8 | block.Data()[at + 2] << 16));
        return colors;
    }
    case ValueType::Media:
        if (sinks.mediaReference && !value.Media().IsNone())
            return sinks.mediaReference(value.Media().mediaId);
        return value.Media().mediaId;
    case ValueType::Void:
    case ValueType::Special:
        break;
    }
    return nullptr;
}

std::string DescribeValue(const AttributeValue& value, ValueType type, const tamber::AttributeDef* def)
{
    switch (type) {
    case ValueType::Picture:
        return value.Block().Empty() ? "(none)" : "(BMP, " + std::to_string(value.Block().Size()) + " bytes)";
    case ValueType::Palette:
        return "(" + std::to_string(value.Block().Size() / 3) + " colours)";
    case ValueType::Script:
    case ValueType::Text:
        return "(" + std::to_string(value.Block().Size()) + " bytes)";
    case ValueType::Media:
        return value.Media().IsNone() ? "(none)" : "#" + std::to_string(value.Media().mediaId);
    default:
        break;
    }
    return ValueToJson(value, type, def, ValueSinks {}, {}).dump();
}

bool ReadWholeFile(const std::filesystem::path& path, MemoryBlock& out)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad() || bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return false;
    out = MemoryBlock(bytes.data(), static_cast<int32_t>(bytes.size()));
    return true;
}

bool WriteWholeFile(const std::filesystem::path& path, const MemoryBlock& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.Data()), bytes.Size());
    return static_cast<bool>(out);
}

}  // namespace tamberlyne::project
