#include "shell/AutomationScript.h"

#include <charconv>

#include "base/AsciiCase.h"
#include "ui/MessageBox.h"

namespace tamber::shell {

namespace {

// What follows a command's name.
enum class Arguments : uint8_t {
    None,       // quit
    Duration,   // wait MS
    Point,      // move X Y
    Button,     // down X Y [right]
    KeyName,    // key NAME
    RestOfLine, // type, choose: the rest of the line as written, possibly empty
    FileName,   // screenshot: the rest of the line, not empty
    ButtonName, // answer
};

struct CommandSpec {
    const char* name;
    CommandKind kind;
    Arguments arguments;
};

constexpr CommandSpec kCommands[] = {
    {"wait", CommandKind::Wait, Arguments::Duration},
    {"move", CommandKind::Move, Arguments::Point},
    {"down", CommandKind::Down, Arguments::Button},
    {"up", CommandKind::Up, Arguments::Button},
    {"click", CommandKind::Click, Arguments::Button},
    {"dblclick", CommandKind::DoubleClick, Arguments::Button},
    {"key", CommandKind::Key, Arguments::KeyName},
    {"type", CommandKind::Type, Arguments::RestOfLine},
    {"answer", CommandKind::Answer, Arguments::ButtonName},
    {"choose", CommandKind::Choose, Arguments::RestOfLine},
    {"screenshot", CommandKind::Screenshot, Arguments::FileName},
    {"quit", CommandKind::Quit, Arguments::None},
};

std::vector<std::string_view> Fields(std::string_view text)
{
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start)
            fields.push_back(text.substr(start, i - start));
    }
    return fields;
}

bool ParseNumber(std::string_view text, int32_t& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// Parses one command's arguments; answers an empty string or the reason the line is wrong.
std::string ParseArguments(const CommandSpec& spec, std::string_view rest, AutomationCommand& command)
{
    std::vector<std::string_view> fields = Fields(rest);
    std::string name = spec.name;
    switch (spec.arguments) {
    case Arguments::None:
        if (!fields.empty())
            return name + " takes no arguments";
        return {};
    case Arguments::Duration: {
        int32_t ms = 0;
        if (fields.size() != 1 || !ParseNumber(fields[0], ms) || ms < 0 ||
            static_cast<uint32_t>(ms) > AutomationScript::kMaxWait)
            return "wait expects milliseconds from 0 to 86400000";
        command.milliseconds = static_cast<uint32_t>(ms);
        return {};
    }
    case Arguments::Point:
    case Arguments::Button: {
        size_t extra = spec.arguments == Arguments::Button ? 1 : 0;
        std::string usage = name + " expects X Y" + (extra ? " [right]" : "");
        if (fields.size() < 2 || fields.size() > 2 + extra)
            return usage;
        if (!ParseNumber(fields[0], command.x) || !ParseNumber(fields[1], command.y))
            return usage + ": coordinates are whole numbers";
        if (fields.size() == 3) {
            if (!EqualFolded(fields[2], "right"))
                return usage + ": only \"right\" may follow the coordinates";
            command.button = MouseButton::Right;
        }
        return {};
    }
    case Arguments::KeyName:
        if (fields.size() != 1)
            return "key expects one key name, such as Enter, F5 or Ctrl+A";
        if (!KeyNames::Parse(fields[0], command.stroke))
            return "unknown key \"" + std::string(fields[0]) + "\"";
        return {};
    case Arguments::ButtonName:
        if (fields.size() != 1 || !ui::ParseButtonName(fields[0], command.answer))
            return "answer expects OK, Cancel, Yes or No";
        return {};
    case Arguments::RestOfLine:
    case Arguments::FileName:
        // One blank separates the name from the text, which is taken as written.
        command.text = std::string(rest.empty() ? rest : rest.substr(1));
        if (spec.arguments == Arguments::FileName && command.text.empty())
            return name + " expects a file name";
        return {};
    }
    return "unreadable command";
}

}  // namespace

const char* AutomationScript::Name(CommandKind kind)
{
    for (const auto& spec : kCommands) {
        if (spec.kind == kind)
            return spec.name;
    }
    return "?";
}

int AutomationScript::Parse(std::string_view text, std::vector<AutomationCommand>& commands, std::string& error)
{
    std::vector<AutomationCommand> out;
    int32_t lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#')
            continue;
        line.remove_prefix(first);
        size_t nameEnd = line.find_first_of(" \t");
        std::string_view name = line.substr(0, nameEnd);
        std::string_view rest = nameEnd == std::string_view::npos ? std::string_view() : line.substr(nameEnd);
        const CommandSpec* spec = nullptr;
        for (const auto& candidate : kCommands) {
            if (EqualFolded(name, candidate.name))
                spec = &candidate;
        }
        if (!spec) {
            error = "line " + std::to_string(lineNumber) + ": unknown command \"" + std::string(name) + "\"";
            return 0;
        }
        AutomationCommand command;
        command.kind = spec->kind;
        command.line = lineNumber;
        if (std::string reason = ParseArguments(*spec, rest, command); !reason.empty()) {
            error = "line " + std::to_string(lineNumber) + ": " + reason;
            return 0;
        }
        out.push_back(std::move(command));
    }
    commands = std::move(out);
    return 1;
}

}  // namespace tamber::shell
