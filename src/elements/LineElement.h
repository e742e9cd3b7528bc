#pragma once

#include <cstdint>

#include "elements/PassiveElement.h"
#include "platform/gfx/Dc.h"

namespace tamber {

// The Line element: a horizontal or vertical line across its frame. The direction is not
// stored; until it is set, it is decided from the frame when the line is drawn.
class LineElement : public PassiveElement<LineElement> {
public:
    enum Direction : int16_t { kUndecided = -1, kHorizontal = 0, kVertical = 1 };

    explicit LineElement(InterfaceModel* parent = nullptr);

    static std::span<const AttributeAccessor<LineElement>> Accessors();

    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    // Draws the line across a frame of the given size; an undecided direction is decided from
    // that size first.
    void Paint(gfx::Dc& dc, int32_t width, int32_t height);
    // Without a width or height the frame becomes 100 x 5, centred on the placement point.
    void ApplyDefaultSize();

    // The stored direction, or the one the frame gives: Vertical when taller than wide.
    Direction EffectiveDirection() const;

private:
    int16_t m_direction = kUndecided;
    int32_t m_thickness = 1;
    uint32_t m_color;
};

} // namespace tamber
