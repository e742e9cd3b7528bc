#include <gtest/gtest.h>

#include "elements/LineElement.h"
#include "elements/PictureElement.h"
#include "elements/RectangleElement.h"
#include "elements/StringElement.h"
#include "ElementTestSupport.h"
#include "HostedElements.h"

using namespace tamber;
using namespace tamber::test;

namespace {

using V = AttributeValue;

constexpr uint32_t kWhitePixel = 0x00FFFFFF;
constexpr uint32_t kBlackPixel = 0x00000000;
constexpr uint32_t kRedPixel = 0x00FF0000;
constexpr uint32_t kGreyPixel = 0x00808080;

}  // namespace

// Glyphs come from the application's block face: ink at x 1..4 and y 1..7 of each 6 x 10 cell.
TEST(StringPainter, DrawsShadowUnderTextWrapsAndAligns)
{
    ui::test::UiHarness ui;
    StringElement label;
    Set(label, "Text", ValueType::String, V::OfString("AB CD"));
    Set(label, "ShadowXOffset", ValueType::Long, V::OfLong(2));
    Set(label, "ShadowYOffset", ValueType::Long, V::OfLong(2));
    Set(label, "ShadowColor", ValueType::Color, V::OfColor(0x0000FF));  // red, as 0x00BBGGRR
    Canvas canvas(20, 30);
    label.Paint(canvas.dc, 20, 30);
    EXPECT_EQ(canvas.At(1, 1), kBlackPixel);   // text
    EXPECT_EQ(canvas.At(5, 9), kRedPixel);     // shadow only
    EXPECT_EQ(canvas.At(5, 1), kWhitePixel);   // between the glyph and its shadow
    EXPECT_EQ(canvas.At(1, 11), kBlackPixel);  // "CD" wrapped onto the second line
    EXPECT_EQ(canvas.At(13, 1), kWhitePixel);  // nothing of "CD" stayed on the first

    // Without offsets no shadow is drawn; right alignment puts the text at the frame's end.
    Set(label, "ShadowXOffset", ValueType::Long, V::OfLong(0));
    Set(label, "ShadowYOffset", ValueType::Long, V::OfLong(0));
    Set(label, "Text", ValueType::String, V::OfString("A"));
    Set(label, "TextAlign", ValueType::Enum, V::OfEnum(StringElement::kRight));
    Canvas right(30, 10);
    label.Paint(right.dc, 30, 10);
    EXPECT_EQ(right.At(25, 4), kBlackPixel);
    EXPECT_EQ(right.At(2, 4), kWhitePixel);
    EXPECT_EQ(right.Count(kRedPixel), 0);
}

TEST(StringPainter, DefaultSizeFollowsTheTextAndIsCentred)
{
    ui::test::UiHarness ui;
    StringElement label;
    label.SetFrame(CardRect {100, 100, 0, 0});
    label.ApplyDefaultSize();
    V text;
    ASSERT_EQ(label.GetAttribute("Text", ValueType::String, text), 1);
    EXPECT_EQ(text.String(), "String");
    EXPECT_EQ(label.GetFrame(), (CardRect {82, 95, 36, 10}));  // six 6-pixel cells, one line

    StringElement wide;
    Set(wide, "Text", ValueType::String, V::OfString(std::string(59, 'x') + " " + std::string(59, 'y')));
    wide.SetFrame(CardRect {400, 300, 0, 0});
    wide.ApplyDefaultSize();
    EXPECT_EQ(wide.GetFrame().width, StringElement::kMaxDefaultWidth);
    EXPECT_EQ(wide.GetFrame().height, 20);
    EXPECT_EQ(wide.GetFrame().left, 400 - 250);

    // A frame that has a size keeps it.
    StringElement sized;
    sized.SetFrame(CardRect {5, 6, 70, 8});
    sized.ApplyDefaultSize();
    EXPECT_EQ(sized.GetFrame(), (CardRect {5, 6, 70, 8}));
}

