#include <gtest/gtest.h>

#include "db/MediaDatabase.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "tools/VerbRun.h"

using namespace tamber;
namespace fs = std::filesystem;

namespace {

class ProjectBuild : public VerbTest {
protected:
    void SetUp() override
    {
        VerbTest::SetUp();
        m_db = Path("out.mmdb");
    }

    void Write(const std::string& name, const std::string& text) { WriteFile("project/" + name, text); }
    VerbRun Build() { return Tamberlyne({"build", Path("project"), "-o", m_db}); }

    // Loads the Interface of that name from the built database.
    bool LoadInterface(const std::string& name, InterfaceModel& model, MediaDatabase& db)
    {
        if (!db.Open(m_db, {}, tamber::DatabaseAccess::ReadOnly))
            return false;
        EntryInfo info;
        MemoryBlock record;
        if (!db.FindEntryByName(name, "Interface", &info) || !db.ReadEntryPart(info, 0, nullptr, record))
            return false;
        model.AdoptInterface(std::make_unique<InterfaceObject>());
        return InterfaceRecord::Load(model, &db, record) == 1;
    }

    std::string m_db;
};

const char* kTinyBmp = "BM tiny picture bytes";

}  // namespace

TEST_F(ProjectBuild, BuildsInterfacesWithElementsAttributesScriptsAndLinks)
{
    Write("pic.bmp", kTinyBmp);
    Write("project.json", R"({
      "media": [ { "name": "Pic", "file": "pic.bmp" } ],
      "start": { "interface": "Main", "caption": "Hello" },
      "interfaces": [ "main.json" ] })");
    Write("main.script", "Opened ( ) {\n\tA = 1\n}\n");
    Write("main.json", R"({ "name": "Main", "attributes": { "CardWidth": 320, "BackColor": "#102030" },
      "scriptFile": "main.script",
      "userAttributes": [ { "name": "Score", "type": "Long", "value": 7 } ],
      "background": { "elements": [ { "type": "Button", "name": "Go", "rect": [1, 2, 30, 40],
          "attributes": { "Interface : Next Card": -1 } } ] },
      "cards": [ { "elements": [
          { "type": "String", "id": 9, "attributes": { "Text": "Hi", "TextStyle": "Bold" } },
          { "type": "Graphic", "attributes": { "Media": "Pic" } },
          { "type": "ListBox", "items": [ "a", "b" ], "script": [ "SelectionChanged ( ) {", "}" ] } ] },
        { "name": "Second" } ] })");
    VerbRun run = Build();
    ASSERT_EQ(run.status, 0) << run.err;

    InterfaceModel model;
    MediaDatabase db;
    ASSERT_TRUE(LoadInterface("Main", model, db));
    ASSERT_EQ(model.NumCards(), 2);
    EXPECT_EQ(model.CardAt(1)->name, "Second");
    AttributeValue value;
    ASSERT_EQ(model.Interface()->GetAttribute("CardWidth", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 320);
    ASSERT_EQ(model.Interface()->GetAttribute("BackColor", ValueType::Color, value), 1);
    EXPECT_EQ(value.Color(), 0x302010u);
    ASSERT_EQ(model.Interface()->GetAttribute("Score", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 7);
    EXPECT_EQ(model.Interface()->Script().ToString(), std::string("Opened ( ) {\r\tA = 1\r}\r\0", 23));

    Element* button = model.Background().elements.at(0).get();
    EXPECT_EQ(button->GetFrame(), (CardRect {1, 2, 30, 40}));
    ASSERT_EQ(button->GetAttribute("Interface : Next Card", ValueType::Id, value), 1);
    EXPECT_EQ(value.Long(), -1);

    // Explicit ids are kept; the others take the lowest free ids of the Interface.
    const auto& card = model.CardAt(0)->elements;
    ASSERT_EQ(card.size(), 3u);
    EXPECT_EQ(button->GetId(), 1);
    EXPECT_EQ(card[0]->GetId(), 9);
    EXPECT_EQ(card[1]->GetId(), 2);
    EXPECT_EQ(card[2]->GetId(), 3);
    ASSERT_EQ(card[0]->GetAttribute("TextStyle", ValueType::Enum, value), 1);
    EXPECT_EQ(value.Enum(), 1);
    EntryInfo pic;
    ASSERT_TRUE(db.FindEntryByName("Pic", "Graphic", &pic));
    EXPECT_EQ(card[1]->GetMedia().mediaId, static_cast<int32_t>(pic.id));
    ASSERT_EQ(card[2]->GetAttribute("NumItems", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 2);
    EXPECT_FALSE(card[2]->Tokens().Empty());

    MemoryBlock start;
    ASSERT_TRUE(db.Records().ReadRecord(start, "MMStart", 0));
    std::string startText = start.ToString();
    EXPECT_NE(startText.find("Hello"), std::string::npos);
    EXPECT_NE(startText.find("Main"), std::string::npos);
}

TEST_F(ProjectBuild, ProblemsNameFileElementAndAttributeAndWriteNothing)
{
    WriteFile("out.mmdb", "previous database");
    Write("project.json", R"({ "interfaces": [ "ui/main.json" ], "media": [ { "name": "X", "file": "missing.bmp" } ] })");
    Write("ui/main.json", R"({ "name": "Main", "cards": [ { "elements": [
        { "type": "Button", "name": "Ok", "attributes": { "Colour": 1, "TextSize": "big", "Style": "Fancy" } },
        { "type": "Sprite" },
        { "type": "String", "id": 4 }, { "type": "Line", "id": 4 },
        { "type": "String", "attributes": { "Text": 5, "TextColor": "#12345" } } ] } ] })");
    VerbRun run = Build();
    EXPECT_EQ(run.status, 1);
    const std::string main = Path("project/ui/main.json");
    for (const std::string& expected : std::vector<std::string> {
             main + ": Card 1 element 1 \"Ok\" (Button): attribute \"Colour\": no such attribute in class Button",
             main + ": Card 1 element 1 \"Ok\" (Button): attribute \"TextSize\": expected a whole number",
             "attribute \"Style\": expected one of \"PushButton\", \"RadioButton\"",
             main + ": Card 1 element 2: \"type\": no element class \"Sprite\"",
             main + ": Card 1 element 4: \"id\": 4 is used twice in this Interface",
             "Card 1 element 5 (String): attribute \"Text\": expected a string",
             "Card 1 element 5 (String): attribute \"TextColor\": expected a colour",
             "project.json: medium \"X\": \"file\": cannot read",
         })
        EXPECT_NE(run.err.find(expected), std::string::npos) << expected << "\n" << run.err;
    EXPECT_NE(run.err.find("nothing written"), std::string::npos);
    EXPECT_EQ(ReadFile(m_db), "previous database");
    EXPECT_FALSE(fs::exists(m_db + ".building"));
}

