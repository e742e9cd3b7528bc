#include "media/GraphicMedium.h"

#include <gtest/gtest.h>

#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "media/CanvasBitmaps.h"
#include "media/MediaTestSupport.h"
#include "platform/FakeSystemServices.h"
#include "platform/MemoryFileSystem.h"

namespace tamber {
namespace {

constexpr const char* kPath = "/titles/app.mmd";

MemoryBlock Bytes(const std::string& text)
{
    return MemoryBlock(text.data(), static_cast<int32_t>(text.size()));
}

MemoryBlock Mode(int32_t value)
{
    MemoryBlock mode;
    mode.AppendInt(value, 4);
    return mode;
}

std::vector<uint8_t> Vector(const MemoryBlock& block)
{
    return std::vector<uint8_t>(block.Data(), block.Data() + block.Size());
}

// 1 x 1, 24 bits, one colour.
MemoryBlock Dot(uint32_t rgb)
{
    return test::MakeDib(1, 1, 24, {}, [rgb](int32_t, int32_t) { return rgb; });
}

struct Library {
    Library()
    {
        db = std::make_unique<MediaDatabase>(fs, nullptr, nullptr);
        EXPECT_EQ(db->Open(kPath), 1);
        links.Links() = { HotLink { HotLinkKind::Object, {}, 2, nullptr, 500 },
            HotLink { HotLinkKind::Area, { 1, 2, 3, 4 }, 0, nullptr, 501 } };
        CanvasBitmaps::AppendRecord(bitmaps, 2, Dot(0x00FF00));
    }
    uint32_t Add(const std::string& name, const std::string& type, std::vector<NewPart> parts,
        std::vector<std::string> files = {})
    {
        NewMedium medium;
        medium.name = name;
        medium.type = type;
        medium.parts = std::move(parts);
        medium.files = std::move(files);
        uint32_t id = 0;
        EXPECT_EQ(MediaCatalogWriter(*db).CreateMedium(medium, &id), 1);
        return id;
    }
    // A picture, the hot links, a mode and a canvas text.
    std::vector<NewPart> Tagged(const std::string& canvas, int32_t mode = 1)
    {
        return { { "Data", picture }, { "Hots", links.Store() }, { "Mode", Mode(mode) },
            { "Objs", Bytes(canvas) } };
    }
    GraphicFiles Files(SystemServices* system = nullptr) { return GraphicFiles { &fs, system, "/titles" }; }

