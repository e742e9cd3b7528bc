#include <gtest/gtest.h>

#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "db/RecordFile.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "tamberlyne/ProjectReader.h"
#include "tools/VerbRun.h"

using namespace tamber;
namespace fs = std::filesystem;

namespace {

// A BMP file image of a 2 x 2 picture, 24 bits, with one colour varied.
std::string Bmp(uint8_t shade)
{
    std::string bmp = "BM";
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp += static_cast<char>(v >> (8 * i));
    };
    auto u16 = [&](uint16_t v) { bmp += static_cast<char>(v), bmp += static_cast<char>(v >> 8); };
    u32(14 + 40 + 16), u16(0), u16(0), u32(54);
    u32(40), u32(2), u32(2), u16(1), u16(24), u32(0), u32(16), u32(0), u32(0), u32(0), u32(0);
    for (int row = 0; row < 2; ++row)
        bmp += std::string { static_cast<char>(shade), 0, 0, 0, static_cast<char>(shade), 0, 0, 0 };
    return bmp;
}

// Every record of a database: name, id and decoded bytes.
std::map<std::pair<std::string, uint32_t>, std::string> AllRecords(const std::string& path)
{
    std::map<std::pair<std::string, uint32_t>, std::string> records;
    RecordFile file;
    if (!file.Open(path, {}, OpenPolicy::ReadOnly))
        return records;
    for (const char* name : { "MMEntry", "MMData", "MMFoldr", "MMEJump", "MMStart", "MMFirst" }) {
        for (int32_t n = 1;; ++n) {
            uint32_t id = 0;
            int32_t length = 0;
            if (!file.NthRecord(name, n, id, length))
                break;
            MemoryBlock block;
            file.ReadRecord(block, name, id);
            records[{ name, id }] = block.ToString();
        }
    }
    return records;
}

