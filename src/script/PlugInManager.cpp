#include "script/PlugInManager.h"

#include <array>
#include <cstring>

#include "base/AsciiCase.h"
#include "platform/DynamicLibrary.h"
#include "platform/SystemServices.h"

namespace tamber {

namespace {

bool HasExtension(std::string_view name, std::string_view extension)
{
    return name.size() > extension.size() && EqualFolded(name.substr(name.size() - extension.size()), extension);
}

// The text a plug-in wrote into a buffer, which it may have left without a NUL.
std::string BufferText(const std::array<char, PlugInManager::kBufferSize>& buffer)
{
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

}  // namespace

PlugInManager::PlugInManager(SystemServices& system, DynamicLibraryLoader& loader, std::string directory)
    : m_system(system), m_loader(loader), m_directory(std::move(directory))
{
}

PlugInManager::~PlugInManager() = default;

int32_t PlugInManager::Load(std::string_view requiredName)
{
    for (const std::string& name : m_system.ListDirectory(m_directory)) {
        if (!HasExtension(name, kExtension))
            continue;
        std::string path = m_directory.empty() ? name : m_directory + "/" + name;
        if (!m_system.IsFile(path))
            continue;
        std::unique_ptr<DynamicLibrary> library = m_loader.Load(path);
        if (!library)
            continue;
        auto entry = reinterpret_cast<EntryFunction>(library->Symbol(kEntrySymbol));
        if (!entry)
            continue;
        std::array<char, kBufferSize> first {};
        std::array<char, kBufferSize> second {};
        entry(first.data(), second.data());
        if (EqualFolded(BufferText(second), requiredName))
            m_modules.push_back(Module {path, std::move(library)});
    }
    return Count();
}

int32_t PlugInManager::FunctionNames(int32_t index, MemoryBlock& block) const
{
    if (index < -1 || index >= Count())
        return 0;
    int32_t count = 0;
    for (int32_t i = index < 0 ? 0 : index; i < (index < 0 ? Count() : index + 1); ++i) {
        const DynamicLibrary& library = *m_modules[static_cast<size_t>(i)].library;
        const auto* names = static_cast<const char*>(library.Symbol(kNamesSymbol));
        if (!names)
            continue;
        // The table ends with an empty name or with the object the library declares.
        size_t size = library.SymbolSize(kNamesSymbol);
        size_t limit = size > 0 && size < kMaxNamesSize ? size : kMaxNamesSize;
        size_t at = 0;
        while (at < limit) {
            size_t length = strnlen(names + at, limit - at);
            if (length == 0)
                break;
            block.AppendString(std::string_view(names + at, length), Nul::Include);
            ++count;
            at += length + 1;
        }
    }
    return count;
}

PlugInManager::Function PlugInManager::Find(const Module& module, std::string_view name) const
{
    // The entry and the name table are not functions of the three-argument kind.
    if (name.empty() || name == kEntrySymbol || name == kNamesSymbol)
        return nullptr;
    return reinterpret_cast<Function>(module.library->Symbol(std::string(name)));
}

int PlugInManager::Call(int32_t index, std::string_view name, const std::string& first, const std::string& second,
    std::string& result) const
{
    if (index < -1 || index >= Count())
        return 0;
    for (int32_t i = index < 0 ? 0 : index; i < (index < 0 ? Count() : index + 1); ++i) {
        Function function = Find(m_modules[static_cast<size_t>(i)], name);
        if (!function)
            continue;
        std::array<char, kBufferSize> buffer {};
        function(first.c_str(), second.c_str(), buffer.data());
        result = BufferText(buffer);
        return 1;
    }
    return 0;
}

}  // namespace tamber
