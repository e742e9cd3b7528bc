#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/MemoryBlock.h"
#include "elements/ControlElement.h"
#include "elements/ElementFont.h"

namespace tamber {

// The Button element: push button, radio button, check box, three-state box, bitmap button or
// transparent hot area. It may drive one linked element (Audio, Video, Text or an Interface)
// when clicked, and Buttons sharing a "Group" act as a radio group.
//
// While its Card is shown the Button has a control: a framework button, or an invisible window
// that reports clicks for the Transparent style. A bitmap Button hands its pictures to the
// control and keeps a two-byte "BM" placeholder for each until the control goes away; saving
// and reading the attributes look through the placeholders.
class ButtonElement : public ControlElement {
public:
    enum Style : int32_t {
        kPushButton = 0, kRadioButton, k3dRadioButton, kCheckBox, k3dCheckBox, kThreeStateBox,
        k3BitmapButton, k5BitmapButton, kTransparent, kStyleCount
    };
    enum State : int32_t { kUp = 0, kDown = 1, kMultiple = 2, kStateCount };
    enum Bitmap { kBitmapUp, kBitmapUpHighlight, kBitmapDown, kBitmapDownHighlight, kBitmapDisabled,
        kBitmapMask, kBitmapCount };
    static constexpr int kMaxGroupLength = 31;
    static constexpr CardRect kDefaultSize {-50, -13, 100, 25};

    explicit ButtonElement(InterfaceModel* parent = nullptr);
    ~ButtonElement() override;

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    void Create() override;
    void Show() override;

    // A click from the control: a grouped Button goes Down (releasing the others of its group),
    // the linked element acts, then "Clicked" is raised.
    void Click();

    const std::string& Group() const { return m_group; }
    // The state, taken from the control's check state while there is a control.
    int32_t GetState() const;
    // The picture as the element holds it: the "BM" placeholder while the control has it.
    const MemoryBlock& BitmapBlock(Bitmap which) const { return m_bitmaps[which]; }
    // The picture itself, looked up in the control for a placeholder; empty when none.
    const MemoryBlock& Picture(Bitmap which) const;

protected:
    // The hot window of Transparent covers the frame exactly.
    Growth ControlGrowth() const override;
    void ControlGoing() override;

private:
    friend struct ButtonAccess;

    void SetState(int32_t state);
    void ActOnLink();
    // From the control: a notification code of the framework.
    void Notified(uint16_t code);
    // Takes the pictures back from the control where the element holds placeholders.
    void TakeBackPictures();
    // Passes colours, font and caption to the control.
    void ApplyLook();
    void StyleChanged();

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
