#pragma once

#include "platform/FileSystem.h"

namespace tamber {

// The machine's files through POSIX calls.
class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<File> Open(const std::string& path, FileMode mode, FileError* error = nullptr) override;
    int32_t Stat(const std::string& path, FileStamp& stamp) override;
    bool IsOwnProgram(const std::string& path) override;
    int32_t GetPermissions(const std::string& path, uint32_t& bits) override;
    int32_t SetPermissions(const std::string& path, uint32_t bits) override;
    std::unique_ptr<ChangeCounter> OpenChangeCounter(const FileStamp& stamp) override;
    int64_t CurrentTime() override;
};

}  // namespace tamber
