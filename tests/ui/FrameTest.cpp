#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/PopupMenu.h"
#include "ui/TFramedWindow.h"

namespace tamber::ui::test {
namespace {

TEST(TFramedWindow, StyleCodesSelectFrameFeatures)
{
    struct Row {
        int32_t code;
        Insets insets;
        bool minimize;
        bool systemMenu;
    };
    const Row rows[] = {
        { 0, { 0, 0, 0, 0 }, false, false },
        { 1, { 1, 1, 1, 1 }, false, false },
        { 2, { 1, 19, 1, 1 }, false, false },
        { 3, { 1, 19, 1, 1 }, true, true },
        { 4, { 4, 22, 4, 4 }, false, false },
        { 5, { 4, 22, 4, 4 }, true, true },
        { 6, { 1, 13, 1, 1 }, false, false },
        { 7, { 1, 13, 1, 1 }, false, true },
        { 8, { 13, 1, 1, 1 }, false, false },
        { 9, { 13, 1, 1, 1 }, false, true },
        { 10, { 3, 21, 3, 3 }, false, false },
        { 11, { 3, 21, 3, 3 }, false, true },
        { 12, { 0, 0, 0, 0 }, false, false },
        { -1, { 0, 0, 0, 0 }, false, false },
    };
    UiHarness h;
    for (const Row& row : rows) {
        TFramedWindow w(row.code);
        ASSERT_EQ(w.CreateFramed(nullptr, "x", gfx::Rect::FromSize(0, 0, 200, 100)), 1);
        EXPECT_EQ(w.ClientWidth(), 200 - row.insets.left - row.insets.right) << row.code;
        EXPECT_EQ(w.ClientHeight(), 100 - row.insets.top - row.insets.bottom) << row.code;
        EXPECT_EQ(w.ClientToScreen(gfx::Point { 0, 0 }), (gfx::Point { row.insets.left, row.insets.top })) << row.code;
        EXPECT_EQ(w.Features().minimizeBox, row.minimize) << row.code;
        EXPECT_EQ(w.Features().systemMenu, row.systemMenu) << row.code;
        EXPECT_EQ(w.CloseBoxRect().IsEmpty(), !row.systemMenu) << row.code;
    }
}

TEST(TFramedWindow, CentredAtCreationAndChildrenGetTheReducedSystemMenu)
{
    UiHarness h(640, 480);
    TFramedWindow top(3);
    top.CreateFramed(nullptr, "top", gfx::Rect::FromSize(0, 0, 201, 101), Placement::Centered);
    EXPECT_EQ(top.RectInParent().left, (640 - 201) / 2);
    EXPECT_EQ(top.RectInParent().top, (480 - 101) / 2);
    EXPECT_EQ(top.SystemMenu().Count(), 6u);

    TFramedWindow child(7);
    child.CreateFramed(&top, "child", gfx::Rect::FromSize(5, 5, 80, 60));
    ASSERT_EQ(child.SystemMenu().Count(), 2u);
    EXPECT_EQ(child.SystemMenu().At(0).text, "&Move");
    EXPECT_EQ(child.SystemMenu().At(1).text, "&Close\tCtrl+F4");
}

TEST(TFramedWindow, CaptionDragsSizingBorderResizesBoxesCloseAndMinimise)
{
    UiHarness h;
    TFramedWindow w(5);
    w.CreateFramed(nullptr, "w", gfx::Rect::FromSize(100, 100, 200, 150), Placement::AsGiven, Visibility::Shown);
    h.app.ProcessPending();

    h.Move(150, 110);
    h.Down(150, 110);
    h.Move(170, 140);
    h.Up(170, 140);
    EXPECT_EQ(w.RectInParent(), gfx::Rect::FromSize(120, 130, 200, 150));

    // Bottom-right corner grows the window.
    h.Move(318, 278);
    h.Down(318, 278);
    h.Move(338, 288);
    h.Up(338, 288);
    EXPECT_EQ(w.RectInParent(), gfx::Rect::FromSize(120, 130, 220, 160));

    // Minimise and restore through the box and a double click on the caption.
    gfx::Rect box = w.MinimizeBoxRect().Offset(120, 130);
    h.Click(box.left + 4, box.top + 4);
    EXPECT_EQ(w.GetSizeState(), SizeState::Minimized);
    gfx::Rect bar = w.WindowRect();
    h.DoubleClick(bar.left + 40, bar.top + 8);
    EXPECT_EQ(w.GetSizeState(), SizeState::Restored);
    EXPECT_EQ(w.RectInParent(), gfx::Rect::FromSize(120, 130, 220, 160));

    // Pressing the close box and leaving it does nothing; a full click closes.
    gfx::Rect close = w.CloseBoxRect().Offset(120, 130);
    h.Down(close.left + 4, close.top + 4);
    h.Move(10, 10);
    h.Up(10, 10);
    EXPECT_TRUE(w.IsCreated());
    h.Click(close.left + 4, close.top + 4);
    EXPECT_FALSE(w.IsCreated());
}

TEST(TFramedWindow, ClassicLookColours)
{
    UiHarness h;
    TFramedWindow w(11);
    w.CreateFramed(nullptr, "w", gfx::Rect::FromSize(10, 10, 120, 80), Placement::AsGiven, Visibility::Shown);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(10, 10), 0xC0C0C0u) << "outer top-left of the raised edge";
    EXPECT_EQ(h.Pixel(11, 11), 0xFFFFFFu) << "inner highlight";
    EXPECT_EQ(h.Pixel(10 + 119, 10 + 79), 0x000000u) << "outer shadow";
    EXPECT_EQ(h.Pixel(10 + 60, 10 + 3 + 2), 0x000080u) << "active caption";
    TFramedWindow other(2);
    other.CreateFramed(nullptr, "o", gfx::Rect::FromSize(300, 300, 50, 50), Placement::AsGiven, Visibility::Shown);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(10 + 60, 10 + 3 + 2), 0x808080u) << "inactive caption";
}

