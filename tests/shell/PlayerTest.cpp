#include "shell/Player.h"

#include <sstream>

#include <gtest/gtest.h>

#include "db/MediaCatalogWriter.h"
#include "elements/ControlElements.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "platform/FakeSystemServices.h"
#include "platform/MemoryFileSystem.h"
#include "shell/InterfaceStartWindow.h"
#include "ui/ScriptedAnswers.h"
#include "ui/TFramedWindow.h"
#include "ui/UiTestSupport.h"

namespace tamber::shell {
namespace {

constexpr const char* kDbPath = "/shows/tour.db";

MemoryBlock InterfaceBytes(int32_t width, int32_t height)
{
    InterfaceModel model;
    model.AddCard();
    InterfaceObject& self = model.AdoptInterface(std::make_unique<InterfaceObject>());
    self.SetAttribute("CardWidth", ValueType::Long, AttributeValue::OfLong(width));
    self.SetAttribute("CardHeight", ValueType::Long, AttributeValue::OfLong(height));
    MemoryBlock bytes;
    InterfaceRecord::Write(model, bytes);
    return bytes;
}

// A start window that notes what start-up asked of it.
class NotingStartWindow final : public StartWindow {
public:
    struct Notes {
        int16_t frameStyle = 0;
        int32_t bytes = 0;
        bool fullScreen = false;
        bool shownWhenOpened = true;
        int opened = 0;
    };
    NotingStartWindow(int32_t width, int32_t height, Notes& notes)
        : m_width(width)
        , m_height(height)
        , m_notes(notes)
    {
    }
    int Create(MediaDatabase&, const MemoryBlock& bytes, int16_t frameStyle, const std::string&) override
    {
        m_notes.frameStyle = frameStyle;
        m_notes.bytes = bytes.Size();
        return m_frame.CreateFramed(nullptr, "", kInitialFrame, ui::Placement::Centered, Visibility::Hidden);
    }
    int32_t InterfaceWidth() const override { return m_width; }
    int32_t InterfaceHeight() const override { return m_height; }
    void MakeFullScreen() override { m_notes.fullScreen = true; }
    void RaiseOpened() override
    {
        ++m_notes.opened;
        m_notes.shownWhenOpened = m_frame.IsShown();
    }
    ui::TWindow& Window() override { return m_frame; }

private:
    ui::TFramedWindow m_frame;
    int32_t m_width;
    int32_t m_height;
    Notes& m_notes;
};

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterControlElements(ElementFactory::Process()); }

    // A database with the start record and Interfaces of the given names and sizes; "Outside"
    // is an Interface kept in an outside file.
    void MakeDatabase(const StartRecord& start,
        std::vector<std::tuple<std::string, int32_t, int32_t>> interfaces, std::string_view password = {})
    {
        MediaDatabase db(files, &system);
        ASSERT_EQ(db.Open(kDbPath, password), 1);
        WriteStart(db, start);
        MediaCatalogWriter writer(db);
        for (const auto& [name, width, height] : interfaces) {
            NewMedium medium;
            medium.name = name;
            medium.type = "Interface";
            medium.parts.push_back(NewPart { "Intr", InterfaceBytes(width, height) });
            ASSERT_EQ(writer.CreateMedium(medium), 1);
        }
        NewMedium outside;
        outside.name = "Outside";
        outside.type = "Interface";
        outside.files.push_back("C:\\SHOW\\OUTSIDE.INT");
        ASSERT_EQ(writer.CreateMedium(outside), 1);
    }

    static void WriteStart(MediaDatabase& db, const StartRecord& start)
    {
        MemoryBlock record;
        start.Write(record);
        ASSERT_EQ(db.Records().WriteRecord(record, StartRecord::kRecordName, StartRecord::kRecordId, 0), 1);
    }
    // Replaces the start record of the database made by MakeDatabase.
    void RewriteStart(const StartRecord& start)
    {
        MediaDatabase db(files, &system);
        ASSERT_EQ(db.Open(kDbPath), 1);
        WriteStart(db, start);
    }

    StartWindowFactory Noting(int32_t width, int32_t height)
    {
        return [this, width, height] { return std::make_unique<NotingStartWindow>(width, height, notes); };
    }

    MemoryFileSystem files;
    FakeSystemServices system;
    NotingStartWindow::Notes notes;
    std::ostringstream log;
};

struct Screen {
    explicit Screen(int32_t width, int32_t height = 768, std::ostream* log = nullptr)
        : harness(width, height)
        , answers(log)
    {
        harness.app.SetDialogAnswers(&answers);
    }
    ui::test::UiHarness harness;
    ui::ScriptedAnswers answers;
};

TEST_F(PlayerTest, CentresTheWindowAndSetsTheCaption)
{
    StartRecord start;
    start.frameStyle = 3;
    start.caption = "The Tour";
    start.startName = "Main";
    MakeDatabase(start, { { "Main", 401, 300 } });
    Screen screen(1024);
    Player player(screen.harness.app, files, system, Noting(401, 300));
    ASSERT_EQ(player.Start({ kDbPath }, ""), 1);
    ui::TWindow& window = player.Window()->Window();
    EXPECT_EQ(window.WindowRect().left, 311); // (1024 - 401) / 2, truncated
    EXPECT_EQ(window.WindowRect().top, 234);
    EXPECT_EQ(window.Caption(), "The Tour");
    EXPECT_FALSE(notes.fullScreen);
    EXPECT_EQ(notes.frameStyle, 3);
    EXPECT_GT(notes.bytes, 0);
    EXPECT_EQ(notes.opened, 1);
    EXPECT_FALSE(notes.shownWhenOpened) << "\"Opened\" comes before the window is shown";
}

