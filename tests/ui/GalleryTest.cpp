#include "ui/Gallery.h"

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/PngFile.h"
#include "platform/clock/VirtualClock.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/fonts/FreeTypeFontSource.h"
#include "ui/Application.h"

namespace tamber::ui::test {
namespace {

// Renders the gallery headless and compares the screen with the kept picture. Setting
// TAMBER_UPDATE_GOLDEN=1 writes the pictures instead (look at them before committing).
void CompareWithGolden(ScreenDepth depth, const char* name)
{
    HeadlessDisplay display(1024, 768, depth);
    VirtualClock clock;
    FreeTypeFontSource fonts;
    Application app(display, clock, &fonts);
    Gallery gallery;
    ASSERT_EQ(gallery.Build(), 1);
    app.ProcessPending();
    gallery.ShowOkTip();
    app.PaintAll();
    app.Present();
    PngImage actual;
    display.Capture(actual);

    std::string golden = std::string(TAMBER_SOURCE_DIR) + "/tests/ui/golden/" + name;
    if (std::getenv("TAMBER_UPDATE_GOLDEN")) {
        ASSERT_EQ(PngFile::Write(golden, actual, PngFile::Alpha::Ignore), 1);
        GTEST_SKIP() << "wrote " << golden;
    }
    PngImage expected;
    ASSERT_EQ(PngFile::Read(golden, expected), 1) << golden;
    ASSERT_EQ(expected.width, actual.width);
    ASSERT_EQ(expected.height, actual.height);
    int differing = 0;
    int firstX = -1, firstY = -1;
    for (int32_t y = 0; y < actual.height; ++y) {
        for (int32_t x = 0; x < actual.width; ++x) {
            if ((actual.At(x, y) & 0xFFFFFF) != (expected.At(x, y) & 0xFFFFFF)) {
                if (differing++ == 0) {
                    firstX = x;
                    firstY = y;
                }
            }
        }
    }
    if (differing) {
        std::string out = std::string(TAMBER_BINARY_DIR) + "/" + name;
        PngFile::Write(out, actual, PngFile::Alpha::Ignore);
        FAIL() << differing << " pixels differ from " << golden << ", first at (" << firstX << ", " << firstY
               << "); this run's picture is " << out;
    }
}

TEST(Gallery, MatchesTheKeptPicturesOn24And8BitScreens)
{
    CompareWithGolden(ScreenDepth::Direct24, "gallery-24.png");
    CompareWithGolden(ScreenDepth::Palette8, "gallery-8.png");
}

} // namespace
} // namespace tamber::ui::test
