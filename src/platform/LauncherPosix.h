#pragma once

#include <string>
#include <vector>

#include "platform/Launcher.h"
#include "platform/PathResolver.h"

namespace tamber {

// Launches with posix_spawn in the given folder. A program that resolves to an executable file
// (Windows paths are resolved without regard to case; "NOTES.EXE" also finds "notes") or that
// is found on PATH runs directly with the arguments; anything else is handed to the opener
// ("xdg-open" unless set otherwise) with the resolved path or the text as it stands.
// Finished children are collected at the next launch and when the launcher goes.
class PosixLauncher final : public Launcher {
public:
    explicit PosixLauncher(const SystemServices& system, std::string opener = "xdg-open");
    ~PosixLauncher() override;

    int32_t Launch(const std::string& program, const std::string& arguments, const std::string& folder) override;

    // What would run: the program file (or the opener) and its argument list, without starting it.
    std::vector<std::string> CommandLine(const std::string& program, const std::string& arguments,
        const std::string& folder) const;

private:
    void Reap();

    const SystemServices& m_system;
    PathResolver m_resolver;
    std::string m_opener;
    std::vector<int> m_children;  // process ids
};

}  // namespace tamber