// An Interface holding every element class, each with values other than its class's defaults.
const char* kEveryClass = R"({
  "name": "Main",
  "attributes": { "CardWidth": 800, "CardHeight": 600, "Background": "Tiled Picture", "BackBitmap": "back.bmp",
    "BackColor": "#010203", "BackGradient": "#A0B0C0", "TimerInterval": 250, "TimerCycles": true,
    "BackPalette": ["#FF0000", "#00FF00", "#0000FF"] },
  "script": ["Opened ( ) {", "\tA = 1", "}", ""],
  "userAttributes": [ { "name": "Score", "type": "Long", "value": 12 },
                      { "name": "Motto", "type": "String", "value": "go" },
                      { "name": "Tint", "type": "Color", "value": "#102030" },
                      { "name": "Ratio", "type": "Double", "value": 0.25 },
                      { "name": "Flag", "type": "Boolean", "value": true },
                      { "name": "Face", "type": "Picture", "value": "face.bmp" },
                      { "name": "Colours", "type": "Palette", "value": ["#123456"] },
                      { "name": "Story", "type": "Text", "value": "once upon" } ],
  "userEvents": [ { "name": "Won", "params": [ { "type": "Long", "name": "Points" }, { "type": "String", "name": "Who" } ] } ],
  "grid": { "show": false, "step": 8 },
  "guides": { "show": false, "list": [ { "kind": 1, "first": 100, "second": 0, "card": 0 } ] },
  "effect": { "effect": 3, "parameter": 250 },
  "background": { "elements": [
    { "type": "Button", "name": "Go", "rect": [1, 2, 60, 20],
      "attributes": { "BackColor": "#112233", "DrawName": false, "Group": "g1", "Style": "CheckBox",
        "State": 1, "TextColor": "#445566", "TextFont": "Courier", "TextSize": 14, "TextStyle": "Italic",
        "BitmapUp": "face.bmp", "BitmapDown": "back.bmp", "Interface : Next Card": -1, "Visible": false,
        "AttachRight": true, "MouseEvents": true },
      "script": "Clicked ( ) {\n\tParent : NextCard( )\n}\n",
      "userAttributes": [ { "name": "Count", "type": "Short", "value": -3 } ],
      "userEvents": [ { "name": "Pinged" } ] },
    { "type": "ScrollBar", "name": "Bar", "rect": [0, 0, 16, 100],
      "attributes": { "Style": "Vertical", "Min": 5, "Max": 50, "Page": 5, "Position": 7, "Audio : Navigate": "Sound" } },
    { "type": "Audio", "name": "Sound", "rect": [20, 0, 40, 40],
      "attributes": { "Media": "Chime", "AutoHotLinks": true, "Cycles": true, "Button : Play": "Go", "ScrollBar : Navigate": "Bar",
        "BitmapUp": "face.bmp" } }
  ] },
  "cards": [
    { "name": "First", "elements": [
      { "type": "ListBox", "rect": [10, 10, 100, 80], "items": ["one", "two", "three"],
        "attributes": { "MultiSelect": true, "Border": false, "TextFont": "Times", "TextSize": 9, "TextStyle": "Bold",
          "SelectedNum": 2 } },
      { "type": "ComboBox", "rect": [10, 100, 100, 20], "items": ["x", "y"],
        "attributes": { "Editable": false, "Border": false, "TextSize": 11 } },
      { "type": "EditBox", "rect": [120, 10, 100, 20],
        "attributes": { "Text": "typed", "SpinButton": true, "Password": true, "LockedText": true, "ValueMin": -1.5,
          "ValueMax": 9.5, "ValueInc": 0.5, "Border": false, "TextSize": 13 } },
      { "type": "String", "rect": [120, 40, 100, 20],
        "attributes": { "Text": "label", "TextAlign": "Center", "TextColor": "#FF8800", "ShadowColor": "#111111",
          "ShadowXOffset": 2, "ShadowYOffset": 3, "TextFont": "Verdana", "TextSize": 20, "TextStyle": "Underline" } },
      { "type": "Line", "rect": [0, 200, 300, 1], "attributes": { "LineThickness": 3, "LineColor": "#00FF00" } },
      { "type": "Rectangle", "rect": [5, 5, 50, 50],
        "attributes": { "ShowLine": false, "LineThickness": 4, "LineColor": "#0000FF", "ShowFill": true, "FillColor": "#FFFF00" } },
      { "type": "Picture", "rect": [60, 60, 2, 2], "attributes": { "Bitmap": "face.bmp" } }
    ] },
    { "elements": [
      { "type": "Graphic", "rect": [0, 0, 64, 64],
        "attributes": { "Media": "Logo", "Display": "BestFit", "TransitionEffect": "Dissolve", "BackColor": "#ABCDEF",
          "Border": true, "Transparent": true, "YieldOnAnimate": true, "OptimizeSpace": true } },
      { "type": "Video", "rect": [70, 0, 64, 48],
        "attributes": { "Media": "Clip", "DrawHotSpot": true, "ClickTest": true, "Button : Play": "Start" } },
      { "type": "Button", "name": "Start", "rect": [70, 50, 40, 20] },
      { "type": "Text", "rect": [0, 70, 200, 100],
        "attributes": { "Media": "Welcome", "BackColor": "#EEEEEE", "Border": true, "ColumnSpacing": 20, "NumColumns": 2,
          "ScrollBars": true, "Transparent": true, "Wrap": false, "Mode": "Hotlink", "ZoomFactor": 150, "BackBitmap": "back.bmp" } },
      { "type": "Database", "rect": [210, 70, 200, 100],
        "attributes": { "Style": "Grid List", "DatabaseFile": "other.mmdb", "DisplayNumHits": true, "GridWidth": 3,
          "GridHeight": 4, "TextFont": "Arial", "TextSize": 8 } },
      { "type": "Interface", "name": "Popup", "rect": [300, 300, 200, 150],
        "attributes": { "Media": "Help", "Display": "Floating", "Caption": "Help!", "Modal": true, "Border": true,
          "WinLeft": 40, "WinTop": 50 } },
      { "type": "3d", "rect": [0, 180, 30, 30], "attributes": { "Media": "Logo" } }
    ] },
    { "name": "Empty" }
  ]
})";

