#pragma once

#include <cstdint>

#include "elements/ControlElement.h"

namespace tamber {

namespace ui {
class ScrollBarControl;
}

// The ScrollBar element: a horizontal or vertical scroll bar whose position scripts can read
// and set, and which can navigate one linked Audio, Video or Text element. While shown it sits
// on the framework's scroll-bar control.
class ScrollBarElement : public ControlElement {
public:
    enum Style : int32_t { kHorizontal = 0, kVertical = 1 };
    // "Defn": style, min, max, page, position and the three link ids.
    static constexpr int32_t kDefnSize = 32;
    static constexpr CardRect kDefaultSize {-50, -8, 100, 16};
    // Scroll codes the handling knows: the thumb dragged, and a position set at once (the thumb
    // let go, or "Position" written).
    static constexpr int32_t kThumbDragging = 6;
    static constexpr int32_t kPositionSet = 7;
    // One ScrollBar step is this many of the Audio's position units.
    static constexpr int32_t kAudioUnitsPerStep = 100;

    explicit ScrollBarElement(InterfaceModel* parent = nullptr);
    ~ScrollBarElement() override;

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    void Create() override;

    int32_t Position() const { return m_position; }
    // The scroll-bar control while shown, else nullptr.
    ui::ScrollBarControl* Bar() const;
    // Handles a scroll notification: reads the position back from the control, lets the linked
    // element follow and raises "Tracking" or "PositionChanged".
    void Scrolled(int32_t code);

protected:
    void ControlGoing() override;

private:
    friend struct ScrollBarAccess;

    int SetPosition(int32_t position);
    void CommandNotified(uint16_t code);

    int32_t m_style = kHorizontal;
    int32_t m_min = 0;
    int32_t m_max = 0;
    int32_t m_page = 0;
    int32_t m_position = 0;
    // While the thumb is dragged: whether a drag is under way, and whether the linked medium
    // was playing when it began.
    bool m_dragging = false;
    bool m_wasPlaying = false;
};

}  // namespace tamber
