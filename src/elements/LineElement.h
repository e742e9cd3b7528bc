#pragma once

#include <cstdint>

#include "iface/Element.h"

namespace tamber {

// The Line element: a horizontal or vertical line across its frame. The direction is not
// stored; until it is set, it is decided from the frame when the line is drawn.
class LineElement : public Element {
public:
    enum Direction : int16_t { kUndecided = -1, kHorizontal = 0, kVertical = 1 };

    explicit LineElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    // The stored direction, or the one the frame gives: Vertical when taller than wide.
    Direction EffectiveDirection() const;

private:
    friend struct LineAccess;

    int16_t m_direction = kUndecided;
    int32_t m_thickness = 1;
    uint32_t m_color;
};

}  // namespace tamber
