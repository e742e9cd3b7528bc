#include <gtest/gtest.h>

#include "platform/PngFile.h"
#include "tools/VerbRun.h"

namespace {

class CompareVerb : public VerbTest {
protected:
    // A 4 x 3 picture of one colour, with the alpha byte given.
    std::string Picture(const std::string& name, uint32_t colour, uint32_t alpha = 0xFF000000u)
    {
        tamber::PngImage image;
        image.width = 4;
        image.height = 3;
        image.pixels.assign(12, alpha | colour);
        EXPECT_EQ(tamber::PngFile::Write(Path(name), image, tamber::PngFile::Alpha::Keep), 1);
        return Path(name);
    }
};

}  // namespace

TEST_F(CompareVerb, CountsDifferingColoursInTheWholePictureOrAnArea)
{
    std::string a = Picture("a.png", 0x102030);
    std::string b = Picture("b.png", 0x102030, 0x80000000u);
    VerbRun same = Tamberlyne({"compare", a, b});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "same\n") << "alpha is not a colour";

    tamber::PngImage image;
    ASSERT_EQ(tamber::PngFile::Read(b, image), 1);
    image.pixels[1 * 4 + 2] = 0xFF102031u;  // (2, 1)
    image.pixels[2 * 4 + 3] = 0xFFFFFFFFu;  // (3, 2)
    ASSERT_EQ(tamber::PngFile::Write(b, image, tamber::PngFile::Alpha::Keep), 1);
    std::string diff = Path("diff.png");
    VerbRun whole = Tamberlyne({"compare", a, b, "--diff", diff});
    EXPECT_EQ(whole.status, 1);
    EXPECT_EQ(whole.out, "2 pixels differ\n");
    tamber::PngImage marked;
    ASSERT_EQ(tamber::PngFile::Read(diff, marked), 1);
    EXPECT_EQ(marked.At(2, 1) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_NE(marked.At(0, 0) & 0xFFFFFFu, 0xFF0000u);

    EXPECT_EQ(Tamberlyne({"compare", a, b, "0", "0", "2", "3"}).out, "same\n");
    EXPECT_EQ(Tamberlyne({"compare", a, b, "2", "1", "1", "1"}).out, "1 pixels differ\n");
}

TEST_F(CompareVerb, RefusesOtherSizesAreasOutsideAndBadWords)
{
    std::string a = Picture("a.png", 0);
    tamber::PngImage wide;
    wide.width = 5;
    wide.height = 3;
    wide.pixels.assign(15, 0xFF000000u);
    std::string b = Path("wide.png");
    ASSERT_EQ(tamber::PngFile::Write(b, wide, tamber::PngFile::Alpha::Ignore), 1);
    VerbRun sizes = Tamberlyne({"compare", a, b});
    EXPECT_EQ(sizes.status, 1);
    EXPECT_NE(sizes.err.find("is 5x3, not 4x3"), std::string::npos) << sizes.err;
    EXPECT_EQ(Tamberlyne({"compare", a, a, "3", "0", "2", "1"}).status, 1) << "the area leaves the picture";
    EXPECT_EQ(Tamberlyne({"compare", a, a, "0", "0", "0", "1"}).status, 2);
    EXPECT_EQ(Tamberlyne({"compare", a, a, "0", "x", "1", "1"}).status, 2);
    EXPECT_EQ(Tamberlyne({"compare", a}).status, 2);
    EXPECT_EQ(Tamberlyne({"compare", a, Path("missing.png")}).status, 1);
}
