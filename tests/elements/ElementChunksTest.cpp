#include <gtest/gtest.h>

#include "elements/AudioElement.h"
#include "elements/ButtonElement.h"
#include "elements/ComboBoxElement.h"
#include "elements/DatabaseElement.h"
#include "elements/EditBoxElement.h"
#include "elements/GraphicElement.h"
#include "elements/LineElement.h"
#include "elements/ListBoxElement.h"
#include "elements/PictureElement.h"
#include "elements/RectangleElement.h"
#include "elements/ScrollBarElement.h"
#include "elements/StringElement.h"
#include "elements/VideoElement.h"
#include "ElementTestSupport.h"

using namespace tamber;
using namespace tamber::test;

namespace {

using V = AttributeValue;

void SetFont(Element& e)
{
    Set(e, "TextFont", ValueType::Font, V::OfString("Arial"));
    Set(e, "TextSize", ValueType::Long, V::OfLong(18));
    Set(e, "TextStyle", ValueType::Enum, V::OfEnum(5));
}

// The bytes of a pstring: length + 1, characters, NUL.
int32_t PStringSize(std::string_view text)
{
    return static_cast<int32_t>(text.size()) + 2;
}

}  // namespace

TEST(ButtonChunks, RoundTripWithLinksGroupAndBitmaps)
{
    ButtonElement b;
    Set(b, "Style", ValueType::Enum, V::OfEnum(ButtonElement::k5BitmapButton));
    Set(b, "State", ValueType::Enum, V::OfEnum(ButtonElement::kMultiple));
    Set(b, "DrawName", ValueType::Boolean, V::OfBoolean(false));
    Set(b, "BackColor", ValueType::Color, V::OfColor(0x00102030));
    Set(b, "TextColor", ValueType::Color, V::OfColor(0x00405060));
    SetFont(b);
    Set(b, "Group", ValueType::String, V::OfString("answers"));
    Set(b, "Video : Resume", ValueType::Id, V::OfLong(31));
    Set(b, "BitmapUp", ValueType::Picture, V::OfBlock(FakeBitmap(8, 8, 1)));
    Set(b, "BitmapDownHighlight", ValueType::Picture, V::OfBlock(FakeBitmap(8, 8, 2)));
    Set(b, "BitmapMask", ValueType::Picture, V::OfBlock(FakeBitmap(8, 8, 3)));

    ButtonElement copy;
    std::vector<Chunk> chunks = RoundTrip(b, copy);
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[1].tag, "BUp");
    EXPECT_EQ(chunks[2].tag, "BDnH");
    EXPECT_EQ(chunks[3].tag, "BMs");
    const MemoryBlock& defn = chunks[0].payload;
    EXPECT_EQ(defn.Size(), 3 + 12 + PStringSize("Arial") + 4 + 2 + 12 + 40 + 8 + PStringSize("answers") + 4);
    EXPECT_EQ(defn.ReadInt(0, 1), ButtonElement::k5BitmapButton);
    EXPECT_EQ(defn.ReadInt(3, 4), 0x30);  // red of the back colour
    EXPECT_EQ(defn.ReadInt(defn.Size() - 4, 4), 31);
    EXPECT_EQ(Get(copy, "Video : Resume", ValueType::Id).Long(), 31);
    EXPECT_EQ(Get(copy, "Group", ValueType::String).String(), "answers");
    EXPECT_EQ(Get(copy, "BitmapDownHighlight", ValueType::Picture).Block(), FakeBitmap(8, 8, 2));
    EXPECT_FALSE(Get(copy, "BitmapDown", ValueType::Boolean).Boolean());
}

TEST(ButtonChunks, LinkIdsAreStoredInTheirOwnOrder)
{
    const char* stored[] = {"Text : Previous Page", "Text : Next Page", "Text : First Page", "Text : Last Page",
        "Video : Play", "Video : Stop", "Interface : First Card", "Interface : Last Card",
        "Interface : Next Card", "Interface : Previous Card", "Audio : Play", "Audio : Stop"};
    int32_t offset = 3 + 12 + PStringSize("System") + 4 + 2 + 12;
    for (const char* link : stored) {
        ButtonElement b;
        Set(b, link, ValueType::Id, V::OfLong(77));
        MemoryBlock defn = SplitChunks(ClassChunks(b))[0].payload;
        EXPECT_EQ(defn.ReadInt(offset, 4), 77) << link;
        offset += 4;
    }
}

