#include <gtest/gtest.h>

#include "UiTestSupport.h"

namespace tamber::ui::test {
namespace {

class SolidWindow : public TWindow {
public:
    explicit SolidWindow(gfx::ColorRef color) : m_color(color) { }
    void Paint(Painter& p) override
    {
        ++paints;
        p.FillRect(ClientRect(), m_color);
        if (nestedUpdate && PaintNesting() == 1) {
            Invalidate();
            Update();
            innerNesting = seenNesting;
        }
        seenNesting = PaintNesting();
    }
    gfx::ColorRef m_color;
    int paints = 0;
    bool nestedUpdate = false;
    int seenNesting = 0;
    int innerNesting = 0;
};

class LifeWindow : public TWindow {
public:
    void Destroyed() override { ++destroyed; }
    void SizeRestored(int32_t w, int32_t h) override { sizes.push_back({ w, h }); }
    void SizeMinimized() override { ++minimized; }
    void SizeFinished() override { ++finished; }
    void Moved(gfx::Point p) override { moves.push_back(p); }
    int destroyed = 0, minimized = 0, finished = 0;
    std::vector<gfx::Point> sizes, moves;
};

TEST(TWindow, DefaultsAndLife)
{
    UiHarness h;
    LifeWindow w;
    EXPECT_EQ(w.Caption(), "VKM TWindow");
    EXPECT_EQ(w.RectInParent(), gfx::Rect::FromSize(10, 10, 300, 300));
    EXPECT_EQ(w.RestoredRect(), gfx::Rect::FromSize(10, 10, 300, 300));
    EXPECT_EQ(w.Cursor(), CursorShape::Arrow);
    EXPECT_EQ(w.PaintNesting(), 0);
    EXPECT_EQ(w.PaintDc(), nullptr);
    EXPECT_EQ(std::string(w.ClassName()), Application::kClassName);

    ASSERT_EQ(w.Create(nullptr), 1);
    EXPECT_EQ(w.Create(nullptr), 0) << "a window is created once";
    EXPECT_TRUE(h.app.IsFrameworkWindow(w.Handle()));
    EXPECT_EQ(h.app.WindowCount(), 1);
    w.Resize(200, 100);
    w.Move(30, 40);
    EXPECT_EQ(w.sizes.back(), (gfx::Point { 200, 100 }));
    EXPECT_EQ(w.moves.back(), (gfx::Point { 30, 40 }));
    EXPECT_EQ(w.finished, 1);
    w.Minimize();
    EXPECT_EQ(w.minimized, 1);
    EXPECT_EQ(w.GetSizeState(), SizeState::Minimized);
    w.Restore();
    EXPECT_EQ(w.RectInParent(), gfx::Rect::FromSize(30, 40, 200, 100));

    TWindow child;
    ASSERT_EQ(child.Create(&w, "c", gfx::Rect::FromSize(5, 6, 10, 10)), 1);
    EXPECT_EQ(child.ClientToScreen(gfx::Point { 1, 2 }), (gfx::Point { 36, 48 }));
    EXPECT_EQ(child.ScreenToClient(gfx::Point { 36, 48 }), (gfx::Point { 1, 2 }));
    EXPECT_EQ(h.app.WindowCount(), 2);
    w.Destroy();
    EXPECT_FALSE(child.IsCreated()) << "children go with their parent";
    EXPECT_EQ(w.destroyed, 1);
    EXPECT_EQ(h.app.WindowCount(), 0);
}

TEST(TWindow, QuitOnLastWindowOnlyWhenAsked)
{
    {
        UiHarness h;
        TWindow a, b;
        a.Create(nullptr, Visibility::Shown);
        b.Create(nullptr, Visibility::Shown);
        a.Destroy();
        b.Destroy();
        EXPECT_FALSE(h.app.QuitPending());
    }
    {
        UiHarness h;
        h.app.SetQuitOnLastWindow(QuitOnLast::Yes);
        TWindow a, b;
        a.Create(nullptr, Visibility::Shown);
        b.Create(nullptr, Visibility::Shown);
        a.Destroy();
        EXPECT_FALSE(h.app.QuitPending());
        b.Destroy();
        EXPECT_TRUE(h.app.QuitPending());
        EXPECT_EQ(h.app.Run(), 0);
    }
    {
        UiHarness h;
        TWindow a;
        a.Create(nullptr, Visibility::Shown);
        h.app.PostQuit(7);
        EXPECT_EQ(h.app.Run(), 7);
    }
}

TEST(TWindow, TimersRunOnTheClockInOrder)
{
    UiHarness h;
    RecordingWindow a, b;
    a.Create(nullptr, Visibility::Shown);
    b.Create(nullptr, Visibility::Shown);
    a.StartTimer(100);
    uint32_t id = a.TimerId();
    a.StartTimer(30); // running: nothing changes
    EXPECT_EQ(a.TimerInterval(), 100u);
    b.SetTimer(5, 40);
    h.app.RunFor(99);
    EXPECT_EQ(a.Count(msg::kTimer), 0);
    EXPECT_EQ(b.Count(msg::kTimer), 2);
    h.app.RunFor(1);
    ASSERT_EQ(a.Count(msg::kTimer), 1);
    EXPECT_EQ(a.Last(msg::kTimer)->wParam, id);
    EXPECT_EQ(b.Last(msg::kTimer)->wParam, 5u);
    a.StopTimer();
    EXPECT_FALSE(a.TimerRunning());
    h.app.RunFor(500);
    EXPECT_EQ(a.Count(msg::kTimer), 1);
    EXPECT_EQ(b.Count(msg::kTimer), 15);
    b.Destroy();
    uint32_t due = 0;
    EXPECT_FALSE(h.app.NextTimerDue(due)) << "a destroyed window's timers stop";
}

TEST(TWindow, ChildrenPaintBackToFrontClippedToTheirParent)
{
    UiHarness h;
    SolidWindow top(0x0000FF), back(0x00FF00), front(0xFF0000), clipped(0x00FFFF);
    top.Create(nullptr, "top", gfx::Rect::FromSize(10, 10, 100, 100), Visibility::Shown);
    back.Create(&top, "back", gfx::Rect::FromSize(10, 10, 40, 40), Visibility::Shown);
    front.Create(&top, "front", gfx::Rect::FromSize(30, 30, 40, 40), Visibility::Shown);
    clipped.Create(&front, "clipped", gfx::Rect::FromSize(30, 30, 40, 40), Visibility::Shown);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(5, 5), 0x008080u) << "desktop";
    EXPECT_EQ(h.Pixel(15, 15), 0xFF0000u);
    EXPECT_EQ(h.Pixel(25, 25), 0x00FF00u);
    EXPECT_EQ(h.Pixel(45, 45), 0x0000FFu) << "front covers back";
    EXPECT_EQ(h.Pixel(75, 75), 0xFFFF00u);
    EXPECT_EQ(h.Pixel(85, 85), 0xFF0000u) << "a child never draws outside its parent";

