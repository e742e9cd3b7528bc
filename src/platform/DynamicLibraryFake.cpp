#include "platform/DynamicLibraryFake.h"

namespace tamber {

class FakeDynamicLibrary final : public DynamicLibrary {
public:
    FakeDynamicLibrary(FakeDynamicLibraryLoader& loader, const FakeDynamicLibraryLoader::Library& library)
        : m_loader(loader), m_library(library)
    {
        ++m_loader.m_open;
    }
    ~FakeDynamicLibrary() override { --m_loader.m_open; }
    FakeDynamicLibrary(const FakeDynamicLibrary&) = delete;
    FakeDynamicLibrary& operator=(const FakeDynamicLibrary&) = delete;

    void* Symbol(const std::string& name) const override
    {
        auto found = m_library.exports.find(name);
        return found == m_library.exports.end() ? nullptr : found->second;
    }

    size_t SymbolSize(const std::string& name) const override
    {
        auto found = m_library.sizes.find(name);
        return found == m_library.sizes.end() ? 0 : found->second;
    }

private:
    FakeDynamicLibraryLoader& m_loader;
    FakeDynamicLibraryLoader::Library m_library;
};

std::unique_ptr<DynamicLibrary> FakeDynamicLibraryLoader::Load(const std::string& path, std::string* error)
{
    auto found = m_libraries.find(path);
    if (found == m_libraries.end()) {
        if (error)
            *error = path + ": no such library";
        return nullptr;
    }
    m_loaded.push_back(path);
    return std::make_unique<FakeDynamicLibrary>(*this, found->second);
}

}  // namespace tamber
