#include "platform/display/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace tamber {
namespace {

using gfx::Rect;

void Fill(const gfx::Surface& surface, uint32_t value) {
    for (int32_t y = 0; y < surface.height; ++y) {
        for (int32_t x = 0; x < surface.width; ++x) {
            surface.Set(x, y, value);
        }
    }
}

uint32_t ScreenPixel(const Display& display, int32_t x, int32_t y) {
    PngImage image;
    display.Capture(image);
    return image.At(x, y);
}

TEST(HeadlessDisplay, ComposesShownSurfacesBackToFront) {
    HeadlessDisplay display(64, 48, ScreenDepth::Direct24);
    display.SetBackground(0x000080);
    const auto back = display.CreateSurface(Rect::FromSize(0, 0, 40, 30));
    const auto front = display.CreateSurface(Rect::FromSize(20, 10, 30, 30));
    ASSERT_NE(back, 0);
    ASSERT_NE(front, back);
    Fill(display.SurfaceView(back), 0xFF0000);
    Fill(display.SurfaceView(front), 0x00FF00);

    display.Present();
    EXPECT_EQ(ScreenPixel(display, 25, 15), 0xFF000080u);  // new surfaces start hidden
    display.ShowSurface(back, Visibility::Shown);
    display.ShowSurface(front, Visibility::Shown);
    display.Present();
    EXPECT_EQ(ScreenPixel(display, 5, 5), 0xFFFF0000u);
    EXPECT_EQ(ScreenPixel(display, 25, 15), 0xFF00FF00u);
    EXPECT_EQ(ScreenPixel(display, 60, 45), 0xFF000080u);
    EXPECT_EQ(display.SurfaceAt({25, 15}), front);
    EXPECT_EQ(display.SurfaceAt({5, 5}), back);
    EXPECT_EQ(display.SurfaceAt({60, 45}), 0);

    display.RaiseSurface(back);
    display.Present();
    EXPECT_EQ(ScreenPixel(display, 25, 15), 0xFFFF0000u);
    EXPECT_EQ(display.SurfaceAt({25, 15}), back);

    // Moving uncovers what was beneath; growing keeps the pixels and adds black.
    display.MoveSurface(back, Rect::FromSize(30, 20, 45, 30));
    display.Present();
    EXPECT_EQ(ScreenPixel(display, 5, 5), 0xFF000080u);
    EXPECT_EQ(ScreenPixel(display, 31, 21), 0xFFFF0000u);
    EXPECT_EQ(display.SurfaceView(back).Get(42, 0), 0u);
    EXPECT_EQ(display.SurfaceView(back).Get(39, 0), 0xFF0000u);

    display.DestroySurface(back);
    display.Present();
    EXPECT_EQ(ScreenPixel(display, 31, 21), 0xFF00FF00u);
    EXPECT_EQ(ScreenPixel(display, 55, 45), 0xFF000080u);
}

TEST(HeadlessDisplay, PresentsOnlyWhatIsDirty) {
    HeadlessDisplay display(100, 100, ScreenDepth::Direct24);
    const auto id = display.CreateSurface(Rect::FromSize(10, 10, 50, 50));
    display.ShowSurface(id, Visibility::Shown);
    display.Present();
    const int32_t shown = display.PresentCount();
    display.Present();
    EXPECT_EQ(display.PresentCount(), shown);  // nothing dirty, nothing shown

    // Drawing alone is not visible until the area is invalidated.
    display.SurfaceView(id).Set(5, 5, 0xFFFFFF);
    display.SurfaceView(id).Set(45, 45, 0xFFFFFF);
    display.Invalidate(id, Rect::FromSize(0, 0, 10, 10));
    display.Present();
    EXPECT_EQ(display.LastPresented(), std::vector<Rect>{Rect::FromSize(10, 10, 10, 10)});
    EXPECT_EQ(ScreenPixel(display, 15, 15), 0xFFFFFFFFu);
    EXPECT_EQ(ScreenPixel(display, 55, 55), 0xFF000000u);

    // Rectangles are clipped to the surface and merged when one holds another.
    display.Invalidate(id, Rect::FromSize(40, 40, 100, 100));
    display.Invalidate(id, Rect::FromSize(44, 44, 2, 2));
    display.Invalidate(id, Rect::FromSize(-5, -5, 3, 3));
    display.Present();
    EXPECT_EQ(display.LastPresented(), std::vector<Rect>{Rect::FromSize(50, 50, 10, 10)});
    EXPECT_EQ(ScreenPixel(display, 55, 55), 0xFFFFFFFFu);

    // Many small rectangles become one.
    for (int32_t i = 0; i < 40; ++i) {
        display.Invalidate(id, Rect::FromSize(i, i, 1, 1));
    }
    display.Present();
    EXPECT_LE(display.LastPresented().size(), 32u);

    // Unknown surfaces are refused.
    EXPECT_EQ(display.ShowSurface(999, Visibility::Shown), 0);
    EXPECT_EQ(display.MoveSurface(999, Rect::FromSize(0, 0, 5, 5)), 0);
    EXPECT_FALSE(display.SurfaceView(999).IsValid());
    EXPECT_EQ(display.CreateSurface(Rect::FromSize(0, 0, 0, 10)), 0);
}

TEST(HeadlessDisplay, ShowsPaletteChangesOfAnEightBitScreenWithoutRepainting) {
    HeadlessDisplay display(32, 32, ScreenDepth::Palette8);
    EXPECT_EQ(display.BitsPerPixel(), 8);
    EXPECT_EQ(display.ScreenView().format, gfx::PixelFormat::Indexed8);
    const auto id = display.CreateSurface(Rect::FromSize(0, 0, 32, 32));
    display.ShowSurface(id, Visibility::Shown);

    gfx::Palette palette({gfx::PaletteEntry{200, 10, 10, gfx::kPaletteReserved}});
    display.HardwarePalette().Realize(palette, gfx::RealizeMode::Foreground);
    const uint8_t index = palette.SystemIndex(0, display.HardwarePalette());
    Fill(display.SurfaceView(id), index);
    display.SurfaceView(id).Set(0, 0, 255);  // white, a static colour
    display.Present();
    EXPECT_EQ(ScreenPixel(display, 10, 10), 0xFFC80A0Au);
    EXPECT_EQ(ScreenPixel(display, 0, 0), 0xFFFFFFFFu);

    const int32_t before = display.PresentCount();
    const gfx::PaletteEntry blue{0, 0, 250, gfx::kPaletteReserved};
    ASSERT_EQ(palette.Animate(0, &blue, 1), 1);
    display.Present();
    EXPECT_EQ(display.PresentCount(), before + 1);
    EXPECT_EQ(display.LastPresented(), std::vector<Rect>{Rect::FromSize(0, 0, 32, 32)});
    EXPECT_EQ(ScreenPixel(display, 10, 10), 0xFF0000FAu);
    EXPECT_EQ(display.ScreenView().Get(10, 10), index);
}

TEST(HeadlessDisplay, WritesScreenshots) {
    HeadlessDisplay display(8, 4, ScreenDepth::Direct24);
    display.SetBackground(0x123456);
    display.Present();
    const std::string path = (std::filesystem::temp_directory_path() / "tamber_headless_shot.png").string();
    ASSERT_EQ(display.Screenshot(path), 1);
    PngImage image;
    ASSERT_EQ(PngFile::Read(path, image), 1);
    EXPECT_EQ(image.width, 8);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.At(7, 3), 0xFF123456u);
    std::remove(path.c_str());
    std::string error;
    EXPECT_EQ(display.Screenshot("/nonexistent/dir/shot.png", &error), 0);
    EXPECT_FALSE(error.empty());
}