    // Invalidation accumulates and paints once when the queue is empty.
    int before = front.paints;
    front.Invalidate(gfx::Rect { 0, 0, 5, 5 });
    front.Invalidate(gfx::Rect { 10, 10, 15, 15 });
    EXPECT_EQ(front.paints, before);
    h.app.ProcessPending();
    EXPECT_EQ(front.paints, before + 1);

    // Raising back above front repaints the overlap in the new order.
    back.BringToTop();
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(45, 45), 0xFF00u);

    // Hiding a child uncovers its parent.
    back.Hide();
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(25, 25), 0xFF0000u);
}

TEST(TWindow, NestedPaintsCountAndClearTheirContext)
{
    UiHarness h;
    SolidWindow w(0x123456);
    w.nestedUpdate = true;
    w.Create(nullptr, "w", gfx::Rect::FromSize(0, 0, 20, 20), Visibility::Shown);
    h.app.ProcessPending();
    EXPECT_EQ(w.innerNesting, 2);
    EXPECT_EQ(w.PaintNesting(), 0);
    EXPECT_EQ(w.PaintDc(), nullptr);
}

TEST(TWindow, TopLevelZOrderAndScreenComposition)
{
    UiHarness h;
    SolidWindow a(0x0000FF), b(0x00FF00);
    a.Create(nullptr, "a", gfx::Rect::FromSize(0, 0, 50, 50), Visibility::Shown);
    b.Create(nullptr, "b", gfx::Rect::FromSize(25, 25, 50, 50), Visibility::Shown);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(30, 30), 0x00FF00u);
    EXPECT_EQ(h.app.ActiveWindow(), &b);
    h.Click(5, 5);
    EXPECT_EQ(h.app.ActiveWindow(), &a) << "a click activates and raises";
    EXPECT_EQ(h.Pixel(30, 30), 0xFF0000u);
    a.Move(100, 100);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(5, 5), 0x008080u);
    EXPECT_EQ(h.Pixel(105, 105), 0xFF0000u);
}