class ProjectExport : public VerbTest {
protected:
    // Writes the project of every element class to project/.
    void WriteEveryClassProject()
    {
        auto write = [this](const std::string& name, const std::string& bytes) {
            WriteFile("project/" + name, bytes);
        };
        write("back.bmp", Bmp(0x40));
        write("face.bmp", Bmp(0x80));
        write("logo.bmp", Bmp(0xC0));
        write("chime.wav", std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(24, '\1'));
        write("clip.avi", "RIFF not really a video");
        write("welcome.txt", "Hello\nworld\n");
        write("logo.hots", "hot spots");
        write("main.json", kEveryClass);
        write("help.json",
            R"({ "name": "Help", "cards": [ { "elements": [ { "type": "String", "attributes": { "Text": "?" } } ] } ] })");
        write("project.json", R"({
          "format": 1,
          "start": { "interface": "Main", "caption": "All", "frameStyle": 5, "interface1024": "Help" },
          "splash": [ { "media": "Logo", "x": 10, "y": 20, "width": -99999, "height": -99999, "loop": true, "note": "logo" } ],
          "media": [
            { "name": "Logo", "id": 40, "file": "logo.bmp", "hots": "logo.hots", "jumps": [ { "id": 1, "name": "to help", "media": "Help" } ] },
            { "name": "Chime", "file": "chime.wav", "encoding": 1 },
            { "name": "Clip", "file": "clip.avi" },
            { "name": "Welcome", "file": "welcome.txt", "font": "Georgia", "size": 18, "bold": true, "color": "#AA0000" },
            { "name": "Blob", "type": "Custom", "parts": [ { "tag": "Xtra", "base64": "AAECAw==" } ], "files": [ "C:\\data\\blob.bin" ] }
          ],
          "folders": { "name": "Everything", "media": [ "Main" ],
            "folders": [ { "name": "Pictures", "media": [ "Logo", "Clip" ], "folders": [ { "name": "Deep" } ] } ] },
          "interfaces": [ "main.json", "help.json" ]
        })");
    }

    // Builds PROJECT into STEM.mmdb, exports that to the folder STEM (every description readable,
    // nothing kept as stored bytes), builds the export into STEM-again.mmdb and expects the
    // same records in both databases.
    void ExpectRoundTrip(const std::string& project, const std::string& stem)
    {
        const std::string first = Path(stem + ".mmdb"), second = Path(stem + "-again.mmdb");
        VerbRun built = Tamberlyne({ "build", project, "-o", first });
        ASSERT_EQ(built.status, 0) << built.err;
        VerbRun exported = Tamberlyne({ "export", first, Path(stem) });
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_EQ(exported.err.find("kept as"), std::string::npos) << exported.err;
        VerbRun rebuilt = Tamberlyne({ "build", Path(stem), "-o", second });
        ASSERT_EQ(rebuilt.status, 0) << rebuilt.err;
        const auto before = AllRecords(first);
        EXPECT_TRUE(before.count({ "MMStart", 0 }));
        EXPECT_EQ(AllRecords(second), before);
    }
};

} // namespace

TEST_F(ProjectExport, BuildExportBuildGivesIdenticalRecordsWithReadableDescriptions)
{
    WriteEveryClassProject();
    ExpectRoundTrip(Path("project"), "exported");
    EXPECT_GT(AllRecords(Path("exported.mmdb")).size(), 12u);

    // A second export of the rebuilt database writes the same project files.
    ASSERT_EQ(Tamberlyne({ "export", Path("exported-again.mmdb"), Path("again") }).status, 0);
    for (const char* file : { "project.json", "interfaces/Main.json", "interfaces/Help.json" }) {
        std::string a = ReadFile(Path("exported/") + file);
        EXPECT_FALSE(a.empty()) << file;
        EXPECT_EQ(a, ReadFile(Path("again/") + file)) << file;
    }
    // Refuses to write over a project unless asked to.
    VerbRun refused = Tamberlyne({ "export", Path("exported-again.mmdb"), Path("again") });
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(Tamberlyne({ "export", Path("exported-again.mmdb"), Path("again"), "--force" }).status, 0);
}