TEST_F(ProjectBuild, DamagedProjectFilesAreReportedNotFatal)
{
    // Each is a whole project.json; none may crash, each must fail with a message.
    const char* damaged[] = {
        "", "{", "[]", "42", "{\"media\": 5}", "{\"media\": [5, null, {}]}",
        "{\"interfaces\": [{}]}", "{\"interfaces\": [{\"name\": \"A\", \"cards\": 3}]}",
        "{\"interfaces\": [{\"name\": \"A\", \"cards\": [{\"elements\": [1, {\"type\": 2}]}]}]}",
        "{\"interfaces\": [{\"name\": \"A\", \"grid\": 1, \"guides\": 2, \"effect\": [],"
        " \"userAttributes\": {}, \"userEvents\": [3]}]}",
        "{\"interfaces\": [{\"name\": \"A\", \"background\": {\"elements\": [{\"type\": \"Button\","
        " \"rect\": [1], \"userAttributes\": [{\"name\": \"x\", \"type\": \"Nope\"}]}]}}]}",
        "{\"start\": {\"interface\": \"Nowhere\"}, \"splash\": [{\"media\": 1}], \"folders\": {\"media\": [\"Q\"]}}",
        "{\"interfaces\": [\"missing.json\", \"project.json\"]}",
        "{\"media\": [{\"name\": \"T\", \"type\": \"Graphic\", \"parts\": [{\"tag\": \"TooLong\", \"base64\": \"!\"}],"
        " \"jumps\": [{\"id\": \"x\"}]}]}",
    };
    for (const char* text : damaged) {
        Write("project.json", text);
        VerbRun run = Build();
        EXPECT_EQ(run.status, 1) << text;
        EXPECT_NE(run.err.find("nothing written"), std::string::npos) << text << "\n" << run.err;
        EXPECT_FALSE(fs::exists(m_db)) << text;
    }
}

TEST_F(ProjectBuild, UsageErrors)
{
    EXPECT_EQ(Tamberlyne({"build", Path("project")}).status, 2);
    EXPECT_EQ(Tamberlyne({"build", "-o", m_db}).status, 2);
    VerbRun missing = Tamberlyne({"build", Path("nowhere"), "-o", m_db});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("not a project folder"), std::string::npos);
}

TEST_F(ProjectBuild, ExternalVideosAreCopiedBesideTheDatabaseButNeverReplaceAnotherFile)
{
    Write("clip.avi", "RIFF video one");
    Write("project.json", R"({ "media": [ { "name": "Clip", "file": "clip.avi" },
        { "name": "Far", "type": "Video", "files": [ "D:\\videos\\far.avi" ] } ] })");
    VerbRun run = Build();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(Path("clip.avi")), "RIFF video one");
    MediaDatabase db;
    ASSERT_TRUE(db.Open(m_db, {}, tamber::DatabaseAccess::ReadOnly));
    MediaEntry clip, far;
    ASSERT_TRUE(db.GetEntry(1, clip));
    ASSERT_TRUE(db.GetEntry(2, far));
    EXPECT_TRUE(clip.parts.empty());
    ASSERT_EQ(clip.externals.size(), 1u);
    EXPECT_EQ(clip.externals[0].path, "clip.avi");
    EXPECT_EQ(clip.type, "Video");
    ASSERT_EQ(far.externals.size(), 1u);
    EXPECT_EQ(far.externals[0].path, "D:\\videos\\far.avi");
    db.Records().Close();

    // The same file again is fine; a different one of that name is left alone.
    EXPECT_EQ(Build().status, 0);
    Write("clip.avi", "RIFF video two");
    VerbRun clash = Build();
    EXPECT_EQ(clash.status, 1);
    EXPECT_NE(clash.err.find("exists and differs"), std::string::npos) << clash.err;
    EXPECT_EQ(ReadFile(Path("clip.avi")), "RIFF video one");
}

TEST_F(ProjectBuild, LongBuildsShowTheirProgressShortOnesDoNot)
{
    std::string media;
    for (int i = 1; i <= 30; ++i)
        media += std::string(i > 1 ? "," : "") + "{\"name\": \"M" + std::to_string(i)
            + "\", \"type\": \"Blob\", \"parts\": [{\"tag\": \"Data\", \"base64\": \"AAEC\"}]}";
    Write("project.json", "{\"media\": [" + media + "]}");
    VerbRun run = Build();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("build: 3/30 (10%) M3\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("build: 30/30 (100%) M30\n"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("30 media, 0 Interfaces"), std::string::npos) << run.out;

    Write("project.json", R"({"media": [{"name": "One", "type": "Blob", "parts": [{"tag": "Data", "base64": "AA=="}]}]})");
    run = Build();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
}