TEST(ButtonChunks, OlderShortFormsLoad)
{
    ButtonElement full;
    Set(full, "Audio : Stop", ValueType::Id, V::OfLong(5));
    Set(full, "Group", ValueType::String, V::OfString("g"));
    MemoryBlock defn = SplitChunks(ClassChunks(full))[0].payload;
    const int32_t tenLinksEnd = 3 + 12 + PStringSize("System") + 4 + 2 + 12 + 40;

    ButtonElement loaded;
    Set(loaded, "Video : Resume", ValueType::Id, V::OfLong(9));
    Set(loaded, "BitmapUp", ValueType::Picture, V::OfBlock(FakeBitmap(2, 2)));
    MemoryBlock cut = defn;
    cut.Resize(tenLinksEnd);
    ASSERT_TRUE(loaded.ReadClassChunk("Defn", cut));
    EXPECT_EQ(Get(loaded, "Audio : Stop", ValueType::Id).Long(), 0);
    EXPECT_EQ(Get(loaded, "Group", ValueType::String).String(), "");
    EXPECT_EQ(Get(loaded, "Video : Resume", ValueType::Id).Long(), 0);
    EXPECT_FALSE(Get(loaded, "BitmapUp", ValueType::Boolean).Boolean());

    cut = defn;
    cut.Resize(tenLinksEnd + 8);
    ASSERT_TRUE(loaded.ReadClassChunk("Defn", cut));
    EXPECT_EQ(Get(loaded, "Audio : Stop", ValueType::Id).Long(), 5);
    EXPECT_EQ(Get(loaded, "Group", ValueType::String).String(), "");

    cut = defn;
    cut.Resize(tenLinksEnd + 8 + PStringSize("g"));
    ASSERT_TRUE(loaded.ReadClassChunk("Defn", cut));
    EXPECT_EQ(Get(loaded, "Group", ValueType::String).String(), "g");
}

TEST(ButtonChunks, PlaceholdersAreNeverWritten)
{
    ButtonElement b;
    MemoryBlock placeholder("BM", 2);
    Set(b, "BitmapUp", ValueType::Picture, V::OfBlock(placeholder));
    MemoryBlock out;
    EXPECT_EQ(b.WriteClassChunks(out), 1);
    EXPECT_EQ(SplitChunks(out).size(), 1u);
}

TEST(ListChunks, ListBoxAndComboBoxRoundTrip)
{
    ListBoxElement list;
    Set(list, "MultiSelect", ValueType::Boolean, V::OfBoolean(true));
    Set(list, "Border", ValueType::Boolean, V::OfBoolean(false));
    Set(list, "BackColor", ValueType::Color, V::OfColor(0x00010203));
    Set(list, "TextColor", ValueType::Color, V::OfColor(0x00040506));
    Set(list, "EditBox : Word Select", ValueType::Id, V::OfLong(12));
    SetFont(list);
    AttributeValue ignored;
    for (const char* item : {"Apple", "apricot", "Banana"})
        list.CallMethod("AppendItem", std::vector<V> {V::OfString(item)}, ignored);
    ListBoxElement listCopy;
    std::vector<Chunk> chunks = RoundTrip(list, listCopy);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].payload.Size(), 1 + 12 + PStringSize("Arial") + 6 + 12 + 1 + 4);
    EXPECT_EQ(chunks[1].tag, "Entr");
    EXPECT_EQ(chunks[1].payload.Size(), 7 + 9 + 8);
    EXPECT_EQ(Get(listCopy, "NumItems", ValueType::Long).Long(), 3);
    EXPECT_EQ(Get(listCopy, "BackColor", ValueType::Color).Color(), 0x00010203u);

    ComboBoxElement combo;
    Set(combo, "Editable", ValueType::Boolean, V::OfBoolean(true));
    SetFont(combo);
    combo.SetEditText("typed");
    combo.CallMethod("AppendItem", std::vector<V> {V::OfString("one")}, ignored);
    ComboBoxElement comboCopy;
    chunks = RoundTrip(combo, comboCopy);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[1].tag, "Text");
    EXPECT_EQ(chunks[2].tag, "Entr");
    EXPECT_EQ(comboCopy.EditText(), "typed");
    EXPECT_TRUE(Get(comboCopy, "Editable", ValueType::Boolean).Boolean());
}

