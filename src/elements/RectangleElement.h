#pragma once

#include <cstdint>

#include "iface/Element.h"

namespace tamber {

// The Rectangle element: an outlined and/or filled rectangle filling its frame.
class RectangleElement : public Element {
public:
    explicit RectangleElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

private:
    friend struct RectangleAccess;

    bool m_showLine = true;
    int32_t m_thickness = 1;
    uint32_t m_lineColor;
    bool m_showFill = false;
    uint32_t m_fillColor;
};

}  // namespace tamber
