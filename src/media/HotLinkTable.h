#pragma once

#include <cstdint>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber {

struct CanvasObject;

// An area of a picture, in picture pixels.
struct HotLinkArea {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const HotLinkArea&) const = default;
};

enum class HotLinkKind : uint8_t { Area = 0, Object = 1 };

struct HotLink {
    HotLinkKind kind = HotLinkKind::Area;
    HotLinkArea area; // kind Area
    int32_t objectId = 0; // kind Object: the canvas object whose shape is the link
    CanvasObject* object = nullptr; // bound when the canvas is read; null when it has none
    int32_t linkId = 0; // the number the Graphic element names the link by
};

// The clickable areas of a Graphic medium. Stored as a 32-bit count, then per link 21 bytes:
// the kind (1 byte), for an area x, y, width, height (4 x 32 bits) or for an object its id and
// 12 unused bytes, then the link id (32 bits).
class HotLinkTable {
public:
    static constexpr int32_t kCountSize = 4;
    static constexpr int32_t kEntrySize = 21;
    static constexpr int32_t kKindOffset = 0;
    static constexpr int32_t kAreaOffset = 1; // also the object id
    static constexpr int32_t kLinkIdOffset = 17;

    // Replaces the links with the stored table. A table shorter than its count keeps the links
    // that are whole; an unknown kind ends the table there. Answers 1, or 0 (and no links) when
    // the block is too short to hold a count.
    int Parse(const MemoryBlock& stored);
    MemoryBlock Store() const;

    int32_t Count() const { return static_cast<int32_t>(m_links.size()); }
    // Entry i: answers 1 and fills area and link id for an area link, 0 otherwise.
    int GetArea(int32_t index, HotLinkArea& area, int32_t& linkId) const;
    // Entry i: answers 1 and fills object id and link id for an object link, 0 otherwise.
    int GetObject(int32_t index, int32_t& objectId, int32_t& linkId) const;
    // Sets the area of the area link with this link id, the last such entry first. Answers 1,
    // or 0 when there is none.
    int SetArea(int32_t linkId, const HotLinkArea& area);

    std::vector<HotLink>& Links() { return m_links; }
    const std::vector<HotLink>& Links() const { return m_links; }

private:
    std::vector<HotLink> m_links;
};

} // namespace tamber