TEST(EditBoxChunks, RoundTripKeepsLongTextWhole)
{
    EditBoxElement edit;
    Set(edit, "SpinButton", ValueType::Boolean, V::OfBoolean(true));
    Set(edit, "Password", ValueType::Boolean, V::OfBoolean(true));
    Set(edit, "LockedText", ValueType::Boolean, V::OfBoolean(true));
    Set(edit, "Border", ValueType::Boolean, V::OfBoolean(false));
    Set(edit, "ValueMin", ValueType::Double, V::OfDouble(-2.5));
    Set(edit, "ValueMax", ValueType::Double, V::OfDouble(7.25));
    Set(edit, "ValueInc", ValueType::Double, V::OfDouble(0.25));
    Set(edit, "ListBox : Word Select", ValueType::Id, V::OfLong(4));
    SetFont(edit);
    std::string longText(200, 'w');
    MemoryBlock textChunk;
    textChunk.AppendString(longText, Nul::Include);
    ASSERT_TRUE(edit.ReadClassChunk("Text", textChunk));

    EditBoxElement copy;
    std::vector<Chunk> chunks = RoundTrip(edit, copy);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].payload.Size(), 3 + 12 + PStringSize("Arial") + 6 + 12 + 1 + 24 + 4);
    EXPECT_EQ(chunks[1].payload.Size(), 201);
    EXPECT_EQ(copy.Text(), longText);
    EXPECT_EQ(Get(copy, "Text", ValueType::String).String(), std::string(127, 'w'));
    EXPECT_EQ(Get(copy, "ValueInc", ValueType::Double).Double(), 0.25);
}

TEST(SimpleChunks, ScrollBarStringLineRectanglePictureRoundTrip)
{
    ScrollBarElement bar;
    Set(bar, "Style", ValueType::Enum, V::OfEnum(1));
    Set(bar, "Min", ValueType::Long, V::OfLong(-10));
    Set(bar, "Max", ValueType::Long, V::OfLong(90));
    Set(bar, "Page", ValueType::Long, V::OfLong(5));
    Set(bar, "Position", ValueType::Long, V::OfLong(40));
    Set(bar, "Video : Navigate", ValueType::Id, V::OfLong(6));
    ScrollBarElement barCopy;
    std::vector<Chunk> chunks = RoundTrip(bar, barCopy);
    ASSERT_EQ(chunks[0].payload.Size(), ScrollBarElement::kDefnSize);
    EXPECT_EQ(chunks[0].payload.ReadInt(28, 4), 6);  // the Video link is the last field
    EXPECT_EQ(barCopy.Position(), 40);

    StringElement label;
    Set(label, "Text", ValueType::String, V::OfString("Welcome"));
    Set(label, "TextAlign", ValueType::Enum, V::OfEnum(StringElement::kRight));
    Set(label, "ShadowXOffset", ValueType::Long, V::OfLong(2));
    Set(label, "ShadowYOffset", ValueType::Long, V::OfLong(-3));
    Set(label, "ShadowColor", ValueType::Color, V::OfColor(0x00808080));
    Set(label, "TextColor", ValueType::Color, V::OfColor(0x000000FF));
    SetFont(label);
    StringElement labelCopy;
    chunks = RoundTrip(label, labelCopy);
    EXPECT_EQ(chunks[0].payload.Size(), PStringSize("Welcome") + PStringSize("Arial") + 6 + 12 + 8 + 12 + 2);
    EXPECT_EQ(Get(labelCopy, "Text", ValueType::String).String(), "Welcome");

    LineElement line;
    Set(line, "LineThickness", ValueType::Long, V::OfLong(4));
    Set(line, "LineColor", ValueType::Color, V::OfColor(0x00336699));
    LineElement lineCopy;
    chunks = RoundTrip(line, lineCopy);
    EXPECT_EQ(chunks[0].payload.Size(), 16);

    RectangleElement rect;
    Set(rect, "ShowLine", ValueType::Boolean, V::OfBoolean(false));
    Set(rect, "ShowFill", ValueType::Boolean, V::OfBoolean(true));
    Set(rect, "LineThickness", ValueType::Long, V::OfLong(3));
    Set(rect, "FillColor", ValueType::Color, V::OfColor(0x00ABCDEF));
    RectangleElement rectCopy;
    chunks = RoundTrip(rect, rectCopy);
    EXPECT_EQ(chunks[0].payload.Size(), 30);
    EXPECT_EQ(Get(rectCopy, "FillColor", ValueType::Color).Color(), 0x00ABCDEFu);

    PictureElement picture;
    Set(picture, "Bitmap", ValueType::Picture, V::OfBlock(FakeBitmap(320, 200)));
    PictureElement pictureCopy;
    chunks = RoundTrip(picture, pictureCopy);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].tag, "Pict");
    EXPECT_EQ(Get(pictureCopy, "BitmapWidth", ValueType::Long).Long(), 320);
    EXPECT_EQ(Get(pictureCopy, "BitmapHeight", ValueType::Long).Long(), 200);
}

