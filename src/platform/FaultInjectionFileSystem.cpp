#include "platform/FaultInjectionFileSystem.h"

namespace tamber {

namespace {

class FaultInjectionFile final : public File {
public:
    FaultInjectionFile(FaultInjectionFileSystem& fs, std::unique_ptr<File> inner)
        : m_fs(fs), m_inner(std::move(inner))
    {
    }

    int64_t Read(int64_t offset, void* dest, int64_t n) override { return m_inner->Read(offset, dest, n); }

    int64_t Write(int64_t offset, const void* bytes, int64_t n) override
    {
        if (!m_fs.AdmitWrite())
            return n;
        return m_inner->Write(offset, bytes, n);
    }

    int32_t Truncate(int64_t length) override
    {
        if (!m_fs.AdmitWrite())
            return 1;
        return m_inner->Truncate(length);
    }

    int64_t Length() override { return m_inner->Length(); }
    int32_t Stamp(FileStamp& stamp) override { return m_inner->Stamp(stamp); }

    int32_t SetModifiedTime(int64_t modifiedNs) override
    {
        // A dead program changes nothing, not even timestamps.
        return m_fs.Crashed() ? 1 : m_inner->SetModifiedTime(modifiedNs);
    }

    bool IsReadOnly() const override { return m_inner->IsReadOnly(); }

private:
    FaultInjectionFileSystem& m_fs;
    std::unique_ptr<File> m_inner;
};

}  // namespace

std::unique_ptr<File> FaultInjectionFileSystem::Open(const std::string& path, FileMode mode, FileError* error)
{
    auto inner = m_inner.Open(path, mode, error);
    if (!inner)
        return nullptr;
    return std::make_unique<FaultInjectionFile>(*this, std::move(inner));
}

}  // namespace tamber
