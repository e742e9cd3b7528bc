#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/Beeper.h"
#include "platform/BreakKey.h"
#include "platform/FakeSystemServices.h"
#include "platform/Launcher.h"
#include "platform/MciCommands.h"
#include "platform/MciWaveOutput.h"
#include "platform/MemoryFileSystem.h"
#include "ScriptFixture.h"

using namespace tamber;
using tamber::test::ScriptFixture;
using tamber::test::ScriptTestElement;

namespace {

std::string TextOf(Element& element, const char* attribute)
{
    AttributeValue value;
    element.GetAttribute(attribute, ValueType::String, value);
    return value.String();
}

// An Audio element that counts the media hooks the interpreter calls.
class MediaProbe : public ScriptTestElement {
public:
    MediaProbe() : ScriptTestElement(ClassId::Audio) { }
    void PrepareMediaChange() override { ++prepared; }
    void MediaChanged() override { ++changed; }
    int prepared = 0;
    int changed = 0;
};

}  // namespace

// A small Interface: one button counts into a label, another drives it in a loop; nested
// handlers, attribute writes and the trace list work together.
TEST(Scenario, ButtonsDriveALabelThroughNestedHandlers)
{
    ScriptFixture f;
    Element& label = f.Add(0, ClassId::String, 2, "", "Counter");
    f.Add(0, ClassId::Button, 3,
        "Clicked ( ) {\r"
        "\tA = A + 1\r"
        "\tString 2 : Name = \"Count \" + A\r"
        "\tIf ( A == 2 )\r"
        "\t\tS1 = String \"Count 2\" : Name\r"
        "\tEndIf\r"
        "}\r");
    f.Run("\tB = 0\r"
          "\tWhile ( B < 3 )\r"
          "\t\tButton 3 : Clicked( )\r"
          "\t\tB = B + 1\r"
          "\tEndWhile\r"
          "\tString 2 : RectWidth = 255.9\r");
    EXPECT_TRUE(f.boxes.empty());
    EXPECT_EQ(TextOf(label, "Name"), "Count 3");
    EXPECT_EQ(f.engine.StringGlobal(1), "Count 2");
    AttributeValue width;
    label.GetAttribute("RectWidth", ValueType::Long, width);
    EXPECT_EQ(width.Long(), 255);
    // One line for the outer event and one for each raised one.
    // The outer event, each raised one, and the event the size change raises.
    EXPECT_EQ(f.trace, (std::vector<std::string> {"Button 1 : Clicked( )", "Button 3 : Clicked( )",
                           "Button 3 : Clicked( )", "Button 3 : Clicked( )",
                           "String 2 : Sized( Width = 255, Height = 0 )"}));
}

// A nested handler's error is shown, and the outer handler goes on.
TEST(Scenario, ANestedErrorLeavesTheOuterHandlerRunning)
{
    ScriptFixture f;
    f.Add(0, ClassId::Button, 2, "Clicked ( ) {\r\tA = 1 / 0\r\tA = 99\r}\r");
    f.Run("\tButton 2 : Clicked( )\r\tB = 7\r\tButton 2 : Clicked( )\r\tC = 8");
    EXPECT_EQ(f.boxes, (std::vector<std::string> {"[Script Error] Divide by zero... -> OK",
                           "[Script Error] Divide by zero... -> OK"}));
    EXPECT_EQ(f.A(), 0);
    EXPECT_EQ(f.engine.DoubleGlobal(1), 7);
    EXPECT_EQ(f.engine.DoubleGlobal(2), 8);
}

// A script that replaces another element's script: the new text runs, never tokens of the old.
TEST(Scenario, ReplacedScriptsRunTheirNewText)
{
    ScriptFixture f;
    f.Add(0, ClassId::Button, 2, "Clicked ( ) {\r\tA = A + 1\r}\r");
    f.Add(0, ClassId::Button, 3, "Clicked ( ) {\r\tA = A + 9\r}\r");
    f.Run("\tButton 2 : Clicked( )\r\tButton 2 : Clicked( )\r\tButton 2 : Script = Button 3 : Script\r"
          "\tButton 2 : Clicked( )");
    EXPECT_TRUE(f.boxes.empty());
    EXPECT_EQ(f.A(), 11);
}

