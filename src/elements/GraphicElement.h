#pragma once

#include <cstdint>
#include <string>

#include "iface/Element.h"

namespace tamber {

// The Graphic element: shows a Graphic medium scaled by a display mode, with a transition
// effect when the picture changes, hot links and animations. Besides its class table it
// answers the in-place editing attributes ("DrawingTool", "Mode", "FillColor", "LineColor",
// "LineWidth", "TextFont", "TextSize", "TextStyle") when asked with their own types.
class GraphicElement : public Element {
public:
    enum Display : uint16_t { kNormal = 0, kStretch = 1, kCenter = 2, kBestFit = 3 };
    static constexpr uint16_t kTransitionCount = 23;
    static constexpr int32_t kNewReserved = 16;
    static constexpr std::string_view kNewDefsMarker = "@@NewDefs@";

    explicit GraphicElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

private:
    friend struct GraphicAccess;

    uint16_t m_display = kBestFit;
    uint16_t m_transition = 0;
    int32_t m_reserved = kNewReserved;
    uint32_t m_backColor;
    bool m_border = true;
    bool m_transparent = false;
    bool m_yieldOnAnimate = false;
    bool m_optimizeSpace = true;
    int32_t m_mode = 0;
    int32_t m_drawingTool = 0;
    uint32_t m_lineColor;
    uint32_t m_fillColor;
    int32_t m_lineWidth = 1;
    std::string m_textFont = "system";
    int32_t m_textSize = 12;
    uint16_t m_textStyle = 0;
};

}  // namespace tamber
