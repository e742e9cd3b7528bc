#include "platform/display/SdlDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace tamber {
namespace {

// The window tests run in a child process under a private X server, so that they neither need
// nor disturb the user's screen.
constexpr const char* kChildVariable = "TAMBER_SDL_DISPLAY_CHILD";

bool HaveProgram(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// A screen dump of the X server's root window as written by xwd.
struct XwdImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB

    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

uint32_t BigEndian32(const std::vector<uint8_t>& bytes, size_t offset) {
    return uint32_t{bytes[offset]} << 24 | uint32_t{bytes[offset + 1]} << 16 | uint32_t{bytes[offset + 2]} << 8 |
           bytes[offset + 3];
}

bool GrabRoot(XwdImage& image) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tamber_root_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".xwd"))
                                 .string();
    if (std::system(("xwd -root -silent -out " + path).c_str()) != 0) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    // Header: 25 big-endian 32-bit fields; we need size, width, height, byte order, bits per
    // pixel (24 or 32, depending on how the server answers), bytes per line and the number of
    // colour entries that follow the header.
    if (bytes.size() < 100) {
        return false;
    }
    const uint32_t headerSize = BigEndian32(bytes, 0);
    image.width = static_cast<int32_t>(BigEndian32(bytes, 16));
    image.height = static_cast<int32_t>(BigEndian32(bytes, 20));
    const uint32_t byteOrder = BigEndian32(bytes, 28);
    const uint32_t bitsPerPixel = BigEndian32(bytes, 44);
    const uint32_t bytesPerLine = BigEndian32(bytes, 48);
    const uint32_t colors = BigEndian32(bytes, 76);
    const size_t start = headerSize + static_cast<size_t>(colors) * 12;
    const uint32_t step = bitsPerPixel / 8;
    if ((step != 3 && step != 4) || start + static_cast<size_t>(bytesPerLine) * image.height > bytes.size()) {
        return false;
    }
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const uint8_t* p = &bytes[start + static_cast<size_t>(y) * bytesPerLine + static_cast<size_t>(x) * step];
            uint32_t value = 0;
            for (uint32_t i = 0; i < step; ++i) {
                value |= uint32_t{p[byteOrder == 0 ? i : step - 1 - i]} << (8 * i);
            }
            image.pixels[static_cast<size_t>(y) * image.width + x] = value & 0xFFFFFFu;
        }
    }
    return true;
}

void Settle(Display& display) {
    // Let the X server map the window and process what was drawn.
    InputEvent event;
    for (int i = 0; i < 10; ++i) {
        while (display.PollEvent(event) == 1) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}

// Where screen pixel (x, y) appears on the X root window.
gfx::Point OnRoot(const SdlDisplay& display, int32_t x, int32_t y) {
    const gfx::Rect view = display.Viewport();
    const gfx::Point window = display.WindowPosition();
    return {window.x + view.left + (2 * x + 1) * view.Width() / (2 * display.Width()),
            window.y + view.top + (2 * y + 1) * view.Height() / (2 * display.Height())};
}

TEST(SdlDisplay, ShowsTheScreenScaledAndFollowsThePalette) {
    if (std::getenv(kChildVariable) == nullptr) {
        if (!HaveProgram("xvfb-run") || !HaveProgram("xwd")) {
            GTEST_SKIP() << "xvfb-run or xwd is not installed";
        }
        const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
        // SDL loads and unloads X and GL driver libraries at run time; what they keep cannot be
        // attributed to a library by the leak checker, so the child runs without it.
        const std::string command = std::string("env -u DISPLAY -u SDL_VIDEODRIVER ") +
                                    "ASAN_OPTIONS=\"${ASAN_OPTIONS:-}:detect_leaks=0\" " + kChildVariable +
                                    "=1 xvfb-run -a -s '-screen 0 1024x768x24' " + self +
                                    " --gtest_filter='SdlDisplay.*' --gtest_brief=1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return;
    }

    std::string error;
    SdlDisplayOptions options;
    options.vsync = VSync::Off;
    auto display = SdlDisplay::Create(320, 200, ScreenDepth::Palette8, options, &error);
    ASSERT_NE(display, nullptr) << error;
    // 320x200 fits three times into 1024x768.
    EXPECT_EQ(display->Viewport().Width(), 960);
    EXPECT_EQ(display->Viewport().Height(), 600);

    gfx::SystemPalette& hardware = display->HardwarePalette();
    gfx::Palette palette({gfx::PaletteEntry{250, 0, 0, gfx::kPaletteReserved}});
    hardware.Realize(palette, gfx::RealizeMode::Foreground);
    const uint8_t red = palette.SystemIndex(0, hardware);
    const uint8_t green = hardware.Nearest(gfx::Rgb(0, 255, 0));

    const auto id = display->CreateSurface(gfx::Rect::FromSize(0, 0, 320, 200));
    const gfx::Surface surface = display->SurfaceView(id);
    for (int32_t y = 0; y < 200; ++y) {
        for (int32_t x = 0; x < 320; ++x) {
            surface.Set(x, y, x < 160 ? red : green);
        }
    }
    display->ShowSurface(id, Visibility::Shown);
    display->Present();
    Settle(*display);

    XwdImage root;
    ASSERT_TRUE(GrabRoot(root));
    gfx::Point left = OnRoot(*display, 40, 100);
    gfx::Point right = OnRoot(*display, 300, 10);
    EXPECT_EQ(root.At(left.x, left.y), 0xFA0000u);
    EXPECT_EQ(root.At(right.x, right.y), 0x00FF00u);

    // A palette change shows at the next presentation with no drawing in between.
    const gfx::PaletteEntry blue{0, 0, 240, gfx::kPaletteReserved};
    palette.Animate(0, &blue, 1);
    display->Present();
    Settle(*display);
    ASSERT_TRUE(GrabRoot(root));
    EXPECT_EQ(root.At(left.x, left.y), 0x0000F0u);
    EXPECT_EQ(root.At(right.x, right.y), 0x00FF00u);

    // Clicks arrive in screen coordinates; the second press of a double click counts 2.
    if (HaveProgram("xdotool")) {
        const gfx::Point target = OnRoot(*display, 100, 50);
        const std::string click = "xdotool mousemove " + std::to_string(target.x) + " " + std::to_string(target.y) +
                                  " click --repeat 2 --delay 40 1";
        ASSERT_EQ(std::system(click.c_str()), 0);
        std::vector<InputEvent> downs;
        InputEvent event;
        for (int i = 0; i < 50 && downs.size() < 2; ++i) {
            if (display->WaitEvent(event, 20) == 1 && event.type == EventType::MouseDown) {
                downs.push_back(event);
            }
        }
        ASSERT_EQ(downs.size(), 2u);
        EXPECT_EQ(downs[0].x, 100);
        EXPECT_EQ(downs[0].y, 50);
        EXPECT_EQ(downs[0].button, MouseButton::Left);
        EXPECT_EQ(downs[0].clicks, 1);
        EXPECT_EQ(downs[1].clicks, 2);
    }
}

}  // namespace
}  // namespace tamber
