#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"

namespace tamber {

// Libraries made of tables of addresses, for tests: AddLibrary registers what a path exports
// (with the sizes of data objects where they matter).
// Loading an unregistered path fails. Counts what is loaded and unloaded.
class FakeDynamicLibraryLoader final : public DynamicLibraryLoader {
public:
    using Exports = std::map<std::string, void*>;

    void AddLibrary(const std::string& path, Exports exports, std::map<std::string, size_t> sizes = {})
    {
        m_libraries[path] = Library {std::move(exports), std::move(sizes)};
    }
    std::unique_ptr<DynamicLibrary> Load(const std::string& path, std::string* error = nullptr) override;

    const std::vector<std::string>& Loaded() const { return m_loaded; }
    int32_t Open() const { return m_open; }

private:
    friend class FakeDynamicLibrary;
    struct Library {
        Exports exports;
        std::map<std::string, size_t> sizes;
    };
    std::map<std::string, Library> m_libraries;
    std::vector<std::string> m_loaded;
    int32_t m_open = 0;
};

}  // namespace tamber