TEST(DatabaseChunks, RoundTrip)
{
    DatabaseElement db;
    Set(db, "Style", ValueType::Enum, V::OfEnum(DatabaseElement::kGridList));
    Set(db, "Border", ValueType::Boolean, V::OfBoolean(false));
    Set(db, "DatabaseFile", ValueType::String, V::OfString("C:\\DATA\\ATLAS.MDB"));
    Set(db, "DisplayNumHits", ValueType::Boolean, V::OfBoolean(true));
    Set(db, "GridWidth", ValueType::Long, V::OfLong(140));
    Set(db, "GridHeight", ValueType::Long, V::OfLong(60));
    Set(db, "TextColor", ValueType::Color, V::OfColor(0x00112233));
    SetFont(db);
    DatabaseElement copy;
    RoundTrip(db, copy);
    EXPECT_EQ(Get(copy, "DatabaseFile", ValueType::String).String(), "C:\\DATA\\ATLAS.MDB");
    EXPECT_EQ(Get(copy, "GridWidth", ValueType::Long).Long(), 140);
}

TEST(GraphicChunks, RoundTripAndOlderForms)
{
    GraphicElement g;
    Set(g, "Display", ValueType::Enum, V::OfEnum(GraphicElement::kCenter));
    Set(g, "TransitionEffect", ValueType::Enum, V::OfEnum(22));
    Set(g, "BackColor", ValueType::Color, V::OfColor(0x00010203));
    Set(g, "Border", ValueType::Boolean, V::OfBoolean(false));
    Set(g, "Transparent", ValueType::Boolean, V::OfBoolean(true));
    Set(g, "YieldOnAnimate", ValueType::Boolean, V::OfBoolean(true));
    Set(g, "OptimizeSpace", ValueType::Boolean, V::OfBoolean(false));
    Set(g, "Mode", ValueType::Enum, V::OfEnum(1));
    Set(g, "DrawingTool", ValueType::Enum, V::OfEnum(4));
    Set(g, "LineWidth", ValueType::Long, V::OfLong(3));
    Set(g, "TextFont", ValueType::Font, V::OfString("Courier"));
    GraphicElement copy;
    std::vector<Chunk> chunks = RoundTrip(g, copy);
    ASSERT_EQ(chunks.size(), 1u);
    const MemoryBlock& defn = chunks[0].payload;
    EXPECT_EQ(defn.Size(), 2 + 2 + 4 + 12 + 1 + 1 + 10 + 4 + 4 + 12 + 12 + 4 + 8 + 4 + 2 + 1 + 1);
    EXPECT_EQ(defn.ReadInt(4, 4), GraphicElement::kNewReserved);
    EXPECT_EQ(defn.Compare(22, "@@NewDefs@", 10, Exact::Yes), 0);

    // Without the marker only the first fields are read; the rest keep their defaults.
    MemoryBlock old = defn;
    old.Resize(22);
    GraphicElement older;
    ASSERT_TRUE(older.ReadClassChunk("Defn", old));
    EXPECT_EQ(Get(older, "Display", ValueType::Enum).Enum(), GraphicElement::kCenter);
    EXPECT_EQ(Get(older, "LineWidth", ValueType::Long).Long(), 1);
    EXPECT_TRUE(Get(older, "OptimizeSpace", ValueType::Boolean).Boolean());
    EXPECT_TRUE(Get(older, "Transparent", ValueType::Boolean).Boolean());

    // With the marker but without the two trailing flags.
    old = defn;
    old.Resize(defn.Size() - 2);
    GraphicElement middle;
    ASSERT_TRUE(middle.ReadClassChunk("Defn", old));
    EXPECT_EQ(Get(middle, "LineWidth", ValueType::Long).Long(), 3);
    EXPECT_FALSE(Get(middle, "YieldOnAnimate", ValueType::Boolean).Boolean());
    EXPECT_TRUE(Get(middle, "OptimizeSpace", ValueType::Boolean).Boolean());
}