TEST(HeadlessDisplay, QueuesInjectedInputAndTracksKeyState) {
    HeadlessDisplay display(640, 480, ScreenDepth::Direct24);
    InputEvent event;
    EXPECT_EQ(display.WaitEvent(event, 5000), 0);  // never blocks

    display.PostEvent({EventType::KeyDown, 0, 0, MouseButton::None, 1, 0, key::kShift});
    display.PostEvent({EventType::MouseDown, 100, 200, MouseButton::Left, 2});
    display.PostEvent({EventType::MouseUp, 101, 201, MouseButton::Left});
    display.PostEvent({EventType::KeyUp, 0, 0, MouseButton::None, 1, 0, key::kShift});

    // State follows the events as they are taken, not as they are queued.
    EXPECT_FALSE(display.IsKeyDown(key::kShift));
    ASSERT_EQ(display.PollEvent(event), 1);
    EXPECT_EQ(event.type, EventType::KeyDown);
    EXPECT_TRUE(display.IsKeyDown(key::kShift));
    EXPECT_EQ(display.Modifiers(), kModShift);

    ASSERT_EQ(display.WaitEvent(event, 0), 1);
    EXPECT_EQ(event.type, EventType::MouseDown);
    EXPECT_EQ(event.clicks, 2);
    EXPECT_TRUE(display.IsKeyDown(key::kLeftButton));
    EXPECT_EQ(display.PointerPosition(), (gfx::Point{100, 200}));

    ASSERT_EQ(display.PollEvent(event), 1);
    EXPECT_FALSE(display.IsKeyDown(key::kLeftButton));
    EXPECT_EQ(display.PointerPosition(), (gfx::Point{101, 201}));
    ASSERT_EQ(display.PollEvent(event), 1);
    EXPECT_FALSE(display.IsKeyDown(key::kShift));
    EXPECT_EQ(display.PollEvent(event), 0);

    // Out-of-range codes are ignored rather than tracked.
    display.PostEvent({EventType::KeyDown, 0, 0, MouseButton::None, 1, 0, 5000});
    display.PollEvent(event);
    EXPECT_FALSE(display.IsKeyDown(5000));
}

TEST(HeadlessDisplay, KeepsTheCursor) {
    HeadlessDisplay display(10, 10, ScreenDepth::Direct24);
    EXPECT_EQ(display.Cursor(), CursorShape::Arrow);
    display.SetCursor(CursorShape::Wait);
    EXPECT_EQ(display.Cursor(), CursorShape::Wait);
    display.SetCursorImage({2, 2, 1, 1, {0xFF000000, 0, 0, 0xFFFFFFFF}});
    EXPECT_EQ(display.Cursor(), CursorShape::Custom);
    display.SetCursorImage({4, 4, 0, 0, {1, 2}});  // pixel count does not match: ignored
    EXPECT_EQ(display.CustomCursor().width, 2);
}

}  // namespace
}  // namespace tamber
