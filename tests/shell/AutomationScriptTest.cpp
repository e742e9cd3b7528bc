#include <gtest/gtest.h>

#include "platform/display/InputEvent.h"
#include "shell/AutomationScript.h"
#include "shell/KeyNames.h"

namespace tamber::shell {
namespace {

std::vector<AutomationCommand> Parsed(std::string_view text)
{
    std::vector<AutomationCommand> commands;
    std::string error;
    EXPECT_EQ(AutomationScript::Parse(text, commands, error), 1) << error;
    return commands;
}

std::string ErrorOf(std::string_view text)
{
    std::vector<AutomationCommand> commands{AutomationCommand{}};
    std::string error;
    EXPECT_EQ(AutomationScript::Parse(text, commands, error), 0) << text;
    EXPECT_EQ(commands.size(), 1u) << "a failed parse keeps what the caller had";
    return error;
}

TEST(AutomationScript, ReadsEveryCommandWithItsLine)
{
    auto commands = Parsed(
        "# a tour\n"
        "\n"
        "wait 100\r\n"
        "  move 10 -5\n"
        "down 1 2 right\n"
        "UP 3 4\n"
        "click 5 6\n"
        "dblclick 7 8\n"
        "key Ctrl+Shift+F5\n"
        "type Hello,  world \n"
        "answer cancel\n"
        "choose /tmp/a file.bmp\n"
        "choose\n"
        "screenshot shots/card 2.png\n"
        "quit\n");
    ASSERT_EQ(commands.size(), 13u);
    EXPECT_EQ(commands[0].kind, CommandKind::Wait);
    EXPECT_EQ(commands[0].line, 3);
    EXPECT_EQ(commands[0].milliseconds, 100u);
    EXPECT_EQ(commands[1].kind, CommandKind::Move);
    EXPECT_EQ(commands[1].y, -5);
    EXPECT_EQ(commands[2].button, MouseButton::Right);
    EXPECT_EQ(commands[3].kind, CommandKind::Up);
    EXPECT_EQ(commands[3].button, MouseButton::Left);
    EXPECT_EQ(commands[5].kind, CommandKind::DoubleClick);
    EXPECT_EQ(commands[6].stroke, (KeyStroke{key::kF1 + 4, kModControl | kModShift}));
    EXPECT_EQ(commands[7].text, "Hello,  world ");
    EXPECT_EQ(commands[8].answer, ui::MessageBoxResult::Cancel);
    EXPECT_EQ(commands[9].text, "/tmp/a file.bmp");
    EXPECT_EQ(commands[10].text, "");
    EXPECT_EQ(commands[11].text, "shots/card 2.png");
    EXPECT_EQ(commands[12].kind, CommandKind::Quit);
    EXPECT_EQ(commands[12].line, 15);
}

TEST(AutomationScript, ReportsTheFirstBadLineWithItsNumber)
{
    EXPECT_EQ(ErrorOf("wait 1\nfly 2 3\n"), "line 2: unknown command \"fly\"");
    EXPECT_EQ(ErrorOf("\n\nwait -1"), "line 3: wait expects milliseconds from 0 to 86400000");
    EXPECT_EQ(ErrorOf("wait 86400001"), "line 1: wait expects milliseconds from 0 to 86400000");
    EXPECT_EQ(ErrorOf("wait"), "line 1: wait expects milliseconds from 0 to 86400000");
    EXPECT_EQ(ErrorOf("click 1"), "line 1: click expects X Y [right]");
    EXPECT_EQ(ErrorOf("click 1 2 middle"), "line 1: click expects X Y [right]: only \"right\" may follow the coordinates");
    EXPECT_EQ(ErrorOf("move 1 2 right"), "line 1: move expects X Y");
    EXPECT_EQ(ErrorOf("move 1.5 2"), "line 1: move expects X Y: coordinates are whole numbers");
    EXPECT_EQ(ErrorOf("key Hyper+A"), "line 1: unknown key \"Hyper+A\"");
    EXPECT_EQ(ErrorOf("key"), "line 1: key expects one key name, such as Enter, F5 or Ctrl+A");
    EXPECT_EQ(ErrorOf("answer Maybe"), "line 1: answer expects OK, Cancel, Yes or No");
    EXPECT_EQ(ErrorOf("screenshot"), "line 1: screenshot expects a file name");
    EXPECT_EQ(ErrorOf("quit now"), "line 1: quit takes no arguments");
}

TEST(KeyNames, ParsesNamesAndModifiersWithoutRegardToCase)
{
    KeyStroke stroke;
    ASSERT_EQ(KeyNames::Parse("a", stroke), 1);
    EXPECT_EQ(stroke, (KeyStroke{'A', 0}));
    ASSERT_EQ(KeyNames::Parse("alt+ctrl+pagedown", stroke), 1);
    EXPECT_EQ(stroke, (KeyStroke{key::kPageDown, kModAlt | kModControl}));
    ASSERT_EQ(KeyNames::Parse("F12", stroke), 1);
    EXPECT_EQ(stroke.key, key::kF12);
    ASSERT_EQ(KeyNames::Parse("Ctrl+Break", stroke), 1);
    EXPECT_TRUE(stroke.IsBreak());
    ASSERT_EQ(KeyNames::Parse("Shift+9", stroke), 1);
    EXPECT_FALSE(stroke.IsBreak());
    for (const char* bad : {"", "F0", "F13", "F01", "Break", "Shift+", "Ctrl+", "ab", "+A", "Ctrl-A", "é"})
        EXPECT_EQ(KeyNames::Parse(bad, stroke), 0) << bad;
}

TEST(KeyNames, KeysTypeTheCharactersOfAUsKeyboard)
{
    EXPECT_EQ(KeyNames::CharacterOf({'A', 0}), 'a');
    EXPECT_EQ(KeyNames::CharacterOf({'A', kModShift}), 'A');
    EXPECT_EQ(KeyNames::CharacterOf({'C', kModControl}), 3);
    EXPECT_EQ(KeyNames::CharacterOf({'A', kModAlt}), 0);
    EXPECT_EQ(KeyNames::CharacterOf({'1', kModShift}), '!');
    EXPECT_EQ(KeyNames::CharacterOf({key::kEnter, 0}), '\r');
    EXPECT_EQ(KeyNames::CharacterOf({key::kF1, 0}), 0);
    EXPECT_EQ(KeyNames::CharacterOf({key::kSlash, kModShift}), '?');
    // Every printable ASCII character has a key that types it back.
    for (int c = 32; c < 127; ++c) {
        KeyStroke stroke = KeyNames::StrokeFor(static_cast<uint8_t>(c));
        ASSERT_NE(stroke.key, 0) << char(c);
        EXPECT_EQ(KeyNames::CharacterOf(stroke), c) << char(c);
    }
    EXPECT_EQ(KeyNames::StrokeFor(0xE9).key, 0);
}

}  // namespace
}  // namespace tamber::shell
