#pragma once

#include <string_view>

namespace tamber {

// Tags of the chunks in element blocks and Interface records. Three-letter tags are stored
// with a NUL as their fourth byte.
namespace chunk {
inline constexpr std::string_view kObjt = "Objt";  // common element data
inline constexpr std::string_view kObjp = "Objp";  // the Interface object's own: mouse events
inline constexpr std::string_view kScrp = "Scrp";  // script source text
inline constexpr std::string_view kTokn = "Tokn";  // handler index
inline constexpr std::string_view kTgts = "Tgts";  // target table
inline constexpr std::string_view kUAtt = "UAtt";  // user attributes
inline constexpr std::string_view kUEvn = "UEvn";  // user events
inline constexpr std::string_view kDefn = "Defn";  // a class's attribute values
inline constexpr std::string_view kDefi = "Defi";  // the Interface's own settings
inline constexpr std::string_view kBPic = "BPic";  // background picture
inline constexpr std::string_view kBPal = "BPal";  // background palette
inline constexpr std::string_view kEntr = "Entr";  // list entries
inline constexpr std::string_view kText = "Text";  // edit text
inline constexpr std::string_view kPict = "Pict";  // a picture
inline constexpr std::string_view kIntr = "Intr";  // the Interface object's element block
inline constexpr std::string_view kGuid = "Guid";  // authoring guides
inline constexpr std::string_view kGrid = "Grid";  // authoring grid
inline constexpr std::string_view kEffc = "Effc";  // card-change effect
// Tags are compared with their NUL padding removed.
inline std::string_view Trimmed(std::string_view tag)
{
    size_t nul = tag.find('\0');
    return nul == std::string_view::npos ? tag : tag.substr(0, nul);
}
}  // namespace chunk

}  // namespace tamber
