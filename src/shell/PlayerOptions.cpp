#include "shell/PlayerOptions.h"

#include <charconv>
#include <cmath>
#include <iterator>

namespace tamber::shell {

namespace {

using Setter = int (*)(PlayerOptions& options, const std::string& value, std::string& error);

struct OptionSpec {
    const char* name;
    const char* valueName;  // null: a flag without a value
    const char* help;
    Setter set;
};

int SetScreen(PlayerOptions& o, const std::string& v, std::string& error)
{
    ScreenSpec spec;
    if (!ParseScreenSpec(v, spec)) {
        error = "--screen expects WxH or WxHxD with D 8 or 24, not \"" + v + "\"";
        return 0;
    }
    o.screen = spec;
    return 1;
}

int SetTime(PlayerOptions& o, const std::string& v, std::string& error)
{
    LocalTime t;
    if (!Clock::ParseTime(v, t)) {
        error = "--time expects \"YYYY-MM-DD HH:MM:SS\", not \"" + v + "\"";
        return 0;
    }
    o.time = t;
    return 1;
}

int SetDrive(PlayerOptions& o, const std::string& v, std::string& error)
{
    DriveMapping mapping;
    if (!PathResolver::ParseMapping(v, mapping)) {
        error = "--drive expects LETTER=FOLDER, not \"" + v + "\"";
        return 0;
    }
    o.drives.push_back(mapping);
    return 1;
}

int SetTimeout(PlayerOptions& o, const std::string& v, std::string& error)
{
    double seconds = 0;
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), seconds);
    if (ec != std::errc() || end != v.data() + v.size() || !std::isfinite(seconds) || seconds < 0) {
        error = "--script-timeout expects a number of seconds, not \"" + v + "\"";
        return 0;
    }
    o.scriptTimeout = seconds;
    return 1;
}

const OptionSpec kOptions[] = {
    {"--headless", nullptr, "no window: draw in memory, use the virtual clock, answer dialogs from the script",
        [](PlayerOptions& o, const std::string&, std::string&) { o.mode = RunMode::Headless; return 1; }},
    {"--screen", "WxH[xD]", "the screen the program sees; D is 24 (default) or 8; default 1024x768x24 headless",
        SetScreen},
    {"--events", "FILE", "run the automation script FILE (\"-\" = standard input)",
        [](PlayerOptions& o, const std::string& v, std::string&) { o.eventsPath = v; return 1; }},
    {"--trace", nullptr, "print every event raised, one line each",
        [](PlayerOptions& o, const std::string&, std::string&) { o.trace = true; return 1; }},
    {"--time", "\"YYYY-MM-DD HH:MM:SS\"", "the local date and time at start (headless only)", SetTime},
    {"--data-dir", "DIR", "the folder that stands in for the Windows folder",
        [](PlayerOptions& o, const std::string& v, std::string&) { o.dataDir = v; return 1; }},
    {"--no-launch", nullptr, "refuse the built-in Launch function",
        [](PlayerOptions& o, const std::string&, std::string&) { o.noLaunch = true; return 1; }},
    {"--drive", "D=PATH", "map the Windows drive letter D to a folder (repeatable)", SetDrive},
    {"--script-timeout", "SECONDS", "end a handler that runs longer (headless default: 10)", SetTimeout},
    {"--help", nullptr, "show this text",
        [](PlayerOptions& o, const std::string&, std::string&) { o.help = true; return 1; }},
    {"--version", nullptr, "show the version",
        [](PlayerOptions& o, const std::string&, std::string&) { o.version = true; return 1; }},
};

const OptionSpec* FindOption(const std::string& name)
{
    for (const auto& spec : kOptions) {
        if (name == spec.name)
            return &spec;
    }
    return nullptr;
}

bool ParseInt(std::string_view text, int32_t& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

double PlayerOptions::TimeoutSeconds() const
{
    if (scriptTimeout)
        return *scriptTimeout;
    return mode == RunMode::Headless ? kDefaultHeadlessTimeout : 0;
}

int ParseScreenSpec(const std::string& text, ScreenSpec& spec)
{
    std::vector<std::string_view> parts;
    std::string_view rest = text;
    for (;;) {
        size_t x = rest.find_first_of("xX");
        parts.push_back(rest.substr(0, x));
        if (x == std::string_view::npos)
            break;
        rest.remove_prefix(x + 1);
    }
    if (parts.size() != 2 && parts.size() != 3)
        return 0;
    ScreenSpec out;
    if (!ParseInt(parts[0], out.width) || !ParseInt(parts[1], out.height))
        return 0;
    if (out.width < 1 || out.height < 1 || out.width > Display::kMaxSide || out.height > Display::kMaxSide)
        return 0;
    if (parts.size() == 3) {
        int32_t depth = 0;
        if (!ParseInt(parts[2], depth) || (depth != 8 && depth != 24))
            return 0;
        out.depth = depth == 8 ? ScreenDepth::Palette8 : ScreenDepth::Direct24;
    }
    spec = out;
    return 1;
}

int ParsePlayerOptions(const std::vector<std::string>& args, PlayerOptions& options, std::string& error)
{
    PlayerOptions out;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            out.words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg, value;
        bool inlineValue = false;
        if (size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        const OptionSpec* spec = FindOption(name);
        if (!spec) {
            error = "unknown option " + name + " (see --help)";
            return 0;
        }
        if (spec->valueName && !inlineValue) {
            if (i + 1 >= args.size()) {
                error = name + " needs a value: " + spec->valueName;
                return 0;
            }
            value = args[++i];
        } else if (!spec->valueName && inlineValue) {
            error = name + " takes no value";
            return 0;
        }
        if (!spec->set(out, value, error))
            return 0;
    }
    if (out.time && out.mode != RunMode::Headless) {
        error = "--time needs --headless: the real clock cannot be set";
        return 0;
    }
    options = std::move(out);
    return 1;
}

void PrintUsage(std::ostream& out)
{
    out << "usage: tamber [options] [DATABASE]\n"
           "Plays a presentation database. Exactly one DATABASE word names the file; with none, or\n"
           "more than one, the program plays the database it carries itself.\n\noptions:\n";
    for (const auto& spec : kOptions) {
        std::string left = std::string("  ") + spec.name;
        if (spec.valueName)
            left += std::string(" ") + spec.valueName;
        out << left;
        if (left.size() < 34)
            out << std::string(34 - left.size(), ' ');
        else
            out << "\n" << std::string(34, ' ');
        out << spec.help << "\n";
    }
}

}  // namespace tamber::shell
