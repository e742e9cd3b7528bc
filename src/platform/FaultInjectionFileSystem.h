#pragma once

#include "platform/FileSystem.h"

namespace tamber {

// Wraps another file system and simulates a crash: counting every write and truncation from
// 1, the k-th and all later ones are lost (they report success but change nothing), as if the
// program had died just before the k-th. Reads and opens pass through.
class FaultInjectionFileSystem final : public FileSystem {
public:
    explicit FaultInjectionFileSystem(FileSystem& inner) : m_inner(inner) {}

    // Loses the k-th write and every later one; 0 loses none.
    void SetFaultAt(int64_t k) { m_faultAt = k; }
    // Writes and truncations attempted so far, lost ones included.
    int64_t WriteCount() const { return m_writes; }
    bool Crashed() const { return m_faultAt > 0 && m_writes >= m_faultAt; }

    std::unique_ptr<File> Open(const std::string& path, FileMode mode, FileError* error = nullptr) override;
    int32_t Stat(const std::string& path, FileStamp& stamp) override { return m_inner.Stat(path, stamp); }
    bool IsOwnProgram(const std::string& path) override { return m_inner.IsOwnProgram(path); }
    int32_t GetPermissions(const std::string& path, uint32_t& bits) override { return m_inner.GetPermissions(path, bits); }
    int32_t SetPermissions(const std::string& path, uint32_t bits) override { return m_inner.SetPermissions(path, bits); }
    std::unique_ptr<ChangeCounter> OpenChangeCounter(const FileStamp& stamp) override
    {
        return m_inner.OpenChangeCounter(stamp);
    }
    int64_t CurrentTime() override { return m_inner.CurrentTime(); }

    // Counts one write; answers whether it may reach the inner file.
    bool AdmitWrite()
    {
        ++m_writes;
        return !Crashed();
    }

private:
    FileSystem& m_inner;
    int64_t m_faultAt = 0;
    int64_t m_writes = 0;
};

}  // namespace tamber
