#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber {

class DynamicLibrary;
class DynamicLibraryLoader;
class SystemServices;

// The plug-in libraries of the player: shared libraries named "*.plg" in the player's own
// folder that declare themselves as belonging to this system. docs/plugins.md is the contract:
//   void PlugIn(char first[256], char second[256]);   writes the system name into second
//   const char PlugInNames[];                         optional: names, each NUL-ended, then ""
//   void Function(const char* a, const char* b, char result[256]);   one per offered function
class PlugInManager {
public:
    static constexpr std::string_view kRequiredName = "ZD";
    static constexpr std::string_view kExtension = ".plg";
    static constexpr const char* kEntrySymbol = "PlugIn";
    static constexpr const char* kNamesSymbol = "PlugInNames";
    static constexpr size_t kBufferSize = 256;
    // A name table is read at most this far, in case a plug-in forgets the closing empty name.
    static constexpr size_t kMaxNamesSize = 64 * 1024;

    using EntryFunction = void (*)(char* first, char* second);
    using Function = void (*)(const char* first, const char* second, char* result);

    PlugInManager(SystemServices& system, DynamicLibraryLoader& loader, std::string directory);
    ~PlugInManager();
    PlugInManager(const PlugInManager&) = delete;
    PlugInManager& operator=(const PlugInManager&) = delete;

    // Loads every "*.plg" file of the directory (in name order) and keeps those whose "PlugIn"
    // reports requiredName (ASCII case ignored); the rest are unloaded silently. Answers the
    // number kept.
    int32_t Load(std::string_view requiredName = kRequiredName);
    int32_t Count() const { return static_cast<int32_t>(m_modules.size()); }
    const std::string& Path(int32_t index) const { return m_modules[static_cast<size_t>(index)].path; }

    // Appends the offered names of plug-in index (every plug-in for -1) to block, each with its
    // NUL; answers how many (0 for an index out of range).
    int32_t FunctionNames(int32_t index, MemoryBlock& block) const;
    // Calls the function name of plug-in index, or of the first plug-in that exports it for -1.
    // Answers 1 when one was called (result holds its text), 0 when none exports the name.
    int Call(int32_t index, std::string_view name, const std::string& first, const std::string& second,
        std::string& result) const;

private:
    struct Module {
        std::string path;
        std::unique_ptr<DynamicLibrary> library;
    };

    Function Find(const Module& module, std::string_view name) const;

    SystemServices& m_system;
    DynamicLibraryLoader& m_loader;
    std::string m_directory;
    std::vector<Module> m_modules;
};

}  // namespace tamber
