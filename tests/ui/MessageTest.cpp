#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/TFramedWindow.h"

namespace tamber::ui::test {
namespace {

class CountingPalettes : public PaletteHook {
public:
    int RealizeFor(TWindow& window) override
    {
        realizedFor.push_back(&window);
        return 0;
    }
    void ReleaseShared() override { ++released; }
    std::vector<TWindow*> realizedFor;
    int released = 0;
};

class GuideWindow : public RecordingWindow {
public:
    intptr_t GuideLine(uint32_t code, uintptr_t, intptr_t) override
    {
        guides.push_back(code);
        return 42;
    }
    void SysCommand(uint32_t command) override { commands.push_back(command); }
    std::vector<uint32_t> guides;
    std::vector<uint32_t> commands;
};

TEST(WindowMessages, PaletteGuideLineAndWindowMenuRequests)
{
    UiHarness h;
    CountingPalettes palettes;
    h.app.SetPaletteHook(&palettes);
    h.app.SetQuitOnLastWindow(QuitOnLast::Yes);
    GuideWindow top;
    top.Create(nullptr, Visibility::Shown);
    GuideWindow child;
    child.Create(&top, "c", gfx::Rect::FromSize(0, 0, 20, 20), Visibility::Shown);

    child.SendMessage(msg::kQueryNewPalette);
    top.SendMessage(msg::kPaletteChanged);
    EXPECT_EQ(palettes.realizedFor, (std::vector<TWindow*> { &child, &top }));

    EXPECT_EQ(top.SendMessage(0x0504), 42);
    EXPECT_EQ(top.SendMessage(0x0509 + 0x10), 0) << "outside the guide-line range";
    EXPECT_EQ(top.guides, (std::vector<uint32_t> { 0x0504 }));

    // A child's keyboard request for the window menu goes to its top-level window.
    child.SendMessage(msg::kSysCommand, syscmd::kKeyMenu);
    EXPECT_TRUE(child.commands.empty());
    EXPECT_EQ(top.commands, (std::vector<uint32_t> { syscmd::kKeyMenu }));

    top.Destroy();
    EXPECT_EQ(palettes.released, 1) << "the shared palette goes with the last window";
    EXPECT_TRUE(h.app.QuitPending());
}

TEST(WindowMessages, ScrollSettingsStayWithinTheirRange)
{
    UiHarness h;
    TWindow w;
    w.Create(nullptr);
    w.SetScrollRange(ScrollBarKind::Vertical, 0, 50);
    w.SetScrollPos(ScrollBarKind::Vertical, 80);
    EXPECT_EQ(w.GetScroll(ScrollBarKind::Vertical).pos, 50);
    w.SetScrollRange(ScrollBarKind::Vertical, 0, 10);
    EXPECT_EQ(w.GetScroll(ScrollBarKind::Vertical).pos, 10);
    w.SetScrollPos(ScrollBarKind::Horizontal, 5);
    EXPECT_EQ(w.GetScroll(ScrollBarKind::Horizontal).pos, 0) << "an empty range holds 0 only";
}

TEST(WindowMessages, CloseRequestFromTheDisplayClosesTheActiveWindow)
{
    UiHarness h;
    TFramedWindow a(2), b(2);
    a.CreateFramed(nullptr, "a", gfx::Rect::FromSize(0, 0, 100, 100), Placement::AsGiven, Visibility::Shown);
    b.CreateFramed(nullptr, "b", gfx::Rect::FromSize(200, 0, 100, 100), Placement::AsGiven, Visibility::Shown);
    InputEvent quit;
    quit.type = EventType::Quit;
    h.Input(quit);
    EXPECT_FALSE(b.IsCreated());
    EXPECT_TRUE(a.IsCreated());
    EXPECT_EQ(h.app.ActiveWindow(), &a);
}

} // namespace
} // namespace tamber::ui::test

#include "ui/WindowDc.h"

namespace tamber::ui::test {
namespace {

class DcWindow : public TWindow {
protected:
    void Paint(Painter& p) override
    {
        auto dc = CreateWindowDc(p.Target());
        ASSERT_NE(dc, nullptr);
        dc->FillRect(gfx::Rect { 0, 0, 1000, 1000 }, gfx::Brush {});
        dc->SetPixel(gfx::Point { 2, 3 }, 0x0000FF);
    }
};

TEST(WindowDc, DrawsAtTheClientOriginWithinTheWindow)
{
    UiHarness h;
    TWindow top;
    top.SetBackground(0x00FF00);
    top.Create(nullptr, "top", gfx::Rect::FromSize(10, 10, 100, 100), Visibility::Shown);
    DcWindow child;
    child.Create(&top, "c", gfx::Rect::FromSize(20, 20, 30, 30), Visibility::Shown);
    h.app.ProcessPending();
    EXPECT_EQ(h.Pixel(10 + 20 + 2, 10 + 20 + 3), 0xFF0000u);
    EXPECT_EQ(h.Pixel(10 + 20 + 5, 10 + 20 + 5), 0xFFFFFFu) << "the default brush is white";
    EXPECT_EQ(h.Pixel(10 + 55, 10 + 55), 0x00FF00u) << "nothing lands outside the child";
    // Outside painting, through the client target.
    auto dc = CreateWindowDc(child.ClientDrawTarget());
    dc->SetPixel(gfx::Point { 0, 0 }, 0x00FFFF);
    h.app.Present();
    EXPECT_EQ(h.Pixel(30, 30), 0xFFFF00u);
}

} // namespace
} // namespace tamber::ui::test