// Hostile handlers end with an error or quietly, never with a crash.
TEST(Scenario, HostileHandlersEndCleanly)
{
    const std::string deep = "\tA = " + std::string(5000, '(') + "1" + std::string(5000, ')');
    const std::string negations = "\tA = " + std::string(5000, '-') + "1";
    const std::string fine = "\tA = " + std::string(100, '(') + "2" + std::string(100, ')');
    struct Case {
        std::string lines;
        size_t boxes;
    };
    const std::vector<Case> cases = {
        {deep, 1},
        {negations, 1},
        {fine, 0},
        {"\tS = \"never closed\r\tA = 1", 0},  // the text runs to the end, which ends the handler
        {std::string("\tA = 1\x01\xff\x7f"), 0},
        {"\tWhile ( 1 )\r\tEndWhile", 0},  // ended by the break key below
    };
    for (const Case& c : cases) {
        ScriptFixture f;
        struct Budget : BreakKey {
            int left = 10000;
            bool IsDown() override { return --left < 0; }
        } budget;
        f.engine.GetSettings().breakKey = &budget;
        f.Run(c.lines);
        EXPECT_EQ(f.boxes.size(), c.boxes) << c.lines.substr(0, 40);
    }
    ScriptFixture f;
    f.Run(fine);
    EXPECT_EQ(f.A(), 2);
}

// Launch, MCICommand and Beep reach the platform through the engine's settings.
TEST(Scenario, PlatformFunctionsUseTheConfiguredServices)
{
    ScriptFixture f;
    RecordingLauncher launcher;
    CountingBeeper beeper;
    MemoryFileSystem files;
    FakeSystemServices system;
    system.AddFile("/chime.wav");
    files.SetContents("/chime.wav", std::vector<uint8_t>(10, 0));
    RecordingMciWaveOutput output;
    MciCommands mci(files, system, output);
    std::ostringstream errors;
    ScriptEngine::Settings& settings = f.engine.GetSettings();
    settings.launcher = &launcher;
    settings.beeper = &beeper;
    settings.mci = &mci;
    settings.errors = &errors;

    f.Run("\tLaunch( \"notes.exe readme.txt now\" )\r\tLaunch( \"C:\\TOOLS\\VIEW.EXE x\" )\r\tBeep( )\r"
          "\tMCICommand( \"open /chime.wav alias c\" )\r\tMCICommand( \"play c\" )\r\tMCICommand( \"bogus\" )");
    EXPECT_TRUE(f.boxes.empty());
    ASSERT_EQ(launcher.Calls().size(), 2u);
    EXPECT_EQ(launcher.Calls()[0].program, "notes.exe");
    EXPECT_EQ(launcher.Calls()[0].arguments, "readme.txt now");
    EXPECT_EQ(launcher.Calls()[1].program, "C:\\TOOLS\\VIEW.EXE");
    EXPECT_EQ(launcher.Calls()[1].folder, "C:\\TOOLS");
    EXPECT_EQ(beeper.Count(), 1);
    EXPECT_EQ(output.Log(), (std::vector<std::string> {"play 1 10 bytes"}));

    settings.launchEnabled = false;
    f.boxes.clear();
    f.Run("\tLaunch( \"notes.exe\" )");
    EXPECT_EQ(launcher.Calls().size(), 2u);
    EXPECT_NE(errors.str().find("Launch refused (--no-launch): notes.exe"), std::string::npos);
    EXPECT_TRUE(f.boxes.empty());
}

// The break key as the automation runner sets it: a pressed key ends handlers at once, silently.
TEST(Scenario, AManualBreakKeyStopsHandlers)
{
    ScriptFixture f;
    ManualBreakKey key;
    f.engine.GetSettings().breakKey = &key;
    key.Press();
    f.Run("\tA = 5");
    EXPECT_EQ(f.A(), 0);
    key.Release();
    f.Run("\tA = 5");
    EXPECT_EQ(f.A(), 5);
    EXPECT_TRUE(f.boxes.empty());
}

// Media writes are announced to the element before, and after when they name media.
TEST(Scenario, MediaWritesCallTheMediaHooks)
{
    ScriptFixture f;
    auto probe = std::make_unique<MediaProbe>();
    probe->SetId(4);
    MediaProbe* audio = probe.get();
    f.model.AddElement(0, std::move(probe));
    f.Run("\tAudio 4 : Media = NoMedia\r\tAudio 4 : Media = \"#12\"");
    EXPECT_TRUE(f.boxes.empty());
    EXPECT_EQ(audio->prepared, 2);
    EXPECT_EQ(audio->changed, 0);  // neither names media of a database
    EXPECT_EQ(f.engine.WaitCursorCount(), 0);
}
