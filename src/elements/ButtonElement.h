#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/MemoryBlock.h"
#include "elements/ElementFont.h"
#include "iface/Element.h"

namespace tamber {

// The Button element: push button, radio button, check box, three-state box, bitmap button or
// transparent hot area. It may drive one linked element (Audio, Video, Text or an Interface)
// when clicked, and Buttons sharing a "Group" act as a radio group.
class ButtonElement : public Element {
public:
    enum Style : int32_t {
        kPushButton = 0, kRadioButton, k3dRadioButton, kCheckBox, k3dCheckBox, kThreeStateBox,
        k3BitmapButton, k5BitmapButton, kTransparent, kStyleCount
    };
    enum State : int32_t { kUp = 0, kDown = 1, kMultiple = 2, kStateCount };
    enum Bitmap { kBitmapUp, kBitmapUpHighlight, kBitmapDown, kBitmapDownHighlight, kBitmapDisabled,
        kBitmapMask, kBitmapCount };
    static constexpr int kMaxGroupLength = 31;

    explicit ButtonElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;
    void Show() override;

    // A click from the control: a grouped Button goes Down (releasing the others of its group),
    // the linked element acts, then "Clicked" is raised.
    void Click();

    const std::string& Group() const { return m_group; }
    int32_t GetState() const { return m_state; }
    const MemoryBlock& BitmapBlock(Bitmap which) const { return m_bitmaps[which]; }

private:
    friend struct ButtonAccess;

    void SetState(int32_t state);
    void ActOnLink();

    int32_t m_style = kPushButton;
    int32_t m_state = kUp;
    bool m_drawName = true;
    uint32_t m_backColor;
    ElementFont m_font;
    uint32_t m_textColor;
    std::string m_group;
    std::array<MemoryBlock, kBitmapCount> m_bitmaps;
};

}  // namespace tamber
