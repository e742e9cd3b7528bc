#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/PathResolver.h"
#include "platform/clock/Clock.h"
#include "platform/display/Display.h"

namespace tamber::shell {

enum class RunMode : uint8_t { Interactive, Headless };

// The screen given with --screen WxH[xD].
struct ScreenSpec {
    int32_t width = 0;
    int32_t height = 0;
    ScreenDepth depth = ScreenDepth::Direct24;
};

// What the command line asks of the player. The options are taken out first; the words left
// over go to the start-up rule (CommandLine::DatabasePath).
struct PlayerOptions {
    static constexpr int32_t kDefaultHeadlessWidth = 1024;
    static constexpr int32_t kDefaultHeadlessHeight = 768;
    static constexpr double kDefaultHeadlessTimeout = 10;

    RunMode mode = RunMode::Interactive;
    std::optional<ScreenSpec> screen;
    std::string eventsPath;           // "-" is standard input; empty: no script
    bool trace = false;
    std::optional<LocalTime> time;
    std::string dataDir;
    bool noLaunch = false;
    std::vector<DriveMapping> drives;
    std::optional<double> scriptTimeout;
    bool help = false;
    bool version = false;
    std::vector<std::string> words;   // what is left: the start-up rule decides

    // The handler time limit in seconds: the option, else 10 headless and none interactive.
    double TimeoutSeconds() const;
};

// Parses the arguments (without the program name). Answers 1, or 0 with a one-line reason in
// error. "--" ends the options; every later argument is a word.
int ParsePlayerOptions(const std::vector<std::string>& args, PlayerOptions& options, std::string& error);
// Parses "WxH" or "WxHxD" (D 8 or 24). Answers 1 or 0.
int ParseScreenSpec(const std::string& text, ScreenSpec& spec);
// The usage text of --help.
void PrintUsage(std::ostream& out);

}  // namespace tamber::shell