class HelpCounter : public HelpProvider {
public:
    void Show() override { ++shown; }
    int shown = 0;
};

class HelpWindow : public RecordingWindow {
public:
    HelpProvider* GetHelp() override { return &help; }
    HelpCounter help;
};

TEST(PopupMenu, TrackingReturnsTheChosenCommandOrMinusOne)
{
    UiHarness h;
    HelpWindow owner;
    owner.Create(nullptr, "owner", gfx::Rect::FromSize(0, 0, 300, 300), Visibility::Shown);
    Menu menu;
    menu.Append(11, "&Open");
    menu.AppendSeparator();
    menu.Append(12, "&Save\tCtrl+S");
    menu.Append(13, "Gone", ItemState::Disabled);

    // No input at all: nothing chosen.
    EXPECT_EQ(TrackPopupMenu(menu, owner, gfx::Point { 50, 50 }), -1);
    // Escape closes without a choice; F1 asks the top-level window for help on the way.
    h.QueueKey(key::kF1);
    h.QueueKey(key::kEscape);
    EXPECT_EQ(TrackPopupMenu(menu, owner, gfx::Point { 50, 50 }), -1);
    EXPECT_EQ(owner.help.shown, 1);
    // A press outside the menu dismisses it and reaches nobody.
    h.screen.PostEvent(MouseEvent(EventType::MouseDown, 250, 250));
    EXPECT_EQ(TrackPopupMenu(menu, owner, gfx::Point { 50, 50 }), -1);
    EXPECT_EQ(owner.Count(msg::kButtonDown), 0);
    // Clicking an item chooses it; the command message is taken from the queue.
    int32_t saveY = 50 + 3 + PopupMenuWindow::kItemHeight + PopupMenuWindow::kSeparatorHeight + 5;
    h.screen.PostEvent(MouseEvent(EventType::MouseMove, 60, saveY));
    h.screen.PostEvent(MouseEvent(EventType::MouseDown, 60, saveY));
    h.screen.PostEvent(MouseEvent(EventType::MouseUp, 60, saveY));
    EXPECT_EQ(TrackPopupMenu(menu, owner, gfx::Point { 50, 50 }), 12);
    EXPECT_EQ(h.app.QueuedCount(), 0u);
    EXPECT_EQ(owner.Count(msg::kCommand), 0);
    // Disabled items cannot be chosen; the keyboard walks past the separator.
    h.QueueKey(key::kDown);
    h.QueueKey(key::kDown);
    h.QueueKey(key::kDown);
    h.QueueKey(key::kEnter);
    EXPECT_EQ(TrackPopupMenu(menu, owner, gfx::Point { 50, 50 }), -1);
    EXPECT_EQ(menu.Enable(13, ItemState::Enabled), 1);
    EXPECT_EQ(menu.Rename(13, "Back"), 1);
    EXPECT_EQ(menu.Enable(99, ItemState::Enabled), 0);
    EXPECT_EQ(menu.Find(13)->text, "Back");
    EXPECT_EQ(h.app.WindowCount(), 1) << "the menu window is gone";
}

TEST(PopupMenu, AlignmentPlacesTheMenuAroundThePoint)
{
    UiHarness h;
    TWindow owner;
    owner.Create(nullptr, Visibility::Shown);
    Menu menu;
    menu.Append(1, "One");
    PopupMenuWindow probe(menu, owner);
    probe.Create(nullptr);
    int32_t width = probe.MeasureSize().x;
    probe.Destroy();
    struct Case {
        MenuAlign align;
        int32_t left;
    } cases[] = { { MenuAlign::Left, 300 }, { MenuAlign::Center, 300 - width / 2 }, { MenuAlign::Right, 300 - width } };
    for (const Case& c : cases) {
        h.app.SetIdleHandler([&] {
            for (TWindow* w : h.app.TopLevels()) {
                if (w->GetLayer() == Layer::Topmost) {
                    EXPECT_EQ(w->RectInParent().left, c.left);
                }
            }
            return IdleResult::Exhausted;
        });
        EXPECT_EQ(TrackPopupMenu(menu, owner, gfx::Point { 300, 100 }, c.align), -1);
    }
}

} // namespace
} // namespace tamber::ui::test