TEST(LinePainter, DirectionComesFromTheFrameUntilSetAndAgainAfterLoading)
{
    LineElement line;
    line.SetFrame(CardRect {0, 0, 5, 100});
    Canvas tall(5, 100);
    line.Paint(tall.dc, 5, 100);
    EXPECT_EQ(tall.At(2, 0), kBlackPixel);
    EXPECT_EQ(tall.At(2, 99), kBlackPixel);
    EXPECT_EQ(tall.At(0, 50), kWhitePixel);
    EXPECT_EQ(tall.At(4, 50), kWhitePixel);
    EXPECT_EQ(tall.Count(kBlackPixel), 100);

    // The loaded copy decides again, here from a wide frame.
    LineElement loaded;
    RoundTrip(line, loaded);
    loaded.SetFrame(CardRect {0, 0, 100, 5});
    V direction;
    ASSERT_EQ(loaded.GetAttribute("Direction", ValueType::Enum, direction), 1);
    EXPECT_EQ(direction.Enum(), LineElement::kHorizontal);
    Canvas wide(100, 5);
    Set(loaded, "LineThickness", ValueType::Long, V::OfLong(3));
    Set(loaded, "LineColor", ValueType::Color, V::OfColor(0x0000FF));
    loaded.Paint(wide.dc, 100, 5);
    EXPECT_EQ(wide.At(50, 2), kRedPixel);
    EXPECT_EQ(wide.At(50, 1), kRedPixel);  // three pixels thick around row 2
    EXPECT_EQ(wide.At(50, 3), kRedPixel);
    EXPECT_EQ(wide.At(2, 0), kWhitePixel);

    // A set direction wins over the frame.
    Set(loaded, "Direction", ValueType::Enum, V::OfEnum(LineElement::kVertical));
    Canvas forced(100, 5);
    loaded.Paint(forced.dc, 100, 5);
    EXPECT_EQ(forced.At(50, 0), kRedPixel);
    EXPECT_EQ(forced.At(10, 2), kWhitePixel);
}

TEST(RectanglePainter, LineAndFillEachOptional)
{
    RectangleElement shape;
    Set(shape, "ShowLine", ValueType::Boolean, V::OfBoolean(false));
    Canvas none(20, 10, kGreyPixel);
    shape.Paint(none.dc, 20, 10);
    EXPECT_EQ(none.Count(kGreyPixel), 200);

    Set(shape, "ShowFill", ValueType::Boolean, V::OfBoolean(true));
    Set(shape, "FillColor", ValueType::Color, V::OfColor(0x0000FF));
    Canvas filled(20, 10, kGreyPixel);
    shape.Paint(filled.dc, 20, 10);
    EXPECT_EQ(filled.At(0, 0), kRedPixel);
    EXPECT_EQ(filled.At(17, 7), kRedPixel);
    // The shape is (width - 1) x (height - 1); without a pen the classic fill stops one short.
    EXPECT_EQ(filled.At(18, 8), kGreyPixel);
    EXPECT_EQ(filled.At(19, 9), kGreyPixel);

    Set(shape, "ShowLine", ValueType::Boolean, V::OfBoolean(true));
    Set(shape, "ShowFill", ValueType::Boolean, V::OfBoolean(false));
    Canvas outlined(20, 10, kGreyPixel);
    shape.Paint(outlined.dc, 20, 10);
    EXPECT_EQ(outlined.At(0, 0), kBlackPixel);
    EXPECT_EQ(outlined.At(18, 8), kBlackPixel);
    EXPECT_EQ(outlined.At(10, 5), kGreyPixel);  // hollow
    EXPECT_EQ(outlined.At(19, 5), kGreyPixel);
}

TEST(PassiveDefaults, LineRectangleAndPictureAreCentredOnTheirPlacement)
{
    LineElement line;
    line.SetFrame(CardRect {200, 100, 0, 0});
    line.ApplyDefaultSize();
    EXPECT_EQ(line.GetFrame(), (CardRect {150, 98, 100, 5}));

    RectangleElement shape;
    shape.SetFrame(CardRect {200, 100, 0, 0});
    shape.ApplyDefaultSize();
    EXPECT_EQ(shape.GetFrame(), (CardRect {150, 50, 100, 100}));

    PictureElement picture;
    picture.SetFrame(CardRect {200, 100, 0, 0});
    picture.ApplyDefaultSize();  // no image: nothing to size by
    EXPECT_EQ(picture.GetFrame(), (CardRect {200, 100, 0, 0}));
    ASSERT_EQ(picture.SetAttribute("Bitmap", ValueType::Picture, V::OfBlock(FakeBitmap(40, 30))), 1);
    picture.ApplyDefaultSize();
    EXPECT_EQ(picture.GetFrame(), (CardRect {180, 85, 40, 30}));
}

