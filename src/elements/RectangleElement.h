#pragma once

#include <cstdint>

#include "elements/PassiveElement.h"
#include "platform/gfx/Dc.h"

namespace tamber {

// The Rectangle element: an outlined and/or filled rectangle filling its frame.
class RectangleElement : public PassiveElement<RectangleElement> {
public:
    explicit RectangleElement(InterfaceModel* parent = nullptr);

    static std::span<const AttributeAccessor<RectangleElement>> Accessors();

    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    // Draws the outline and fill in a frame of the given size at the Dc's origin.
    void Paint(gfx::Dc& dc, int32_t width, int32_t height) const;
    // Without a width or height the frame becomes 100 x 100, centred on the placement point.
    void ApplyDefaultSize();

private:
    bool m_showLine = true;
    int32_t m_thickness = 1;
    uint32_t m_lineColor;
    bool m_showFill = false;
    uint32_t m_fillColor;
};

} // namespace tamber
