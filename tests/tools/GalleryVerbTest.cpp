#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/PngFile.h"
#include "tamberlyne/Verb.h"

namespace {

int Gallery(std::vector<std::string> args, std::string& out, std::string& err)
{
    std::ostringstream o, e;
    args.insert(args.begin(), "gallery");
    int status = tamberlyne::RunTamberlyne(args, o, e);
    out = o.str();
    err = e.str();
    return status;
}

TEST(GalleryVerb, ScreenshotHasTheAskedSizeAndBadScreensAreRefused)
{
    namespace fs = std::filesystem;
    fs::path png = fs::temp_directory_path() / ("tamber_gallery_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".png");
    std::string out, err;
    ASSERT_EQ(Gallery({ "--screen", "800x600x8", "--screenshot", png.string() }, out, err), 0) << err;
    tamber::PngImage image;
    ASSERT_EQ(tamber::PngFile::Read(png.string(), image), 1);
    EXPECT_EQ(image.width, 800);
    EXPECT_EQ(image.height, 600);
    // The desktop colour shows below the main window.
    EXPECT_EQ(image.At(5, 595) & 0xFFFFFF, 0x008080u);
    fs::remove(png);

    for (const char* bad : { "800", "800x600x16", "10x10", "axb", "800x600x24x1" }) {
        EXPECT_EQ(Gallery({ "--screen", bad, "--screenshot", png.string() }, out, err), tamberlyne::kExitUsage) << bad;
        EXPECT_FALSE(fs::exists(png)) << bad;
    }
    EXPECT_EQ(Gallery({ "extra" }, out, err), tamberlyne::kExitUsage);
}

} // namespace
