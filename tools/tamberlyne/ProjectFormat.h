#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/MemoryBlock.h"
#include "iface/AttributeValue.h"
#include "iface/ClassDefinition.h"

namespace tamberlyne {

using tamber::ValueType;

// Project files keep their keys in the order they were written, so attributes are applied in
// the order the author gave them and exported files read like hand-written ones.
using Json = nlohmann::ordered_json;

namespace project {

inline constexpr const char* kProjectFile = "project.json";
inline constexpr int kFormatVersion = 1;

// Media type names the builder writes.
inline constexpr const char* kInterfaceType = "Interface";
inline constexpr const char* kGraphicType = "Graphic";
inline constexpr const char* kAudioType = "Audio";
inline constexpr const char* kVideoType = "Video";
inline constexpr const char* kTextType = "Text";
inline constexpr const char* kFileTag = "File";

// "MMFirst" items: 152 bytes each.
inline constexpr int32_t kSplashItemSize = 152;
inline constexpr int32_t kSplashNoteSize = 128;
inline constexpr int32_t kSplashMediaOffset = 128;
inline constexpr int32_t kSplashXOffset = 132;
inline constexpr int32_t kSplashYOffset = 136;
inline constexpr int32_t kSplashWidthOffset = 140;
inline constexpr int32_t kSplashHeightOffset = 144;
inline constexpr int32_t kSplashLoopOffset = 148;
inline constexpr int32_t kSplashCentre = -99999;

std::string Base64Encode(const tamber::MemoryBlock& block);
// Answers false when the text holds anything but base64 characters and padding.
bool Base64Decode(std::string_view text, tamber::MemoryBlock& out);

// Colours are written "#RRGGBB"; a number is taken as the packed 0x00BBGGRR value.
std::string FormatColor(uint32_t packed);
std::optional<uint32_t> ParseColor(const Json& value);

// Script text in a project uses LF line ends; stored scripts end lines with CR and end in a NUL.
tamber::MemoryBlock ScriptFromText(std::string_view text);
// The text of a stored script, or nullopt when converting it back would not give the same bytes.
std::optional<std::string> TextFromScript(const tamber::MemoryBlock& script);

// The single style of a text medium built from a plain text file.
struct TextStyle {
    static constexpr uint32_t kBold = 1;
    static constexpr uint32_t kItalic = 2;
    static constexpr uint32_t kUnderline = 4;
    static constexpr uint32_t kStrikeOut = 8;
    static constexpr int32_t kMaxFontName = 31;

    std::string font = "Arial";
    int32_t pointSize = 12;
    uint32_t flags = 0;
    uint32_t color = 0x000000;
    uint32_t background = 0xFFFFFF;
};
// The "Styl" and "Rulr" parts of a text in one style and with the default ruler: one run from
// position 0, then the end record (position -1), 128 bytes each.
tamber::MemoryBlock StylePart(const TextStyle& style);
tamber::MemoryBlock RulerPart();
// The style a "Styl" part holds when it is exactly one StylePart() would write.
std::optional<TextStyle> SingleStyle(const tamber::MemoryBlock& part);

// What converting a JSON value into an attribute value needs from the project being built.
struct ValueSources {
    // Reads a file named relative to the current project file; false with a message on failure.
    std::function<bool(const std::string& path, tamber::MemoryBlock& bytes, std::string& error)> readFile;
    // The id of a medium given by name or number; nullopt when there is none.
    std::function<std::optional<int32_t>(const Json& medium)> mediaId;
    // The id of the element with this name on the Card being built; nullopt when there is none.
    std::function<std::optional<int32_t>(const std::string& name)> elementId;
};

// Converts a project value to an attribute value of the type. On failure answers false and
// says what was expected.
bool ValueFromJson(const Json& json, ValueType type, const tamber::AttributeDef* def,
    const ValueSources& sources, tamber::AttributeValue& out, std::string& error);

// What converting an attribute value into a project value needs.
struct ValueSinks {
    // How a medium is named in the project: its name, or its id when the name is ambiguous.
    std::function<Json(int32_t id)> mediaReference;
    // Stores bytes in a file beside the project file being written and answers its relative path;
    // hint suggests a name ("Next.BitmapUp.bmp").
    std::function<std::string(const tamber::MemoryBlock& bytes, const std::string& hint)> writeFile;
};

Json ValueToJson(const tamber::AttributeValue& value, ValueType type, const tamber::AttributeDef* def,
    const ValueSinks& sinks, const std::string& hint);

// The value type a project names ("Long"), ASCII case ignored.
std::optional<ValueType> ParseTypeName(std::string_view name);

// A readable one-line form of a value, for `show`.
std::string DescribeValue(const tamber::AttributeValue& value, ValueType type, const tamber::AttributeDef* def);

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, tamber::MemoryBlock& out);
bool WriteWholeFile(const std::filesystem::path& path, const tamber::MemoryBlock& bytes);

}  // namespace project

}  // namespace tamberlyne