TEST(TWindow, ScrollMovesPixelsAndRepaintsTheUncoveredStrip)
{
    UiHarness h;
    class Stripes : public TWindow {
    public:
        void Paint(Painter& p) override
        {
            for (int32_t y = 0; y < ClientHeight(); ++y)
                p.HLine(0, ClientWidth(), y, y + offset < 10 ? 0x0000FF : 0x00FF00);
            ++paints;
        }
        int offset = 0;
        int paints = 0;
    } w;
    w.Create(nullptr, "w", gfx::Rect::FromSize(0, 0, 20, 20), Visibility::Shown);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(5, 5), 0xFF0000u);
    w.offset = 5;
    w.Scroll(0, -5);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(5, 4), 0xFF0000u);
    EXPECT_EQ(h.Pixel(5, 5), 0x00FF00u);
    EXPECT_EQ(h.Pixel(5, 17), 0x00FF00u);
}

TEST(TWindow, FocusFollowsActivationAndDisabledWindowsTakeNoInput)
{
    UiHarness h;
    RecordingWindow top, a, b;
    top.Create(nullptr, "top", gfx::Rect::FromSize(0, 0, 100, 100), Visibility::Shown);
    a.Create(&top, "a", gfx::Rect::FromSize(0, 0, 10, 10), Visibility::Shown);
    b.Create(&top, "b", gfx::Rect::FromSize(20, 0, 10, 10), Visibility::Shown);
    b.SetFocus();
    EXPECT_EQ(TWindow::Focus(), &b);
    EXPECT_EQ(top.FocusChild(), &b);
    h.Key('X', 0, 'x');
    EXPECT_EQ(b.Count(msg::kChar), 1);
    a.Disable();
    h.Click(5, 5);
    EXPECT_EQ(a.Count(msg::kButtonDown), 0);
    EXPECT_FALSE(TWindow::IsKeyDown(key::kLeftButton));
    h.Down(25, 5);
    EXPECT_TRUE(TWindow::IsKeyDown(key::kLeftButton));
    EXPECT_EQ(TWindow::CursorPosition(), (gfx::Point { 25, 5 }));
}

TEST(TWindow, EightBitScreenDrawsThroughTheHardwarePalette)
{
    UiHarness h(64, 64, ScreenDepth::Palette8);
    SolidWindow w(0xC0C0C0);
    w.Create(nullptr, "w", gfx::Rect::FromSize(0, 0, 10, 10), Visibility::Shown);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(5, 5), 0xC0C0C0u);
    EXPECT_EQ(h.screen.ScreenView().Get(5, 5), 7u);
    // A realised palette that takes over free entries changes what index 7's neighbours show,
    // and the drawing of new colours picks the nearest realised entry.
    gfx::Palette logical({ gfx::PaletteEntry { 0x10, 0x20, 0x30, gfx::kPaletteNoCollapse } });
    h.screen.HardwarePalette().Realize(logical, gfx::RealizeMode::Foreground);
    SolidWindow dark(gfx::Rgb(0x11, 0x21, 0x31));
    dark.Create(nullptr, "d", gfx::Rect::FromSize(20, 0, 10, 10), Visibility::Shown);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(25, 5), 0x102030u);
}

} // namespace
} // namespace tamber::ui::test