    MemoryFileSystem fs;
    std::unique_ptr<MediaDatabase> db;
    HotLinkTable links;
    MemoryBlock bitmaps;
    const std::string objects = "CANVAS (32 32) { OBJECT { BITMAP 2 { (1 1) } RECT 3 { (0 0 4 4) } } }";
    const MemoryBlock picture = Dot(0xFF0000);
};

TEST(GraphicMedium, ReadsPictureHotLinksAndCanvasFromItsParts)
{
    Library lib;
    std::vector<NewPart> parts = lib.Tagged(lib.objects + '\0');
    parts.push_back({ "Bmps", lib.bitmaps });
    const uint32_t id = lib.Add("Map", "Graphic", parts);
    GraphicMedium medium(lib.db.get(), lib.Files());
    ASSERT_EQ(medium.Load(id), GraphicMedium::Status::Ok);
    EXPECT_EQ(medium.Picture(), lib.picture);
    EXPECT_TRUE(medium.ExternalFile().empty());
    ASSERT_EQ(medium.HotLinks().Count(), 2);
    ASSERT_TRUE(medium.HasCanvas());
    Canvas& canvas = medium.GetCanvas();
    EXPECT_EQ(canvas.Live().size(), 2u);
    EXPECT_EQ(canvas.Find(2)->picture, Dot(0x00FF00));
    EXPECT_EQ(medium.HotLinks().Links()[0].object, canvas.Find(2));

    // A zero mode means no canvas, whatever "Objs" holds.
    const uint32_t flat = lib.Add("Flat", "BMP", lib.Tagged(lib.objects, 0));
    ASSERT_EQ(medium.Load(flat), GraphicMedium::Status::Ok);
    EXPECT_FALSE(medium.HasCanvas());
    EXPECT_TRUE(medium.GetCanvas().Live().empty());
    EXPECT_EQ(medium.HotLinks().Links()[0].object, nullptr);
}

TEST(GraphicMedium, TaggedPartsNeedMoreThanTwoParts)
{
    Library lib;
    // Two parts: the second is the hot-link table, so "Mode" is never looked at.
    const uint32_t two = lib.Add("Two", "Graphic", { { "Data", lib.picture }, { "Mode", Mode(1) } });
    GraphicMedium medium(lib.db.get(), lib.Files());
    ASSERT_EQ(medium.Load(two), GraphicMedium::Status::Ok);
    EXPECT_FALSE(medium.HasCanvas());
    EXPECT_EQ(medium.HotLinks().Count(), 0);
    // One part: a picture and nothing else.
    const uint32_t one = lib.Add("One", "Graphic", { { "Data", lib.picture } });
    ASSERT_EQ(medium.Load(one), GraphicMedium::Status::Ok);
    EXPECT_EQ(medium.HotLinks().Count(), 0);
    // Three parts with a mode but a broken canvas text.
    const uint32_t broken = lib.Add("Broken", "Graphic", lib.Tagged("CANVAS (1 1) {"));
    EXPECT_EQ(medium.Load(broken), GraphicMedium::Status::CanvasFailed);
    EXPECT_EQ(medium.Picture(), lib.picture); // the picture still shows
    EXPECT_EQ(medium.HotLinks().Count(), 2);
    EXPECT_TRUE(medium.GetCanvas().Live().empty());
}

TEST(GraphicMedium, AnOutsidePictureShiftsThePartsDown)
{
    Library lib;
    FakeSystemServices system;
    lib.fs.SetContents("/titles/art/Pic.bmp", Vector(lib.picture));
    system.AddFile("/titles/art/Pic.bmp");
    const uint32_t id = lib.Add("Outside", "Graphic",
        { { "Hots", lib.links.Store() }, { "Mode", Mode(7) }, { "Objs", Bytes(lib.objects) },
            { "Bmps", lib.bitmaps } },
        { "notes.txt", "ART\\PIC.BMP" });
    GraphicMedium medium(lib.db.get(), lib.Files(&system));
    ASSERT_EQ(medium.Load(id), GraphicMedium::Status::Ok);
    EXPECT_EQ(medium.ExternalFile(), "ART\\PIC.BMP");
    EXPECT_EQ(medium.Picture(), lib.picture);
    EXPECT_EQ(medium.HotLinks().Count(), 2);
    EXPECT_EQ(medium.GetCanvas().Live().size(), 2u);

    // Two parts are enough for the tagged ones beside an outside picture; one is not.
    const uint32_t two = lib.Add(
        "Two", "Graphic", { { "Hots", lib.links.Store() }, { "Mode", Mode(1) } }, { "ART\\PIC.BMP" });
    EXPECT_EQ(medium.Load(two), GraphicMedium::Status::CanvasFailed); // a mode and no text
    EXPECT_TRUE(medium.HasCanvas());
    const uint32_t one = lib.Add("One", "Graphic", { { "Hots", lib.links.Store() } }, { "art\\pic.BMP" });
    ASSERT_EQ(medium.Load(one), GraphicMedium::Status::Ok);
    EXPECT_EQ(medium.HotLinks().Count(), 2);
    EXPECT_FALSE(medium.HasCanvas());

    const uint32_t missing = lib.Add("Missing", "Graphic", { { "Hots", lib.links.Store() } }, { "GONE.BMP" });
    EXPECT_EQ(medium.Load(missing), GraphicMedium::Status::FileMissing);
    EXPECT_TRUE(medium.Picture().Empty());
}

TEST(GraphicMedium, ComposesThePictureWithItsCanvas)
{
    Library lib;
    const MemoryBlock grey = test::MakeDib(6, 4, 8, { 0x808080 }, [](int32_t, int32_t) { return 0u; });
    const std::string objects
        = "CANVAS (6 4) { OBJECT { RECT 1 { FillColor 0x0000FF LineWidth 0 (1 1 2 2) } } }";
    std::vector<NewPart> parts = lib.Tagged(objects);
    parts[0].bytes = grey;
    const uint32_t id = lib.Add("Scene", "Graphic", parts);
    const uint32_t plain = lib.Add("Plain", "Graphic", { { "Data", grey } });
    for (ScreenDepth depth : { ScreenDepth::Direct24, ScreenDepth::Palette8 }) {
        test::Screen screen(depth);
        GraphicMedium medium(lib.db.get(), lib.Files());
        ASSERT_EQ(medium.Load(id), GraphicMedium::Status::Ok);
        DibImage image(screen.context);
        ASSERT_EQ(medium.Compose(screen.context, image, nullptr, OfferConversion::No), 1);
        ASSERT_NE(image.Bitmap(), nullptr);
        EXPECT_EQ(screen.Shown(*image.Bitmap(), 2, 2), 0xFF0000u);
        EXPECT_EQ(screen.Shown(*image.Bitmap(), 3, 3), 0x808080u);
        ASSERT_EQ(medium.Load(plain), GraphicMedium::Status::Ok);
        ASSERT_EQ(medium.Compose(screen.context, image, nullptr, OfferConversion::No), 1);
        EXPECT_EQ(screen.Shown(*image.Bitmap(), 2, 2), 0x808080u);
    }
}

TEST(GraphicMedium, RefusesOtherMedia)
{
    Library lib;
    const uint32_t text = lib.Add("Words", "Text", { { "Data", lib.picture } });
    const uint32_t empty = lib.Add("Empty", "Graphic", {});
    GraphicMedium medium(lib.db.get(), lib.Files());
    EXPECT_EQ(medium.Load(text), GraphicMedium::Status::NotGraphic);
    EXPECT_EQ(medium.Load(empty), GraphicMedium::Status::NoPicture);
    EXPECT_EQ(medium.Load(9999), GraphicMedium::Status::NoMedium);
    GraphicMedium detached(nullptr, lib.Files());
    EXPECT_EQ(detached.Load(text), GraphicMedium::Status::NoMedium);
}

TEST(GraphicMedium, BitmapObjectsFindPicturesByFileOrMediumName)
{
    Library lib;
    lib.fs.SetContents("/titles/STAMP.BMP", Vector(Dot(0x0000FF)));
    lib.fs.SetContents("/titles/NOTBMP.BMP", { 'X', 'Y', 'Z' });
    lib.Add("Logo", "BMP", { { "Data", Dot(0x123456) } });
    lib.Add("Logo", "Graphic", { { "Data", Dot(0x654321) } }); // "Graphic" is asked first
    const std::string objects = "CANVAS (9 9) { OBJECT { BITMAP 5 { FileName \"other.mmd#logo\" }"
                                " BITMAP 6 { FileName \"stamp.bmp\" } BITMAP 7 { FileName \"NOTBMP.BMP\" }"
                                " BITMAP 8 { FileName \"x#Nobody\" } } }";
    const uint32_t id = lib.Add("Scene", "Graphic", lib.Tagged(objects));
    FakeSystemServices system;
    system.AddFile("/titles/STAMP.BMP");
    system.AddFile("/titles/NOTBMP.BMP");
    GraphicMedium medium(lib.db.get(), lib.Files(&system));
    ASSERT_EQ(medium.Load(id), GraphicMedium::Status::Ok);
    const Canvas& canvas = medium.GetCanvas();
    ASSERT_EQ(canvas.Live().size(), 2u); // NOTBMP.BMP is not a picture; "Nobody" is not there
    EXPECT_EQ(canvas.Find(5)->picture, Dot(0x654321));
    EXPECT_EQ(canvas.Find(6)->picture, Dot(0x0000FF));

    // Without a database of its own, the named database file is opened.
    lib.db.reset();
    GraphicMedium detached(nullptr, lib.Files());
    MemoryBlock picture;
    ASSERT_EQ(detached.LoadPicture("app.mmd#LOGO", picture), 1);
    EXPECT_EQ(picture, Dot(0x654321));
    EXPECT_EQ(detached.LoadPicture("none.mmd#Logo", picture), 0);
}

} // namespace
} // namespace tamber
