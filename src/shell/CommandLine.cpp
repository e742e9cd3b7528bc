#include "shell/CommandLine.h"

namespace tamber::shell {

std::vector<std::string> CommandLine::Split(std::string_view line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size() && words.size() < kMaxWords) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        if (i >= line.size())
            break;
        size_t end = line.find(' ', i);
        if (end == std::string_view::npos)
            end = line.size();
        words.emplace_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

std::vector<std::string> CommandLine::Words(const std::vector<std::string>& args)
{
    std::string line;
    for (const auto& arg : args) {
        if (!line.empty())
            line += ' ';
        line += arg;
    }
    return Split(line);
}

CommandLine::PathResult CommandLine::DatabasePath(const std::vector<std::string>& words,
                                                  const std::string& programPath, std::string& path)
{
    const std::string& chosen = words.size() == 1 ? words[0] : programPath;
    path.clear();
    if (chosen.empty())
        return PathResult::Empty;
    if (chosen.size() > kMaxPathLength)
        return PathResult::TooLong;
    path = chosen;
    return PathResult::Ok;
}

}  // namespace tamber::shell
