#pragma once

#include <memory>
#include <string>

#include "platform/gfx/Image.h"
#include "ui/TControl.h"

namespace tamber::ui {

enum class ButtonKind : uint8_t { Push, DefaultPush, Radio, Radio3d, Check, Check3d, ThreeState, Bitmap3, Bitmap5 };
enum class DrawCaption : uint8_t { No = 0, Yes = 1 };

// The pictures of a bitmap button, as 32-bit images. A three-bitmap button uses up, down and
// disabled; a five-bitmap button also the two highlight pictures shown while the pointer is
// over it. Where the mask is non-zero the button's back colour shows through.
struct ButtonBitmaps {
    std::shared_ptr<const gfx::Image> up;
    std::shared_ptr<const gfx::Image> upHighlight;
    std::shared_ptr<const gfx::Image> down;
    std::shared_ptr<const gfx::Image> downHighlight;
    std::shared_ptr<const gfx::Image> disabled;
    std::shared_ptr<const gfx::Image> mask;
};

// Push buttons (3-D), automatic radio buttons and check boxes (flat and 3-D), three-state boxes
// and bitmap buttons. The caption is the window's caption. A click (press and release inside,
// or Space) changes the check state as the kind asks and notifies kClicked; a double click
// notifies kDoubleClicked only.
class ButtonControl : public TControl {
public:
    explicit ButtonControl(ButtonKind kind = ButtonKind::Push);

    ButtonKind Kind() const { return m_kind; }
    void SetKind(ButtonKind kind);
    // 0 unchecked, 1 checked, 2 the third state of a three-state box.
    int32_t CheckState() const { return m_check; }
    void SetCheck(int32_t state);
    // Radio buttons with the same non-empty group uncheck each other.
    void SetGroup(std::string group) { m_group = std::move(group); }
    const std::string& Group() const { return m_group; }
    void SetBitmaps(ButtonBitmaps bitmaps);
    const ButtonBitmaps& Bitmaps() const { return m_bitmaps; }
    void SetDrawCaption(DrawCaption draw);
    bool IsPressed() const { return m_pressed; }
    bool IsHighlighted() const { return m_hover; }
    // What a click does, without the mouse.
    void Click();
    bool IsBitmapKind() const { return m_kind == ButtonKind::Bitmap3 || m_kind == ButtonKind::Bitmap5; }
    // The picture the button shows in its current state (nullptr without one).
    const gfx::Image* CurrentBitmap() const;

protected:
    void Paint(Painter& p) override;
    void ButtonDown(gfx::Point p, uint32_t flags) override;
    void MouseMove(gfx::Point p, uint32_t flags) override;
    void ButtonUp(gfx::Point p, uint32_t flags) override;
    void DoubleClick(gfx::Point p, uint32_t flags) override;
    void MouseLeave() override;
    bool KeyDown(uint32_t key) override;

private:
    void PaintPush(Painter& p);
    void PaintMark(Painter& p);
    void PaintBitmap(Painter& p);
    void PaintCaption(Painter& p, const gfx::Rect& rect, HAlign align);

    ButtonKind m_kind;
    int32_t m_check = 0;
    std::string m_group;
    ButtonBitmaps m_bitmaps;
    DrawCaption m_drawCaption = DrawCaption::Yes;
    bool m_pressed = false;
    bool m_hover = false;
};

} // namespace tamber::ui
