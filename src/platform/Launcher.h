#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamber {

// Starts another program for a script: an executable file directly, anything else (a document,
// a web address) through the desktop's opener. The program does not wait for it.
class Launcher {
public:
    virtual ~Launcher() = default;
    // program: a path (absolute, or relative to folder) or a name; arguments: the rest of the
    // command line, split at blanks (double quotes group); folder: the working folder.
    // Answers 1 when something was started, 0 otherwise.
    virtual int32_t Launch(const std::string& program, const std::string& arguments, const std::string& folder) = 0;

    // The arguments split at runs of blanks; a double-quoted stretch is one argument.
    static std::vector<std::string> SplitArguments(const std::string& arguments);
};

// Records launches instead of starting anything: for tests and for runs that must not start
// programs.
class RecordingLauncher final : public Launcher {
public:
    struct Call {
        std::string program;
        std::string arguments;
        std::string folder;
    };
    int32_t Launch(const std::string& program, const std::string& arguments, const std::string& folder) override
    {
        m_calls.push_back(Call {program, arguments, folder});
        return 1;
    }
    const std::vector<Call>& Calls() const { return m_calls; }

private:
    std::vector<Call> m_calls;
};

}  // namespace tamber