TEST_F(PlayerTest, FullScreenWhenEitherSideMatchesTheScreen)
{
    StartRecord start;
    start.caption = "Never shown";
    start.startName = "Main";
    MakeDatabase(start, { { "Main", 640, 768 } });
    for (auto [width, height] : { std::pair { 640, 768 }, std::pair { 1024, 500 } }) {
        notes = {};
        Screen screen(1024, 768);
        Player player(screen.harness.app, files, system, Noting(width, height));
        ASSERT_EQ(player.Start({ kDbPath }, ""), 1);
        EXPECT_TRUE(notes.fullScreen) << width << "x" << height;
        EXPECT_EQ(player.Window()->Window().Caption(), "") << "a full-screen window gets no caption";
    }
}

TEST_F(PlayerTest, StartFailuresShowTheirMessagesAndEndWithZero)
{
    StartRecord start;
    start.startName = "Main";
    MakeDatabase(start, { { "Other", 640, 480 } });
    struct Case {
        std::vector<std::string> words;
        std::string startName;
        StartupStage stage;
        std::string line;
    };
    const std::string prefix = "MessageBox [TamberPlayer] ";
    std::vector<Case> cases = {
        { { "/shows/none.db" }, "Main", StartupStage::OpenFailed,
            prefix + "The application could not find the database... -> OK\n" },
        { {}, "Main", StartupStage::OpenFailed,
            prefix + "The application could not find the database... -> OK\n" },
        { { kDbPath }, "Main", StartupStage::NoInterface,
            prefix + "Couldn't find an Interface object named \"Main\"... -> OK\n" },
        { { kDbPath }, "Outside", StartupStage::NoInterface,
            prefix + "The Interface object named \"Outside\" must be internalized... -> OK\n" },
    };
    for (const auto& c : cases) {
        start.startName = c.startName;
        RewriteStart(start);
        std::ostringstream lines;
        Screen screen(1024, 768, &lines);
        Player player(screen.harness.app, files, system, Noting(640, 480));
        EXPECT_EQ(player.Run(c.words, "/usr/bin/tamber"), 0);
        EXPECT_EQ(player.Stage(), c.stage);
        EXPECT_EQ(lines.str(), c.line);
        EXPECT_EQ(player.Database(), nullptr) << "the database is closed";
        EXPECT_EQ(screen.harness.app.WindowCount(), 0) << "the shell window is gone";
    }
    // No path at all: nothing to say.
    std::ostringstream lines;
    Screen screen(1024, 768, &lines);
    Player player(screen.harness.app, files, system, Noting(640, 480));
    EXPECT_EQ(player.Run({}, ""), 0);
    EXPECT_EQ(player.Stage(), StartupStage::NoPath);
    EXPECT_EQ(lines.str(), "");
}

TEST_F(PlayerTest, WrongPasswordHasItsOwnMessage)
{
    StartRecord start;
    start.startName = "Main";
    MakeDatabase(start, { { "Main", 640, 480 } }, "secret");
    std::ostringstream lines;
    Screen screen(1024, 768, &lines);
    Player player(screen.harness.app, files, system, Noting(640, 480));
    EXPECT_EQ(player.Run({ kDbPath }, ""), 0);
    EXPECT_EQ(lines.str(),
        "MessageBox [TamberPlayer] Can't open the database without the correct password! -> OK\n");
}

TEST_F(PlayerTest, ExitCodeIsTheLoopResultSignExtendedFromSixteenBits)
{
    StartRecord start;
    start.startName = "Main";
    MakeDatabase(start, { { "Main", 640, 480 } });
    Screen screen(1024);
    Player player(screen.harness.app, files, system, Noting(640, 480));
    ASSERT_EQ(player.Start({ kDbPath }, ""), 1);
    screen.harness.app.PostQuit(0x18000);
    EXPECT_EQ(player.Finish(), -32768);
    EXPECT_EQ(player.Stage(), StartupStage::Ran);
    EXPECT_EQ(screen.harness.app.WindowCount(), 0);
}

TEST_F(PlayerTest, InterfaceWindowTakesTheCardSizeAndPlacement)
{
    StartRecord start;
    start.caption = "Tour";
    start.startName = "Main";
    start.name800 = "Small"; // the start Interface for 800-pixel-wide screens
    MakeDatabase(start, { { "Main", 500, 768 }, { "Small", 320, 200 } });
    {
        Screen screen(1024);
        Player player(screen.harness.app, files, system,
            [] { return std::make_unique<InterfaceStartWindow>(nullptr); });
        ASSERT_EQ(player.Start({ kDbPath }, ""), 1);
        auto* window = static_cast<InterfaceStartWindow*>(player.Window());
        EXPECT_EQ(window->InterfaceWidth(), 500);
        EXPECT_TRUE(window->Interface().IsFullScreen());
        EXPECT_EQ(window->Window().WindowRect(), gfx::Rect::FromSize(0, 0, 1024, 768));
        EXPECT_EQ(window->Window().Caption(), "");
    }
    Screen screen(800);
    Player player(
        screen.harness.app, files, system, [] { return std::make_unique<InterfaceStartWindow>(nullptr); });
    ASSERT_EQ(player.Start({ kDbPath }, ""), 1);
    ui::TWindow& window = player.Window()->Window();
    EXPECT_EQ(window.ClientWidth(), 320);
    EXPECT_EQ(window.ClientHeight(), 200);
    EXPECT_EQ(player.StartName(), "Small");
    EXPECT_EQ(window.WindowRect().left, (800 - 320) / 2);
    EXPECT_EQ(window.WindowRect().top, (768 - 200) / 2);
    EXPECT_EQ(window.Caption(), "Tour");
}

} // namespace
} // namespace tamber::shell
