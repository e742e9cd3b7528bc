#pragma once

#include "platform/DynamicLibrary.h"

namespace tamber {

// Shared libraries through dlopen. Each library is loaded with its own symbols kept local, and
// Symbol() answers only what the library itself defines, so a name cannot reach into the C
// library or another dependency.
class PosixDynamicLibraryLoader final : public DynamicLibraryLoader {
public:
    std::unique_ptr<DynamicLibrary> Load(const std::string& path, std::string* error = nullptr) override;
};

}  // namespace tamber
