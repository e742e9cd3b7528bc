#pragma once

#include <array>
#include <cstdint>

#include "ui/Menu.h"
#include "ui/TWindow.h"

namespace tamber::ui {

enum class FrameBorder : uint8_t { None, Thin, Sizing, Dialog };
enum class CaptionBar : uint8_t { None, Normal, SmallTop, SmallLeft };
enum class Placement : uint8_t { AsGiven = 0, Centered = 1 };

// What a frame style code asks for. Codes 1-11 are the frame styles of Interface windows;
// any other code adds nothing.
struct FrameFeatures {
    FrameBorder border = FrameBorder::None;
    CaptionBar caption = CaptionBar::None;
    bool minimizeBox = false;
    bool systemMenu = false;

    static FrameFeatures ForStyle(int32_t code);
};

// A window with a frame drawn in the classic look: borders, a caption or a small 12-pixel title
// bar along the top or left edge, a system-menu box, a minimise box and a close box. The frame
// works: the caption drags the window, the sizing border resizes it, the boxes close, minimise
// and open the system menu.
class TFramedWindow : public TWindow {
public:
    static constexpr int32_t kThinBorder = 1;
    static constexpr int32_t kSizingBorder = 4;
    static constexpr int32_t kDialogBorder = 3;
    static constexpr int32_t kCaptionHeight = 18;
    static constexpr int32_t kSmallCaption = 12;
    static constexpr int32_t kCornerGrip = 16;

    explicit TFramedWindow(int32_t frameStyle = 0);

    // Creates the window; a centred window is placed in the middle of the screen.
    int CreateFramed(TWindow* parent, std::string_view caption, const gfx::Rect& rect,
                     Placement placement = Placement::AsGiven, Visibility visibility = Visibility::Hidden);
    int32_t FrameStyle() const { return m_style; }
    // Changes the frame; the client area changes size, the window keeps its outer rectangle.
    void SetFrameStyle(int32_t code);
    const FrameFeatures& Features() const { return m_features; }
    Menu& SystemMenu() { return m_systemMenu; }
    bool IsActiveFrame() const;

    // Where the frame's parts lie, in window coordinates.
    gfx::Rect CaptionRect() const;
    gfx::Rect CloseBoxRect() const;
    gfx::Rect MinimizeBoxRect() const;
    gfx::Rect SystemBoxRect() const;

    intptr_t WindowProc(uint32_t code, uintptr_t wParam, intptr_t lParam) override;

protected:
    Insets NonClientInsets() const override;
    HitArea HitTest(gfx::Point inWindow) const override;
    void PaintNonClient(Painter& painter) override;
    void NonClientButtonDown(HitArea area, gfx::Point screen) override;
    void NonClientDoubleClick(HitArea area, gfx::Point screen) override;
    void Command(uint16_t id, uint16_t code, TWindow* from) override;

private:
    enum class Drag : uint8_t { None, Move, Size, Box };

    int32_t BorderWidth() const;
    void BuildSystemMenu();
    void DrawBox(Painter& p, const gfx::Rect& box, HitArea kind, bool pressed);
    void TrackDrag(gfx::Point screen, bool finished);

    int32_t m_style = 0;
    FrameFeatures m_features;
    Menu m_systemMenu;
    Drag m_drag = Drag::None;
    HitArea m_dragArea = HitArea::Nowhere;
    gfx::Point m_dragStart;
    gfx::Rect m_dragRect;
    bool m_boxPressed = false;
};

} // namespace tamber::ui