TEST(PicturePainter, ConvertsOnceKeepsAPlaceholderAndSavesTheWholeImage)
{
    ui::test::UiHarness ui;
    ScreenContext screen(ui.screen);
    const MemoryBlock image = Bmp24(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080});
    PictureElement picture;
    ASSERT_EQ(picture.SetAttribute("Bitmap", ValueType::Picture, V::OfBlock(image)), 1);
    ASSERT_EQ(picture.Convert(screen), 1);
    EXPECT_TRUE(picture.HoldsPlaceholder());
    EXPECT_EQ(picture.Bitmap().Size(), PictureElement::kPlaceholderSize);

    V read;
    ASSERT_EQ(picture.GetAttribute("Bitmap", ValueType::Picture, read), 1);
    EXPECT_EQ(read.Block(), image);
    std::vector<Chunk> chunks = SplitChunks(ClassChunks(picture));
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].tag, "Pict");
    EXPECT_EQ(chunks[0].payload, image);
    EXPECT_EQ(picture.BitmapWidth(), 3);
    EXPECT_EQ(picture.BitmapHeight(), 2);

    Canvas canvas(5, 5, kGreyPixel);
    picture.Paint(canvas.dc, 5, 5);
    EXPECT_EQ(canvas.At(0, 0), 0xFF0000u);
    EXPECT_EQ(canvas.At(2, 0), 0x0000FFu);
    EXPECT_EQ(canvas.At(1, 1), 0x000000u);
    EXPECT_EQ(canvas.At(3, 0), kGreyPixel);  // nothing beyond the picture

    // An empty picture clears it.
    ASSERT_EQ(picture.SetAttribute("Bitmap", ValueType::Picture, V::OfBlock(MemoryBlock())), 1);
    V present;
    ASSERT_EQ(picture.GetAttribute("Bitmap", ValueType::Boolean, present), 1);
    EXPECT_FALSE(present.Boolean());
    EXPECT_EQ(picture.BitmapWidth(), 0);
    Canvas empty(5, 5, kGreyPixel);
    picture.Paint(empty.dc, 5, 5);
    EXPECT_EQ(empty.Count(kGreyPixel), 25);
}

TEST(PicturePainter, DataThatIsNoPictureStaysInTheBlock)
{
    ui::test::UiHarness ui;
    ScreenContext screen(ui.screen);
    MemoryBlock junk;
    junk.AppendString("not a picture at all", Nul::Exclude);
    PictureElement picture;
    ASSERT_EQ(picture.SetAttribute("Bitmap", ValueType::Picture, V::OfBlock(junk)), 1);
    EXPECT_EQ(picture.Convert(screen), 0);
    EXPECT_FALSE(picture.HoldsPlaceholder());
    EXPECT_EQ(picture.Bitmap(), junk);
    std::vector<Chunk> chunks = SplitChunks(ClassChunks(picture));
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].payload, junk);
}

TEST(PassiveElementsShown, PaintOnTheirCardAndFollowCardChanges)
{
    HostedInterface host;
    auto* shape = host.Place<RectangleElement>(0, 1, CardRect {10, 20, 30, 40});
    Set(*shape, "ShowFill", ValueType::Boolean, V::OfBoolean(true));
    Set(*shape, "FillColor", ValueType::Color, V::OfColor(0x0000FF));
    auto* label = host.Place<StringElement>(InterfaceModel::kBackground, 2, CardRect {100, 100, 0, 0});
    auto* picture = host.Place<PictureElement>(1, 3, CardRect {200, 50, 0, 0});
    ASSERT_EQ(picture->SetAttribute("Bitmap", ValueType::Picture,
        V::OfBlock(Bmp24(2, 2, {0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00}))), 1);

    EXPECT_NE(shape->WindowHandle(), 0);
    EXPECT_NE(label->WindowHandle(), 0);
    EXPECT_EQ(picture->WindowHandle(), 0);  // its Card is not shown
    EXPECT_EQ(host.Pixel(20, 30), kRedPixel);
    EXPECT_EQ(host.Pixel(10, 20), kBlackPixel);
    EXPECT_EQ(label->GetFrame(), (CardRect {82, 95, 36, 10}));
    EXPECT_EQ(host.Pixel(83, 96), kBlackPixel);
    EXPECT_EQ(host.Pixel(87, 96), gfx::ColorRefToPixel(HostedInterface::kCardColor));  // the Card shows through

    // A colour change repaints at once; the next Card hides the rectangle and shows the picture.
    Set(*shape, "FillColor", ValueType::Color, V::OfColor(0x00FF00));
    EXPECT_EQ(host.Pixel(20, 30), 0x0000FF00u);
    ASSERT_EQ(host.ShowCard(1), 1);
    EXPECT_EQ(host.Pixel(20, 30), gfx::ColorRefToPixel(HostedInterface::kCardColor));
    EXPECT_EQ(picture->GetFrame(), (CardRect {199, 49, 2, 2}));
    EXPECT_EQ(host.Pixel(199, 49), 0x0000FF00u);
    EXPECT_TRUE(picture->HoldsPlaceholder());
    EXPECT_EQ(host.Pixel(83, 96), kBlackPixel);  // the Background stays

    // Hiding by script removes the pane's content; a Reconstruct brings it back.
    Set(*picture, "Visible", ValueType::Boolean, V::OfBoolean(false));
    EXPECT_EQ(host.Pixel(199, 49), gfx::ColorRefToPixel(HostedInterface::kCardColor));
    Set(*picture, "Visible", ValueType::Boolean, V::OfBoolean(true));
    V none;
    ASSERT_EQ(picture->CallMethod("Reconstruct", {}, none), 1);
    EXPECT_EQ(host.Pixel(200, 50), 0x0000FF00u);
}
