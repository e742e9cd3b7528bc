#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace tamber {

// A loaded shared library; destroying it unloads the library.
class DynamicLibrary {
public:
    virtual ~DynamicLibrary() = default;
    // The address of a symbol the library itself exports (not one of its dependencies), or null.
    virtual void* Symbol(const std::string& name) const = 0;
    // The size in bytes of an exported data object, or 0 when unknown.
    virtual size_t SymbolSize(const std::string& name) const = 0;
};

// Loads shared libraries: PosixDynamicLibraryLoader with dlopen, FakeDynamicLibraryLoader with
// tables of functions for tests.
class DynamicLibraryLoader {
public:
    virtual ~DynamicLibraryLoader() = default;
    // The library at path, or null with the reason in error.
    virtual std::unique_ptr<DynamicLibrary> Load(const std::string& path, std::string* error = nullptr) = 0;
};

}  // namespace tamber
