#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamber::shell {

// The start-up rule over the command line's words.
class CommandLine {
public:
    static constexpr size_t kMaxWords = 32;
    // The path buffer holds 255 characters and a NUL.
    static constexpr size_t kMaxPathLength = 255;

    // Splits a command line at blanks: a run of blanks ends a word and leading blanks are
    // skipped. Words after the 32nd are not kept.
    static std::vector<std::string> Split(std::string_view line);
    // The words of an argument list as the player sees them: the arguments joined with blanks
    // and split again, so that a path with blanks counts as several words.
    static std::vector<std::string> Words(const std::vector<std::string>& args);

    enum class PathResult { Ok, Empty, TooLong };
    // Exactly one word names the database; otherwise it is the program's own file.
    static PathResult DatabasePath(const std::vector<std::string>& words, const std::string& programPath,
                                   std::string& path);
};

}  // namespace tamber::shell