TEST_F(ProjectExport, StoredBytesNoDescriptionReproducesAreKeptAndDamagedRecordsSurvive)
{
    // A database written directly: one Interface whose element carries a target table the
    // project format has no key for, and one Interface whose record is damaged.
    tamberlyne::ProjectReader::RegisterElementClasses();
    const std::string path = Path("direct.mmdb");
    MemoryBlock good, damaged;
    {
        InterfaceModel model;
        model.AdoptInterface(std::make_unique<InterfaceObject>());
        model.AddCard();
        Element* button = model.AddElement(0, CreateElement(&model, "Button", CardRect { 1, 2, 3, 4 }, 5));
        button->Targets().AppendString("targets", Nul::Include);
        InterfaceRecord::Write(model, good);
        damaged = good;
        damaged.Resize(damaged.Size() / 2);
        damaged.WriteInt(InterfaceRecord::kCardCountOffset, 1000000, 4);
    }
    {
        MediaDatabase db;
        ASSERT_TRUE(db.Open(path));
        MediaCatalogWriter writer(db);
        NewMedium a;
        a.name = "Good";
        a.type = "Interface";
        a.parts.push_back({ "Data", good });
        NewMedium b = a;
        b.name = "Damaged";
        b.parts[0].bytes = damaged;
        ASSERT_TRUE(writer.CreateMedium(a));
        ASSERT_TRUE(writer.CreateMedium(b));
    }
    VerbRun exported = Tamberlyne({ "export", path, Path("out") });
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_NE(exported.err.find("interfaces/Good.json: Button 5 \"Button\" kept as its stored block"),
        std::string::npos)
        << exported.err;
    EXPECT_NE(exported.err.find("interfaces/Damaged.json: kept as its stored record"), std::string::npos)
        << exported.err;
    ASSERT_EQ(Tamberlyne({ "build", Path("out"), "-o", Path("rebuilt.mmdb") }).status, 0);
    auto before = AllRecords(path);
    auto after = AllRecords(Path("rebuilt.mmdb"));
    for (const char* name : { "MMEntry", "MMData" }) {
        for (const auto& [key, bytes] : before) {
            if (key.first == name) {
                EXPECT_EQ(after[key], bytes) << key.first << " " << key.second;
            }
        }
    }

    VerbRun shown = Tamberlyne({ "show", path, "Damaged" });
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("Interface \"Damaged\""), std::string::npos);
}

TEST_F(ProjectExport, ShowListsCardsElementsAttributesAndScripts)
{
    WriteEveryClassProject();
    ASSERT_EQ(Tamberlyne({ "build", Path("project"), "-o", Path("db.mmdb") }).status, 0);
    VerbRun shown = Tamberlyne({ "show", Path("db.mmdb"), "main" });
    ASSERT_EQ(shown.status, 0) << shown.err;
    for (const char* expected : {
             "Interface \"Main\" (id 5): 3 Cards, 800 x 600",
             "  TimerInterval = 250\n",
             "  user attribute Score (Long) = 12\n",
             "  user event Won (Long Points, String Who)\n",
             "    | \tA = 1\n",
             "Background: 3 elements\n",
             "  #1 Button \"Go\" at (1, 2) 60 x 20\n",
             "      Interface : Next Card = -1\n",
             "      Style = \"CheckBox\"\n",
             "        | \tParent : NextCard( )\n",
             "Card 1 \"First\": 7 elements\n",
             "      item \"two\"\n",
             "#11 Graphic \"Graphic\" at (0, 0) 64 x 64, medium 40 Graphic \"Logo\"\n",
             "Card 3 \"Empty\": 0 elements\n",
         })
        EXPECT_NE(shown.out.find(expected), std::string::npos) << expected << "\n" << shown.out;
    // Defaults appear only when every attribute is asked for.
    EXPECT_EQ(shown.out.find("ShowFill = false"), std::string::npos);
    VerbRun all = Tamberlyne({ "show", Path("db.mmdb"), "#6", "--all" });
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_NE(all.out.find("Interface \"Help\""), std::string::npos);
    EXPECT_NE(all.out.find("TextAlign = \"Left\""), std::string::npos) << all.out;

    EXPECT_EQ(Tamberlyne({ "show", Path("db.mmdb"), "Nowhere" }).status, 1);
    EXPECT_EQ(Tamberlyne({ "show", Path("db.mmdb"), "Logo" }).status, 1);
    EXPECT_EQ(Tamberlyne({ "show", Path("db.mmdb") }).status, 2);
}

TEST_F(ProjectExport, TheDemoProjectBuildsAndSurvivesARoundTrip)
{
    ExpectRoundTrip(std::string(TAMBER_SOURCE_DIR) + "/demo", "demo");
}
