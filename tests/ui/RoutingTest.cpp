#include <gtest/gtest.h>

#include "UiTestSupport.h"

namespace tamber::ui::test {
namespace {

// A top-level window at (100, 100) with a child panel at (20, 30) and, inside it, a leaf at
// (5, 5). None has a frame, so client and window coordinates agree.
struct Tree {
    explicit Tree(UiHarness& h)
    {
        top.Create(nullptr, "top", gfx::Rect::FromSize(100, 100, 300, 200), Visibility::Shown);
        panel.Create(&top, "panel", gfx::Rect::FromSize(20, 30, 150, 100), Visibility::Shown);
        leaf.Create(&panel, "leaf", gfx::Rect::FromSize(5, 5, 40, 20), Visibility::Shown);
        h.app.ProcessPending();
    }
    RecordingWindow top, panel, leaf;
};

TEST(InputRouter, FrameworkMessagesReachTargetAndAncestorsInTheirOwnCoordinates)
{
    UiHarness h;
    Tree t(h);
    h.Down(100 + 20 + 5 + 7, 100 + 30 + 5 + 3);

    ASSERT_EQ(t.leaf.Count(msg::kButtonDown), 1);
    const Seen* leaf = t.leaf.Last(msg::kFrameworkButtonDown);
    const Seen* panel = t.panel.Last(msg::kFrameworkButtonDown);
    const Seen* top = t.top.Last(msg::kFrameworkButtonDown);
    ASSERT_TRUE(leaf && panel && top);
    EXPECT_EQ(leaf->point, (gfx::Point { 7, 3 }));
    EXPECT_EQ(panel->point, (gfx::Point { 12, 8 }));
    EXPECT_EQ(top->point, (gfx::Point { 32, 38 }));
    EXPECT_EQ(t.panel.Count(msg::kButtonDown), 0);
    // The framework message is sent before the raw message is dispatched.
    auto index = [&](uint32_t code) {
        for (size_t i = 0; i < t.leaf.seen.size(); ++i)
            if (t.leaf.seen[i].code == code)
                return static_cast<int>(i);
        return -1;
    };
    EXPECT_LT(index(msg::kFrameworkButtonDown), index(msg::kButtonDown));
}

TEST(InputRouter, TransparentChildFallsThroughToItsParent)
{
    UiHarness h;
    Tree t(h);
    t.leaf.SetTransparency(Transparency::Full);
    h.Move(100 + 20 + 5 + 1, 100 + 30 + 5 + 2);
    h.Down(100 + 20 + 5 + 1, 100 + 30 + 5 + 2);
    h.Up(100 + 20 + 5 + 1, 100 + 30 + 5 + 2);

    EXPECT_TRUE(t.leaf.seen.empty()) << "a fully transparent window sees no mouse input";
    const Seen* down = t.panel.Last(msg::kButtonDown);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->point, (gfx::Point { 6, 7 }));
    EXPECT_EQ(t.panel.Count(msg::kFrameworkButtonDown), 1);
    EXPECT_EQ(t.panel.Count(msg::kButtonUp), 1);
    EXPECT_EQ(t.panel.Count(msg::kMouseMove), 1);

    // Mode 2 still gets its own framework messages but the raw input goes to the parent.
    t.leaf.seen.clear();
    t.panel.seen.clear();
    t.leaf.SetTransparency(Transparency::MouseOnly);
    h.Down(100 + 20 + 5 + 1, 100 + 30 + 5 + 2);
    EXPECT_EQ(t.leaf.Count(msg::kFrameworkButtonDown), 1);
    EXPECT_EQ(t.leaf.Count(msg::kButtonDown), 0);
    EXPECT_EQ(t.panel.Count(msg::kButtonDown), 1);
}

TEST(InputRouter, TransparentAncestorStopsTheWalkAndTakesTheInput)
{
    UiHarness h;
    Tree t(h);
    t.panel.SetTransparency(Transparency::Full);
    h.Down(100 + 20 + 5 + 1, 100 + 30 + 5 + 1);
    EXPECT_EQ(t.leaf.Count(msg::kFrameworkButtonDown), 1);
    EXPECT_EQ(t.leaf.Count(msg::kButtonDown), 0);
    const Seen* down = t.panel.Last(msg::kButtonDown);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->point, (gfx::Point { 6, 6 }));
    EXPECT_EQ(t.top.Count(msg::kFrameworkButtonDown), 0) << "the walk ends at the transparent ancestor";
}

TEST(InputRouter, ModalWindowSwallowsOutsideClicksAndComesBackToTheTop)
{
    UiHarness h;
    Tree t(h);
    RecordingWindow dialog;
    dialog.SetModal(Modal::Yes);
    dialog.Create(nullptr, "dialog", gfx::Rect::FromSize(400, 300, 100, 80), Visibility::Shown);
    RecordingWindow other;
    other.Create(nullptr, "other", gfx::Rect::FromSize(0, 0, 50, 50), Visibility::Shown);
    h.app.Activate(&other);
    ASSERT_EQ(h.app.TopLevels().back(), &other);
    ASSERT_EQ(h.app.TopModal(), &dialog);

    h.Click(100 + 20 + 5 + 1, 100 + 30 + 5 + 1);
    EXPECT_TRUE(t.leaf.seen.empty());
    EXPECT_TRUE(t.top.seen.empty());
    EXPECT_EQ(h.app.TopLevels().back(), &dialog);
    EXPECT_EQ(h.app.ActiveWindow(), &dialog);

    // Inside the modal window input flows as usual.
    h.Click(410, 310);
    EXPECT_EQ(dialog.Count(msg::kButtonDown), 1);
    EXPECT_EQ(dialog.Last(msg::kButtonDown)->point, (gfx::Point { 10, 10 }));

    // Timers of windows outside are held back only while the router sees every message.
    h.app.SetPointerFilter(PointerFilter::On);
    t.top.SetTimer(7, 10);
    h.app.RunFor(25);
    EXPECT_EQ(t.top.Count(msg::kTimer), 0);
    dialog.Destroy();
    EXPECT_TRUE(h.app.ModalStack().empty());
    h.app.RunFor(25);
    EXPECT_GT(t.top.Count(msg::kTimer), 0);
}