TEST(MediaChunks, AudioAndVideoRoundTripAndTheOneByteAudioForm)
{
    AudioElement audio;
    Set(audio, "AutoHotLinks", ValueType::Boolean, V::OfBoolean(true));
    Set(audio, "Cycles", ValueType::Boolean, V::OfBoolean(true));
    Set(audio, "Button : Play", ValueType::Id, V::OfLong(3));
    Set(audio, "Button : Stop", ValueType::Id, V::OfLong(4));
    Set(audio, "ScrollBar : Navigate", ValueType::Id, V::OfLong(5));
    Set(audio, "BitmapDown", ValueType::Picture, V::OfBlock(FakeBitmap(4, 4)));
    AudioElement audioCopy;
    std::vector<Chunk> chunks = RoundTrip(audio, audioCopy);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].payload.Size(), 14);
    EXPECT_EQ(chunks[1].tag, "BDn");

    MemoryBlock oneByte;
    oneByte.AppendInt(1, 1);
    AudioElement old;
    Set(old, "Cycles", ValueType::Boolean, V::OfBoolean(true));
    ASSERT_TRUE(old.ReadClassChunk("Defn", oneByte));
    EXPECT_TRUE(Get(old, "AutoHotLinks", ValueType::Boolean).Boolean());
    EXPECT_FALSE(Get(old, "Cycles", ValueType::Boolean).Boolean());
    EXPECT_EQ(Get(old, "Button : Play", ValueType::Id).Long(), 0);

    VideoElement video;
    Set(video, "DrawHotSpot", ValueType::Boolean, V::OfBoolean(true));
    Set(video, "ClickTest", ValueType::Boolean, V::OfBoolean(true));
    Set(video, "Button : Resume", ValueType::Id, V::OfLong(8));
    Set(video, "ScrollBar : Navigate", ValueType::Id, V::OfLong(9));
    VideoElement videoCopy;
    chunks = RoundTrip(video, videoCopy);
    ASSERT_EQ(chunks[0].payload.Size(), 18);
    EXPECT_EQ(chunks[0].payload.ReadInt(10, 4), 8);
    EXPECT_EQ(Get(videoCopy, "ScrollBar : Navigate", ValueType::Id).Long(), 9);
}

TEST(ElementChunks, ForeignTagsAreNotClaimed)
{
    MemoryBlock any("xyz", 3);
    ButtonElement button;
    EXPECT_FALSE(button.ReadClassChunk("Entr", any));
    PictureElement picture;
    EXPECT_FALSE(picture.ReadClassChunk("Defn", any));
    LineElement line;
    EXPECT_FALSE(line.ReadClassChunk("Pict", any));
}
