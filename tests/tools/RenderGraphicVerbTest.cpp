#include <gtest/gtest.h>

#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "platform/PngFile.h"
#include "support/PackedDib.h"
#include "tools/VerbRun.h"

namespace {

tamber::MemoryBlock Bytes(const std::string& text)
{
    return tamber::MemoryBlock(text.data(), static_cast<int32_t>(text.size()));
}

tamber::MemoryBlock Word(int32_t value)
{
    tamber::MemoryBlock block;
    block.AppendInt(value, 4);
    return block;
}

class RenderGraphicVerb : public VerbTest {
protected:
    void SetUp() override
    {
        VerbTest::SetUp();
        tamber::MediaDatabase db;
        ASSERT_EQ(db.Open(Path("t.mmd")), 1);
        tamber::MediaCatalogWriter writer(db);
        const std::string canvas
            = "CANVAS (8 6) { OBJECT { RECT 1 { FillColor 0x0000FF LineWidth 0 (2 1 4 3) } } }";
        const tamber::NewPart grey { "Data", tamber::test::PlainDib(8, 6, 0x808080) };
        const tamber::NewPart hots { "Hots", Word(0) };
        const tamber::NewPart mode { "Mode", Word(1) };
        Add(writer, "Scene", "Graphic", { grey, hots, mode, { "Objs", Bytes(canvas) } });
        Add(writer, "Broken", "Graphic", { grey, hots, mode, { "Objs", Bytes("CANVAS (") } });
        Add(writer, "Words", "Text", { { "Text", Bytes("hello") } });
        Add(writer, "Outside", "Graphic", { hots, mode, { "Objs", Bytes(canvas) } }, { "ART\\BACK.BMP" });
        WriteFile("art/back.bmp", tamber::test::PlainDib(8, 6, 0x00FF00).ToString());
    }
    void Add(tamber::MediaCatalogWriter& writer, const std::string& name, const std::string& type,
        std::vector<tamber::NewPart> parts, std::vector<std::string> files = {})
    {
        tamber::NewMedium medium;
        medium.name = name;
        medium.type = type;
        medium.parts = std::move(parts);
        medium.files = std::move(files);
        ASSERT_EQ(writer.CreateMedium(medium), 1);
    }
    tamber::PngImage Read(const std::string& path)
    {
        tamber::PngImage image;
        EXPECT_EQ(tamber::PngFile::Read(path, image), 1);
        return image;
    }
};

TEST_F(RenderGraphicVerb, DrawsTheCanvasOverThePicture)
{
    for (const char* depth : { "24", "8" }) {
        VerbRun run
            = Tamberlyne({ "render-graphic", Path("t.mmd"), "scene", Path("s.png"), "--depth", depth });
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("8x6, 1 canvas objects, 0 hot links"), std::string::npos) << run.out;
        const tamber::PngImage image = Read(Path("s.png"));
        ASSERT_EQ(image.width, 8);
        EXPECT_EQ(image.At(2, 1), 0xFFFF0000u) << depth;
        EXPECT_EQ(image.At(5, 3), 0xFF808080u) << depth;
    }
    // The picture from an outside file, found without regard to case.
    VerbRun run = Tamberlyne({ "render-graphic", Path("t.mmd"), "Outside", Path("o.png") });
    ASSERT_EQ(run.status, 0) << run.err;
    const tamber::PngImage image = Read(Path("o.png"));
    EXPECT_EQ(image.At(0, 0), 0xFF00FF00u);
    EXPECT_EQ(image.At(3, 2), 0xFFFF0000u);
}

TEST_F(RenderGraphicVerb, ExplainsWhatIsWrong)
{
    VerbRun run = Tamberlyne({ "render-graphic", Path("t.mmd"), "Broken", Path("b.png") });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("canvas not drawn"), std::string::npos) << run.err;
    EXPECT_EQ(Read(Path("b.png")).At(3, 2), 0xFF808080u);

    run = Tamberlyne({ "render-graphic", Path("t.mmd"), "Words", Path("w.png") });
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not a Graphic medium"), std::string::npos) << run.err;
    run = Tamberlyne({ "render-graphic", Path("t.mmd"), "#4000", Path("w.png") });
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no medium with id 4000"), std::string::npos) << run.err;
    EXPECT_EQ(Tamberlyne({ "render-graphic", Path("t.mmd"), "Scene" }).status, 2);
    EXPECT_EQ(
        Tamberlyne({ "render-graphic", Path("t.mmd"), "Scene", Path("x.png"), "--depth", "16" }).status, 2);
}

} // namespace
