#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "shell/StartWindow.h"

namespace tamber {
class ScreenContext;
}

namespace tamber::shell {

inline constexpr const char* kTamberVersion = "0.1.0";

// Exit codes of the program's own failures; otherwise the player's exit code.
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoDisplay = 3;

// What the tamber program is given besides its arguments.
struct TamberContext {
    std::istream* in = nullptr;     // the automation script of "--events -"
    std::ostream* out = nullptr;    // message-box lines, trace lines, --help, --version
    std::ostream* err = nullptr;    // the program's own errors
    std::string programPath;        // the program's own file
    StartWindowFactory windows;     // the start Interface's window; default: the player's own
};

// The player's start window: the Interface window, drawing through the screen context.
StartWindowFactory DefaultStartWindows(ScreenContext* screen);

// The tamber program: parses the options, sets up the screen, clock and dialog answers of the
// run (headless or in a window), wires the script engine and plays the database.
int RunTamber(const std::vector<std::string>& args, const TamberContext& context);

}  // namespace tamber::shell
