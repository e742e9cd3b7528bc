#include "platform/DynamicLibraryPosix.h"

#include <dlfcn.h>
#include <link.h>

namespace tamber {

namespace {

class PosixDynamicLibrary final : public DynamicLibrary {
public:
    explicit PosixDynamicLibrary(void* handle) : m_handle(handle)
    {
        if (dlinfo(m_handle, RTLD_DI_LINKMAP, &m_map) != 0)
            m_map = nullptr;
    }
    ~PosixDynamicLibrary() override { dlclose(m_handle); }
    PosixDynamicLibrary(const PosixDynamicLibrary&) = delete;
    PosixDynamicLibrary& operator=(const PosixDynamicLibrary&) = delete;

    void* Symbol(const std::string& name) const override { return Own(name, nullptr); }

    size_t SymbolSize(const std::string& name) const override
    {
        size_t size = 0;
        return Own(name, &size) ? size : 0;
    }

private:
    // dlsym also searches the library's dependencies; keep only the library's own definitions.
    void* Own(const std::string& name, size_t* size) const
    {
        if (!m_map)
            return nullptr;
        void* address = dlsym(m_handle, name.c_str());
        if (!address)
            return nullptr;
        Dl_info info;
        link_map* owner = nullptr;
        if (dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 || owner != m_map)
            return nullptr;
        if (size) {
            ElfW(Sym)* symbol = nullptr;
            if (dladdr1(address, &info, reinterpret_cast<void**>(&symbol), RTLD_DL_SYMENT) != 0 && symbol)
                *size = symbol->st_size;
        }
        return address;
    }


private:
    void* m_handle;
    link_map* m_map = nullptr;
};

}  // namespace

std::unique_ptr<DynamicLibrary> PosixDynamicLibraryLoader::Load(const std::string& path, std::string* error)
{
    // A path without a slash would be searched for on the library path instead.
    std::string target = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* reason = dlerror();
            *error = reason ? reason : "cannot load " + path;
        }
        return nullptr;
    }
    return std::make_unique<PosixDynamicLibrary>(handle);
}

}  // namespace tamber
