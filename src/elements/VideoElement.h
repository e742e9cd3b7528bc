#pragma once

#include "iface/Element.h"

namespace tamber {

// The Video element: plays an AVI medium frame-accurately inside its frame, reports hot spots,
// and works with linked Play, Stop and Resume Buttons and a ScrollBar as frame slider.
class VideoElement : public Element {
public:
    explicit VideoElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

private:
    friend struct VideoAccess;

    bool m_drawHotSpot = false;
    bool m_clickTest = false;
    bool m_playing = false;
};

}  // namespace tamber
