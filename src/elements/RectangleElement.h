#pragma once

#include <cstdint>

#include "iface/Element.h"
#include "iface/ElementView.h"
#include "platform/gfx/Dc.h"

namespace tamber {

// The Rectangle element: an outlined and/or filled rectangle filling its frame.
class RectangleElement : public Element {
public:
    explicit RectangleElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    void Create() override;
    void Show() override;
    void Hide() override;
    void Destroy() override;
    intptr_t WindowHandle() const override { return m_view.Handle(); }

    // Draws the outline and fill in a frame of the given size at the Dc's origin.
    void Paint(gfx::Dc& dc, int32_t width, int32_t height) const;
    // Without a width or height the frame becomes 100 x 100, centred on the placement point.
    void ApplyDefaultSize();

private:
    friend struct RectangleAccess;

    bool m_showLine = true;
    int32_t m_thickness = 1;
    uint32_t m_lineColor;
    bool m_showFill = false;
    uint32_t m_fillColor;
    ElementView m_view;
};

}  // namespace tamber
