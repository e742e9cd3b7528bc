#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/PngFile.h"
#include "support/PackedDib.h"
#include "tools/VerbRun.h"

namespace {

// A 24-bit BMP: red rises with x, green with y; Pixel answers it as the PNG holds it.
uint32_t Pixel(int32_t x, int32_t y)
{
    return 0xFF000000u | static_cast<uint32_t>(x * 4) << 16 | static_cast<uint32_t>(y * 8) << 8 | 0x40;
}

std::string Bmp(int32_t width, int32_t height)
{
    return tamber::test::BytesOf(tamber::test::MakeDib(
        width, height, 24, {}, [](int32_t x, int32_t y) { return Pixel(x, y) & 0xFFFFFFu; }));
}

class RenderTransitionVerb : public VerbTest {
protected:
    tamber::PngImage Frame(const std::string& folder, int frame)
    {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%03d.png", frame);
        tamber::PngImage image;
        EXPECT_EQ(tamber::PngFile::Read(Path(folder + "/" + name), image), 1) << name;
        return image;
    }
    size_t FrameCount(const std::string& folder)
    {
        size_t n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(Path(folder)))
            n += entry.path().extension() == ".png";
        return n;
    }
};

TEST_F(RenderTransitionVerb, WritesTheScreenAfterEachStepOfAWipe)
{
    const std::string bmp = WriteFile("p.bmp", Bmp(40, 8));
    VerbRun run = Tamberlyne({ "render-transition", bmp, "left to right wipe", Path("wipe") });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("wrote 4 frames of \"Left to Right Wipe\""), std::string::npos) << run.out;
    ASSERT_EQ(FrameCount("wipe"), 4u);
    // The first strip is in, the rest of the screen still black; the last frame is the picture.
    const tamber::PngImage first = Frame("wipe", 0);
    ASSERT_EQ(first.width, 40);
    EXPECT_EQ(first.At(15, 3), Pixel(15, 3));
    EXPECT_EQ(first.At(16, 3), 0xFF000000u);
    for (int32_t x : { 0, 17, 39 })
        EXPECT_EQ(Frame("wipe", 3).At(x, 7), Pixel(x, 7));
}

TEST_F(RenderTransitionVerb, SpreadsAtMostTheAskedFramesOverTheSteps)
{
    const std::string bmp = WriteFile("p.bmp", Bmp(40, 8));
    VerbRun run = Tamberlyne({ "render-transition", bmp, "22", Path("dissolve"), "--frames", "5", "--depth", "8" });
    ASSERT_EQ(run.status, 0) << run.err;
    // 20 cells, the value naming the cell below them and the final copy: 22 steps, every 5th.
    EXPECT_NE(run.out.find("22 steps, 8-bit screen"), std::string::npos) << run.out;
    EXPECT_EQ(FrameCount("dissolve"), 5u);
}

TEST_F(RenderTransitionVerb, RefusesUnknownEffectsAndFrameCounts)
{
    const std::string bmp = WriteFile("p.bmp", Bmp(4, 4));
    EXPECT_EQ(Tamberlyne({ "render-transition", bmp, "23", Path("out") }).status, 2);
    VerbRun named = Tamberlyne({ "render-transition", bmp, "Spiral", Path("out") });
    EXPECT_EQ(named.status, 2);
    EXPECT_NE(named.err.find("no transition effect \"Spiral\""), std::string::npos) << named.err;
    EXPECT_EQ(Tamberlyne({ "render-transition", bmp, "1", Path("out"), "--frames", "0" }).status, 2);
    EXPECT_EQ(Tamberlyne({ "render-transition", Path("missing.bmp"), "1", Path("out") }).status, 1);
}

} // namespace