TEST(InputRouter, ModalStackDropsDestroyedWindowsAndFocusesTheNextOne)
{
    UiHarness h;
    TWindow a, b, c;
    a.SetModal(Modal::Yes);
    b.SetModal(Modal::Yes);
    c.SetModal(Modal::Yes);
    a.Create(nullptr, "a", gfx::Rect::FromSize(0, 0, 50, 50), Visibility::Shown);
    b.Create(nullptr, "b", gfx::Rect::FromSize(60, 0, 50, 50), Visibility::Shown);
    c.Create(nullptr, "c", gfx::Rect::FromSize(120, 0, 50, 50), Visibility::Shown);
    ASSERT_EQ(h.app.ModalStack(), (std::vector<uint32_t> { a.Handle(), b.Handle(), c.Handle() }));
    b.Destroy();
    EXPECT_EQ(h.app.ModalStack(), (std::vector<uint32_t> { a.Handle(), c.Handle() }));
    EXPECT_EQ(h.app.TopModal(), &c);
    c.Destroy();
    EXPECT_EQ(h.app.TopModal(), &a);
    EXPECT_EQ(h.app.FocusWindow(), &a);
}

TEST(InputRouter, CaptureTakesMouseOutsideAndMouseLeaveIsReported)
{
    UiHarness h;
    Tree t(h);
    h.Move(100 + 20 + 5 + 1, 100 + 30 + 5 + 1);
    t.leaf.SetCapture();
    h.Move(10, 10);
    const Seen* move = t.leaf.Last(msg::kMouseMove);
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->point, (gfx::Point { 10 - 125, 10 - 135 }));
    TWindow::ReleaseCapture();
    h.Move(11, 11);
    EXPECT_EQ(t.leaf.Count(msg::kMouseLeave), 1);
}

TEST(InputRouter, MessagesForDestroyedWindowsAreDropped)
{
    UiHarness h;
    auto w = std::make_unique<RecordingWindow>();
    w->Create(nullptr, "w", gfx::Rect::FromSize(0, 0, 10, 10), Visibility::Shown);
    uint32_t handle = w->Handle();
    h.app.PostMessage(handle, msg::kCommand, PackCommand(5, 0));
    w->Destroy();
    EXPECT_EQ(h.app.FromHandle(handle), nullptr);
    EXPECT_TRUE(h.app.ProcessPending());
    EXPECT_TRUE(w->seen.empty());
}

TEST(Accelerators, ShiftAndCtrlMustMatchExactly)
{
    UiHarness h;
    RecordingWindow top;
    top.Create(nullptr, "top", gfx::Rect::FromSize(0, 0, 100, 100), Visibility::Shown);
    RecordingWindow child;
    child.Create(&top, "child", gfx::Rect::FromSize(0, 0, 10, 10), Visibility::Shown);
    child.SetFocus();
    top.SetCustomAccelerators({ CustomAccelerator { 'N', 1, 0, 101 }, CustomAccelerator { 'N', 0, 0, 102 },
        CustomAccelerator { 'P', 0, 1, 103 } });

    h.Key('N', kModShift);
    h.Key('N');
    h.Key('P');
    h.Key('P', kModControl);
    h.Key('P', kModControl | kModShift);
    std::vector<uint16_t> commands;
    for (const Seen& s : top.seen) {
        if (s.code == msg::kCommand) {
            commands.push_back(CommandId(s.wParam));
            EXPECT_EQ(CommandCode(s.wParam), kFromAccelerator);
        }
    }
    EXPECT_EQ(commands, (std::vector<uint16_t> { 101, 102, 103 }));
    // Matched keys are consumed, down and up; an unmatched one reaches the focus window.
    EXPECT_EQ(child.Count(msg::kKeyDown), 2);
    EXPECT_EQ(child.Count(msg::kKeyUp), 2);

    // A window's accelerator table, when it has one, replaces the custom list.
    top.SetAccelerators({ AcceleratorEntry { AcceleratorEntry::kCtrl, 'S', 200 } });
    top.seen.clear();
    h.Key('N');
    h.Key('S', kModControl);
    ASSERT_EQ(top.Count(msg::kCommand), 1);
    EXPECT_EQ(CommandId(top.Last(msg::kCommand)->wParam), 200);
}

TEST(Accelerators, StoredEntriesAreFourteenBytes)
{
    const uint8_t bytes[] = { 0x4E, 0, 1, 0, 0, 0, 0, 0, 0x65, 0, 9, 9, 9, 9, 0x50, 0, 0, 0, 0, 0, 1, 0, 0x67, 0, 0, 0, 0, 0, 1 };
    auto entries = CustomAccelerator::Parse(bytes, sizeof bytes);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, 'N');
    EXPECT_NE(entries[0].shift, 0u);
    EXPECT_EQ(entries[0].ctrl, 0);
    EXPECT_EQ(entries[0].command, 0x65);
    EXPECT_EQ(entries[1].ctrl, 1);
    EXPECT_EQ(entries[1].command, 0x67);
    std::vector<uint8_t> back = CustomAccelerator::Serialize(entries);
    ASSERT_EQ(back.size(), 28u);
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + 10, bytes));
    EXPECT_TRUE(CustomAccelerator::Parse(nullptr, 14).empty());
}

} // namespace
} // namespace tamber::ui::test
