#include "platform/LauncherPosix.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "base/AsciiCase.h"

extern char** environ;

namespace tamber {

namespace {

// Windows program extensions: "NOTES.EXE" may be the native program "notes".
constexpr const char* kProgramExtensions[] = {".exe", ".com", ".bat"};

bool IsExecutableFile(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool IsBareName(const std::string& program)
{
    return !program.empty() && program.find_first_of("/\\:") == std::string::npos;
}

// The executable of that name in a folder of PATH, or empty.
std::string FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::string folder = folders.substr(start, end - start);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

}  // namespace

PosixLauncher::PosixLauncher(const SystemServices& system, std::string opener)
    : m_system(system), m_resolver(system), m_opener(std::move(opener))
{
}

PosixLauncher::~PosixLauncher()
{
    Reap();
}

void PosixLauncher::Reap()
{
    std::vector<int> running;
    for (int child : m_children) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == 0)
            running.push_back(child);
    }
    m_children = std::move(running);
}

std::vector<std::string> PosixLauncher::CommandLine(const std::string& program, const std::string& arguments,
    const std::string& folder) const
{
    std::string resolved = program.empty() ? std::string() : m_resolver.Resolve(program, folder);
    if (resolved.empty() || !IsExecutableFile(resolved)) {
        for (const char* extension : kProgramExtensions) {
            std::string_view ext(extension);
            if (program.size() > ext.size() && EqualFolded(std::string_view(program).substr(program.size() - ext.size()), ext)) {
                std::string native = m_resolver.Resolve(program.substr(0, program.size() - ext.size()), folder);
                if (IsExecutableFile(native))
                    resolved = native;
            }
        }
    }
    if (resolved.empty() && IsBareName(program))
        resolved = FindOnPath(program);

    std::vector<std::string> line;
    if (IsExecutableFile(resolved)) {
        line.push_back(resolved);
        for (std::string& argument : SplitArguments(arguments))
            line.push_back(std::move(argument));
    } else {
        line.push_back(m_opener);
        line.push_back(resolved.empty() ? program : resolved);
    }
    return line;
}

int32_t PosixLauncher::Launch(const std::string& program, const std::string& arguments, const std::string& folder)
{
    Reap();
    if (program.empty())
        return 0;
    std::vector<std::string> line = CommandLine(program, arguments, folder);
    std::vector<char*> argv;
    for (std::string& word : line)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty() && m_system.IsDirectory(folder))
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t child = 0;
    int error = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return 0;
    m_children.push_back(child);
    return 1;
}

}  // namespace tamber
