#include "media/CanvasReader.h"

#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "media/CanvasTokenizer.h"

namespace tamber {
namespace {

std::vector<CanvasToken> Tokens(std::string_view text)
{
    CanvasTokenizer tokenizer(text);
    std::vector<CanvasToken> out;
    for (CanvasToken t = tokenizer.Next(); t.kind != CanvasToken::Kind::End; t = tokenizer.Next())
        out.push_back(t);
    return out;
}

// Reads a text that must be valid.
CanvasContent Read(const std::string& text)
{
    CanvasReader reader;
    CanvasContent content;
    EXPECT_EQ(reader.Read(text, content), 1) << reader.Error() << "\n" << text;
    return content;
}

// Reads a text that must fail; answers the reason.
std::string Refused(const std::string& text)
{
    CanvasReader reader;
    CanvasContent content;
    EXPECT_EQ(reader.Read(text, content), 0) << text;
    EXPECT_FALSE(reader.Error().empty());
    return reader.Error();
}

std::string Objects(const std::string& objects)
{
    return "CANVAS (100 80) { OBJECT { " + objects + " } }";
}

TEST(CanvasTokenizer, SplitsWordsBracketsAndStrings)
{
    const auto tokens = Tokens("canvas=(1,2)|{;\"a \"\"b\"\"\" Rect\r\nLineWidth 0x1F -7}");
    ASSERT_EQ(tokens.size(), 12u);
    EXPECT_TRUE(tokens[0].Is(CanvasKeyword::kCanvas)); // any case
    int32_t v = 0;
    EXPECT_TRUE(tokens[2].Number(v));
    EXPECT_EQ(v, 1);
    // The string as written, doubled quotes and all.
    EXPECT_EQ(tokens[6].kind, CanvasToken::Kind::String);
    EXPECT_EQ(tokens[6].text, "a \"\"b\"\"");
    EXPECT_EQ(tokens[7].keyword, 10); // RECT
    EXPECT_EQ(tokens[8].keyword, -1);
    EXPECT_EQ(tokens[8].text, "LineWidth");
    EXPECT_TRUE(tokens[9].Number(v));
    EXPECT_EQ(v, 31);
    EXPECT_TRUE(tokens[10].Number(v));
    EXPECT_EQ(v, -7);
    EXPECT_FALSE(tokens[8].Number(v));
    EXPECT_FALSE(tokens[6].Number(v));
    EXPECT_EQ(Tokens("TEXT \"never closed").back().kind, CanvasToken::Kind::Bad);
}

TEST(CanvasTokenizer, NumbersAreDecimalOrHexadecimalOnly)
{
    auto number = [](std::string_view text, int32_t& v) { return Tokens(text).front().Number(v); };
    int32_t a = 0;
    int32_t b = 0;
    ASSERT_TRUE(number("0x00FF00", a));
    ASSERT_TRUE(number("65280", b));
    EXPECT_EQ(a, b);
    ASSERT_TRUE(number("0XffFFff", a));
    EXPECT_EQ(a, 0xFFFFFF);
    ASSERT_TRUE(number("0xFFFFFFFF", a));
    EXPECT_EQ(a, -1);
    for (std::string_view bad : { "12a", "0x", "0xG1", "-", "--3", "0x123456789", "99999999999", "1.5" })
        EXPECT_FALSE(number(bad, a)) << bad;
    // Keywords are not numbers even when a table says a number is expected.
    EXPECT_FALSE(number("RECT", a));
}

TEST(CanvasTokenizer, UnescapesContentStrings)
{
    EXPECT_EQ(UnescapeCanvasString("a\\nb"), "a\rb");
    EXPECT_EQ(UnescapeCanvasString("say \"\"hi\"\""), "say \"hi\"");
    EXPECT_EQ(UnescapeCanvasString("c:\\\\dir\\x"), "c:\\dir\\x");
    EXPECT_EQ(UnescapeCanvasString("\\\\n"), "\\n"); // an escaped backslash, then a letter
}

TEST(CanvasReader, EmptyCanvasIsValid)
{
    const CanvasContent c = Read("CANVAS ( 640 480 ) { }");
    EXPECT_EQ(c.height, 480);
    EXPECT_TRUE(c.objects.empty() && c.commands.empty() && c.eventGroups.empty());
}

TEST(CanvasReader, ReadsEveryObjectAttribute)
{
    const CanvasContent c = Read(
        Objects("rect 7 { linewidth 3 ForeColor 0x0000FF FillColor 65280 Parent 4 Bound (1 2 30 40) }"
                "TEXT 8 { Content \"He said \"\"hi\"\"\\nbye\" Font (\"Times New Roman\" 14 BOLD strikeout) }"
                "BITMAP 9 { FileName \"art\\pic.bmp\" Transparency 40 KeyColor 0xFFFFFF }"
                "POLYLINE 10 { ForeColor 1 (10,20)(30 -40) x5 6 -7 }"));
    ASSERT_EQ(c.live.size(), 4u);
    const CanvasObject& rect = *c.live[0];
    EXPECT_EQ(rect.type, CanvasObjectType::Rect);
    EXPECT_EQ(rect.lineWidth, 3);
    EXPECT_EQ(rect.foreColor, 0x0000FFu);
    EXPECT_EQ(rect.fillColor, 0x00FF00u);
    EXPECT_TRUE(rect.filled);
    EXPECT_EQ(rect.parent, 4);
    EXPECT_EQ(rect.bound, gfx::Rect::FromSize(1, 2, 30, 40));

    const CanvasObject& text = *c.live[1];
    EXPECT_EQ(text.type, CanvasObjectType::Text);
    EXPECT_FALSE(text.filled);
    EXPECT_EQ(text.content, "He said \"hi\"\rbye");
    EXPECT_EQ(text.font.face, "Times New Roman");
    EXPECT_EQ(text.font.size, 14);
    EXPECT_EQ(text.font.style, CanvasFont::kBold | CanvasFont::kStrikeOut);

    const CanvasObject& bitmap = *c.live[2];
    EXPECT_EQ(bitmap.fileName, "art\\pic.bmp");
    EXPECT_EQ(bitmap.transparency, 40);
    EXPECT_TRUE(bitmap.transparencyGiven);
    EXPECT_EQ(bitmap.keyColor, 0xFFFFFFu);
    EXPECT_TRUE(bitmap.keyColorGiven);

    // Points: runs of digits pair up; anything else separates; an odd number is left over.
    EXPECT_EQ(c.live[3]->points, (std::vector<gfx::Point> { { 10, 20 }, { 30, -40 }, { 5, 6 } }));
}

TEST(CanvasReader, TransparencyAboveOneHundredWrapsAndDefaultsStayUnflagged)
{
    const CanvasContent c = Read(Objects("BITMAP 1 { Transparency 150 } BITMAP 2 { Transparency 100 }"
                                         "BITMAP 3 { Transparency 200 } BITMAP 4 { }"));
    std::vector<int32_t> read;
    for (const CanvasObject* o : c.live)
        read.push_back(o->transparency);
    EXPECT_EQ(read, (std::vector<int32_t> { 50, 100, 0, 100 }));
    EXPECT_FALSE(c.live[3]->transparencyGiven || c.live[3]->keyColorGiven);
}

TEST(CanvasReader, EraserShapesAndGroupMembers)
{
    const CanvasContent c = Read(Objects("ERASER 1 { OVAL Parent 5 LineWidth 9 (1 1 4 4) }"
                                         "ERASER 2 { RECT } ERASER 3 { roundrect } ERASER 4 { POLYGON }"
                                         "ERASER 6 { (0 0 9 9) } GROUP 5 { 1 2 0x10 }"));
    std::vector<EraserShape> shapes;
    for (size_t i = 0; i < 5; ++i)
        shapes.push_back(c.live[i]->eraserShape);
    EXPECT_EQ(shapes, (std::vector { EraserShape::Oval, EraserShape::Rect, EraserShape::RoundRect,
                          EraserShape::Polygon, EraserShape::Polygon }));
    EXPECT_EQ(c.live[0]->parent, 5);
    EXPECT_EQ(c.live[0]->points.size(), 2u);
    EXPECT_EQ(c.live[5]->memberIds, (std::vector<int32_t> { 1, 2, 16 }));
    // A shape word belongs to erasers only.
    Refused(Objects("RECT 1 { OVAL }"));
}

TEST(CanvasReader, ReadsCommandsWithTheirOperands)
{
    const CanvasContent c = Read(
        "CANVAS (10 10) { OBJECT { LINE 1 { } } COMMAND { ADD (1) REMOVE (2) MOVE (3 (4 -5)) RESIZE (6 7 (8 "
        "9))"
        " TOTOP (10 11) SWAP (12) ADDINGROUP (13 14) MACROBEGIN () MACROEND () ATTRIBUTE (15 ForeColor 0xFF"
        " LineWidth 2 Font (\"Arial\" 9 ITALIC) Transparency 130 KeyColor 3) MOVETO (16 (17 18)) SETORDER "
        "(19 20) } }");
    ASSERT_EQ(c.commands.size(), 12u);
    for (size_t i = 0; i < c.commands.size(); ++i)
        EXPECT_EQ(static_cast<size_t>(c.commands[i].type), i);
    EXPECT_EQ(c.commands[2].id, 3);
    EXPECT_EQ(c.commands[2].point, (gfx::Point { 4, -5 }));
    EXPECT_EQ(c.commands[3].second, 7);
    EXPECT_EQ(c.commands[3].point, (gfx::Point { 8, 9 }));
    const CanvasAttributes& a = c.commands[9].attributes;
    EXPECT_EQ(a.foreColor, 0xFFu);
    EXPECT_FALSE(a.fillColor.has_value());
    EXPECT_EQ(a.lineWidth, 2);
    ASSERT_TRUE(a.font.has_value());
    EXPECT_EQ(a.font->style, CanvasFont::kItalic);
    EXPECT_EQ(a.transparency, 130); // wrapped when applied
    EXPECT_EQ(a.keyColor, 3u);
    EXPECT_EQ(c.commands[10].point, (gfx::Point { 17, 18 }));
    EXPECT_EQ(c.commands[11].second, 20);
}

TEST(CanvasReader, ReadsEventGroups)
{
    const CanvasContent c
        = Read("CANVAS (10 10) { DELETED { } EVENTGROUP { EVENT \"Walk\" true { MOVE (1 (2 3)) }"
               " EVENT \""
            + std::string(40, 'n') + "\" no { } } }");
    ASSERT_EQ(c.eventGroups.size(), 2u);
    EXPECT_TRUE(c.eventGroups[0].flag);
    EXPECT_EQ(c.eventGroups[0].commands.size(), 1u);
    EXPECT_EQ(c.eventGroups[1].name, std::string(31, 'n'));
    EXPECT_FALSE(c.eventGroups[1].flag);
    EXPECT_NE(
        Refused("CANVAS (1 1) { OBJECT { } EVENTGROUP { EVENT \"\" TRUE { } } }").find("without a name"),
        std::string::npos);
}

TEST(CanvasReader, SectionsComeInOrder)
{
    // Allowed orders.
    Read("CANVAS (1 1) { OBJECT { } DELETED { } OBJECT { } COMMAND { } EVENTGROUP { } }");
    Read("CANVAS (1 1) { DELETED { } EVENTGROUP { } }");
    Read("CANVAS (1 1) { OBJECT { } COMMAND { } }");
    // Refused ones.
    for (const char* text : {
             "CANVAS (1 1) { OBJECT { } OBJECT { } }",
             "CANVAS (1 1) { DELETED { } DELETED { } }",
             "CANVAS (1 1) { COMMAND { } }",
             "CANVAS (1 1) { EVENTGROUP { } }",
             "CANVAS (1 1) { OBJECT { } COMMAND { } COMMAND { } }",
             "CANVAS (1 1) { OBJECT { } EVENTGROUP { } EVENTGROUP { } }",
             "CANVAS (1 1) { OBJECT { } COMMAND { } OBJECT { } }",
             "CANVAS (1 1) { OBJECT { } EVENTGROUP { } COMMAND { } }",
             "CANVAS (1 1) { BACKGROUND }",
             "CANVAS (1 1) { TILE }",
             "CANVAS (1 1) { RECT 1 { } }",
         })
        Refused(text);
}

TEST(CanvasReader, RefusesBrokenTexts)
{
    EXPECT_NE(Refused(Objects("RECT 1 { Colour 5 }")).find("Colour"), std::string::npos);
    for (const std::string& text : {
             std::string(),
             std::string("OBJECT { }"),
             std::string("CANVAS 1 1 { }"),
             std::string("CANVAS (1) { }"),
             std::string("CANVAS (a b) { }"),
             Objects("RECT x { }"),
             Objects("RECT 1 { LineWidth }"),
             Objects("RECT 1 { LineWidth RECT }"),
             Objects("RECT 1 { Bound (1 2 3) }"),
             Objects("TEXT 1 { Content 5 }"),
             Objects("TEXT 1 { Font (Arial 5) }"),
             Objects("TEXT 1 { Font (\"Arial\" 5 HEAVY) }"),
             Objects("ADD 1 { }"),
             std::string("CANVAS (1 1) { OBJECT { } COMMAND { MOVE (1 2 3) } }"),
             std::string("CANVAS (1 1) { OBJECT { } COMMAND { ADD 1 } }"),
             std::string("CANVAS (1 1) { OBJECT { } COMMAND { ATTRIBUTE (1 Parent 2) } }"),
             std::string("CANVAS (1 1) { OBJECT { } EVENTGROUP { EVENT Walk TRUE { } } }"),
             std::string("CANVAS (1 1) { OBJECT { } EVENTGROUP { MOVE } }"),
         })
        Refused(text);
}

TEST(CanvasReader, ReadsTheDocumentedExample)
{
    std::ifstream in(std::string(TAMBER_SOURCE_DIR) + "/docs/canvas-text.md");
    const std::string doc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t start = doc.find("```\nCANVAS (320");
    ASSERT_NE(start, std::string::npos);
    const size_t end = doc.find("```", start + 3);
    const CanvasContent c = Read(doc.substr(start + 4, end - start - 4));
    EXPECT_EQ(c.width, 320);
    ASSERT_EQ(c.live.size(), 2u);
    EXPECT_EQ(c.live[1]->content, "Press\rhere");
    ASSERT_EQ(c.deleted.size(), 1u);
    EXPECT_EQ(c.deleted[0]->fileName, "STAMP.BMP");
    ASSERT_EQ(c.eventGroups.size(), 1u);
    EXPECT_EQ(c.eventGroups[0].commands.size(), 3u);
}

TEST(CanvasReader, EveryCutOfAValidTextFails)
{
    const std::string text = "CANVAS (64 48) { OBJECT { RECT 1 { ForeColor 0xFF (1 2 30 40) }"
                             " TEXT 2 { Content \"a\"\"b\" } } COMMAND { MOVE (1 (2 3)) }"
                             " EVENTGROUP { EVENT \"Go\" TRUE { MACROBEGIN () MACROEND () } } }";
    Read(text);
    for (size_t n = 0; n < text.size(); ++n)
        Refused(text.substr(0, n));
}

} // namespace
} // namespace tamber
