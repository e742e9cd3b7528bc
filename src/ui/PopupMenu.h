#pragma once

#include <cstdint>

#include "platform/gfx/Point.h"
#include "ui/Menu.h"
#include "ui/TWindow.h"

namespace tamber::ui {

enum class MenuAlign : uint8_t { Left = 0, Center = 1, Right = 2 };

// Shows a menu at a screen point and lets the user pick an item. The owner receives the
// chosen command as a command message; TrackPopupMenu takes that message back out of the queue
// and answers its identifier, or -1 when the user chose nothing (Escape, a press outside, or
// no input left in a headless run). F1 over the menu (without Shift) shows the help of the
// owner's top-level window.
int TrackPopupMenu(Menu& menu, TWindow& owner, gfx::Point screen, MenuAlign align = MenuAlign::Left);

// The window of a menu being tracked.
class PopupMenuWindow : public TWindow {
public:
    static constexpr int32_t kItemHeight = 18;
    static constexpr int32_t kSeparatorHeight = 8;
    static constexpr int32_t kMargin = 20;

    PopupMenuWindow(Menu& menu, TWindow& owner);
    // The window's size for the menu's items.
    gfx::Point MeasureSize();
    int32_t Highlighted() const { return m_highlight; }
    // The item under a client point, -1 for none.
    int32_t ItemAt(gfx::Point p) const;

protected:
    void Paint(Painter& p) override;
    void MouseMove(gfx::Point p, uint32_t flags) override;
    void ButtonUp(gfx::Point p, uint32_t flags) override;
    void ButtonDown(gfx::Point p, uint32_t flags) override { }
    bool KeyDown(uint32_t key) override;
    void Close() override;

private:
    void Choose(int32_t index);
    void Step(int32_t direction);
    int32_t ItemTop(int32_t index) const;

    Menu& m_menu;
    TWindow& m_owner;
    int32_t m_highlight = -1;
};

} // namespace tamber::ui
