#include "platform/PngFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace tamber {
namespace {

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("tamber_png_") + name)).string();
}

TEST(PngFile, RoundTripsPixelsWithAndWithoutAlpha) {
    const std::vector<uint32_t> pixels = {0xFF102030, 0x80FFFFFF, 0x00000000, 0xFFABCDEF,
                                          0xFF0000FF, 0xFF00FF00};
    const std::string path = TempPath("roundtrip.png");

    ASSERT_EQ(PngFile::Write(path, pixels.data(), 3, 2, PngFile::Alpha::Keep), 1);
    PngImage back;
    ASSERT_EQ(PngFile::Read(path, back), 1);
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, pixels);

    ASSERT_EQ(PngFile::Write(path, pixels.data(), 3, 2, PngFile::Alpha::Ignore), 1);
    ASSERT_EQ(PngFile::Read(path, back), 1);
    for (size_t i = 0; i < pixels.size(); ++i) {
        EXPECT_EQ(back.pixels[i], pixels[i] | 0xFF000000u) << i;
    }
    EXPECT_EQ(back.At(2, 1), 0xFF00FF00u);
    std::remove(path.c_str());
}

TEST(PngFile, ReportsErrorsAndKeepsTheImage) {
    PngImage image;
    image.width = 1;
    image.height = 1;
    image.pixels = {0xFF123456};
    std::string error;

    EXPECT_EQ(PngFile::Read(TempPath("does_not_exist.png"), image, &error), 0);
    EXPECT_FALSE(error.empty());

    const std::string garbage = TempPath("garbage.png");
    std::ofstream(garbage) << "\x89PNG\r\n\x1a\nnot really";
    EXPECT_EQ(PngFile::Read(garbage, image, &error), 0);
    std::remove(garbage.c_str());
    EXPECT_EQ(image.pixels, std::vector<uint32_t>{0xFF123456});

    EXPECT_EQ(PngFile::Write(TempPath("nowhere/x/y.png"), image, PngFile::Alpha::Keep, &error), 0);
    EXPECT_EQ(PngFile::Write(TempPath("empty.png"), nullptr, 0, 0, PngFile::Alpha::Keep, &error), 0);
    image.pixels.clear();
    EXPECT_EQ(PngFile::Write(TempPath("short.png"), image, PngFile::Alpha::Keep, &error), 0);
}

}  // namespace
}  // namespace tamber
