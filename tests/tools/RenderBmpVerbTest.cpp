#include <gtest/gtest.h>

#include <functional>

#include "platform/PngFile.h"
#include "support/PackedDib.h"
#include "tools/VerbRun.h"

namespace {

// A BMP file; pixel(x, y) (y from the top) is an index for up to 8 bits, else 0x00RRGGBB.
std::string Bmp(int32_t width, int32_t height, int bits, const std::vector<uint32_t>& table,
                const std::function<uint32_t(int32_t, int32_t)>& pixel) {
    return tamber::test::BytesOf(tamber::test::MakeDib(width, height, bits, table, pixel));
}

class RenderBmpVerb : public VerbTest {
protected:
    tamber::PngImage Read(const std::string& path) {
        tamber::PngImage image;
        EXPECT_EQ(tamber::PngFile::Read(path, image), 1);
        return image;
    }
};

TEST_F(RenderBmpVerb, RendersTrueColourOnEitherScreen) {
    const auto colour = [](int32_t x, int32_t y) { return x < 4 ? 0xC03010u : (y < 2 ? 0x20E0F0u : 0x123456u); };
    const std::string bmp = WriteFile("t.bmp", Bmp(7, 3, 24, {}, colour));
    VerbRun run = Tamberlyne({"render-bmp", bmp, Path("t24.png")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("7x3, 24-bit image on a 24-bit screen"), std::string::npos);
    tamber::PngImage image = Read(Path("t24.png"));
    ASSERT_EQ(image.width, 7);
    ASSERT_EQ(image.height, 3);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 7; ++x) {
            EXPECT_EQ(image.At(x, y), 0xFF000000u | colour(x, y)) << x << "," << y;
        }
    }

    // On an 8-bit screen the picture is reduced: colours that are exactly a popular cell survive,
    // others move to the nearest entry of the reduced palette.
    run = Tamberlyne({"render-bmp", bmp, Path("t8.png"), "--depth", "8"});
    ASSERT_EQ(run.status, 0) << run.err;
    image = Read(Path("t8.png"));
    EXPECT_EQ(image.At(0, 0), 0xFFC03010u);
    EXPECT_EQ(image.At(6, 2), 0xFF103050u);  // 0x123456 falls into the cell (1, 3, 5)
    EXPECT_EQ(image.At(6, 0), 0xFF20E0F0u);
}

TEST_F(RenderBmpVerb, ShowsIndexedPicturesThroughTheirPalette) {
    const std::vector<uint32_t> table = {0x000000, 0xFF8000, 0x1E90FF, 0x7F7F7F};
    const std::string bmp = WriteFile("p.bmp", Bmp(5, 4, 8, table, [](int32_t x, int32_t y) { return static_cast<uint32_t>((x + y) % 4); }));
    for (const char* depth : {"8", "24"}) {
        VerbRun run = Tamberlyne({"render-bmp", bmp, Path("p.png"), "--depth", depth});
        ASSERT_EQ(run.status, 0) << run.err;
        tamber::PngImage image = Read(Path("p.png"));
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 0; x < 5; ++x) {
                EXPECT_EQ(image.At(x, y), 0xFF000000u | table[static_cast<size_t>((x + y) % 4)]) << depth << " " << x << "," << y;
            }
        }
    }

    // A 1-bit picture with a coloured table.
    const std::string mono = WriteFile("m.bmp", Bmp(9, 2, 1, {0x000000, 0xFFFFFF}, [](int32_t x, int32_t) { return x % 2u; }));
    VerbRun run = Tamberlyne({"render-bmp", mono, Path("m.png")});
    ASSERT_EQ(run.status, 0) << run.err;
    tamber::PngImage image = Read(Path("m.png"));
    EXPECT_EQ(image.At(0, 0), 0xFF000000u);
    EXPECT_EQ(image.At(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(image.At(8, 0), 0xFF000000u);
}

TEST_F(RenderBmpVerb, ExplainsWhatIsWrong) {
    EXPECT_EQ(Tamberlyne({"render-bmp", Path("missing.bmp"), Path("o.png")}).status, 1);
    const std::string text = WriteFile("text.bmp", "hello, world");
    VerbRun run = Tamberlyne({"render-bmp", text, Path("o.png")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("does not start with \"BM\""), std::string::npos);

    std::string cut = Bmp(4, 4, 24, {}, [](int32_t, int32_t) { return 0u; });
    cut.resize(30);
    run = Tamberlyne({"render-bmp", WriteFile("cut.bmp", cut), Path("o.png")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("damaged"), std::string::npos);

    const std::string good = WriteFile("g.bmp", Bmp(2, 2, 24, {}, [](int32_t, int32_t) { return 0u; }));
    EXPECT_EQ(Tamberlyne({"render-bmp", good, Path("no/such/dir/o.png")}).status, 1);
    EXPECT_EQ(Tamberlyne({"render-bmp", good, Path("o.png"), "--depth", "16"}).status, 2);
    EXPECT_EQ(Tamberlyne({"render-bmp", good}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(Path("o.png")));
}

}  // namespace
