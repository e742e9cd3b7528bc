#include <gtest/gtest.h>

#include "platform/PngFile.h"
#include "tools/VerbRun.h"

namespace {

using GalleryVerb = VerbTest;

TEST_F(GalleryVerb, ScreenshotHasTheAskedSizeAndBadScreensAreRefused)
{
    const std::string png = Path("gallery.png");
    VerbRun run = Tamberlyne({"gallery", "--screen", "800x600x8", "--screenshot", png});
    ASSERT_EQ(run.status, 0) << run.err;
    tamber::PngImage image;
    ASSERT_EQ(tamber::PngFile::Read(png, image), 1);
    EXPECT_EQ(image.width, 800);
    EXPECT_EQ(image.height, 600);
    // The desktop colour shows below the main window.
    EXPECT_EQ(image.At(5, 595) & 0xFFFFFF, 0x008080u);
    std::filesystem::remove(png);

    for (const char* bad : {"800", "800x600x16", "10x10", "axb", "800x600x24x1"}) {
        EXPECT_EQ(Tamberlyne({"gallery", "--screen", bad, "--screenshot", png}).status, tamberlyne::kExitUsage) << bad;
        EXPECT_FALSE(std::filesystem::exists(png)) << bad;
    }
    EXPECT_EQ(Tamberlyne({"gallery", "extra"}).status, tamberlyne::kExitUsage);
}

}  // namespace
