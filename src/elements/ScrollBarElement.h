#pragma once

#include <cstdint>

#include "iface/Element.h"

namespace tamber {

// The ScrollBar element: a horizontal or vertical scroll bar whose position scripts can read
// and set, and which can navigate one linked Audio, Video or Text element.
class ScrollBarElement : public Element {
public:
    enum Style : int32_t { kHorizontal = 0, kVertical = 1 };
    // "Defn": style, min, max, page, position and the three link ids.
    static constexpr int32_t kDefnSize = 32;

    explicit ScrollBarElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    int32_t Position() const { return m_position; }

private:
    friend struct ScrollBarAccess;

    int32_t m_style = kHorizontal;
    int32_t m_min = 0;
    int32_t m_max = 0;
    int32_t m_page = 0;
    int32_t m_position = 0;
};

}  // namespace tamber
