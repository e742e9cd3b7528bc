#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display/InputEvent.h"
#include "shell/KeyNames.h"
#include "ui/DialogAnswers.h"

namespace tamber::shell {

enum class CommandKind : uint8_t {
    Wait, Move, Down, Up, Click, DoubleClick, Key, Type, Answer, Choose, Screenshot, Quit,
};

// One line of an automation script.
struct AutomationCommand {
    CommandKind kind = CommandKind::Wait;
    int32_t line = 0;                   // 1-based line in the script
    uint32_t milliseconds = 0;          // wait
    int32_t x = 0;                      // move, down, up, click, dblclick
    int32_t y = 0;
    MouseButton button = MouseButton::Left;
    KeyStroke stroke;                   // key
    ui::MessageBoxResult answer = ui::MessageBoxResult::Ok;
    std::string text;                   // type, choose, screenshot
};

// The automation script: one command per line; blank lines and lines starting with '#' are
// ignored. Parse stops at the first bad line and reports it as "LINE: reason".
class AutomationScript {
public:
    static constexpr uint32_t kMaxWait = 24u * 60 * 60 * 1000;

    // Answers 1, or 0 with the error (line number first) in error.
    static int Parse(std::string_view text, std::vector<AutomationCommand>& commands, std::string& error);
    // The command's name as written in scripts.
    static const char* Name(CommandKind kind);
};

}  // namespace tamber::shell
