#include "platform/PosixFileSystem.h"

#include <atomic>
#include <cerrno>
#include <string>
#include <ctime>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamber {

namespace {

int64_t Nanoseconds(const struct timespec& t)
{
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void FillStamp(const struct stat& st, FileStamp& stamp)
{
    stamp.modifiedNs = Nanoseconds(st.st_mtim);
    stamp.changedNs = Nanoseconds(st.st_ctim);
    stamp.length = st.st_size;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
}

FileError ErrorFromErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return FileError::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return FileError::AccessDenied;
    default:
        return FileError::Other;
    }
}

class PosixFile final : public File {
public:
    PosixFile(int fd, bool readOnly) : m_fd(fd), m_readOnly(readOnly) {}
    ~PosixFile() override { ::close(m_fd); }

    int64_t Read(int64_t offset, void* dest, int64_t n) override
    {
        if (offset < 0 || n < 0)
            return -1;
        int64_t done = 0;
        while (done < n) {
            ssize_t got = ::pread(m_fd, static_cast<char*>(dest) + done, static_cast<size_t>(n - done), offset + done);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return -1;
            }
            if (got == 0)
                break;
            done += got;
        }
        return done;
    }

    int64_t Write(int64_t offset, const void* bytes, int64_t n) override
    {
        if (m_readOnly || offset < 0 || n < 0)
            return -1;
        int64_t done = 0;
        while (done < n) {
            ssize_t put = ::pwrite(m_fd, static_cast<const char*>(bytes) + done, static_cast<size_t>(n - done), offset + done);
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return -1;
            }
            done += put;
        }
        return n;
    }

    int32_t Truncate(int64_t length) override
    {
        if (m_readOnly || length < 0)
            return 0;
        return ::ftruncate(m_fd, length) == 0 ? 1 : 0;
    }

    int64_t Length() override
    {
        struct stat st {};
        return ::fstat(m_fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
    }

    int32_t Stamp(FileStamp& stamp) override
    {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            return 0;
        FillStamp(st, stamp);
        return 1;
    }

    int32_t SetModifiedTime(int64_t modifiedNs) override
    {
        if (m_readOnly)
            return 0;
        struct timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(modifiedNs / 1000000000);
        times[1].tv_nsec = static_cast<long>(modifiedNs % 1000000000);
        return ::futimens(m_fd, times) == 0 ? 1 : 0;
    }

    bool IsReadOnly() const override { return m_readOnly; }

private:
    int m_fd;
    bool m_readOnly;
};

// Change counters live in one shared-memory table that every process maps, one slot per file
// chosen by its device and inode. Two files that share a slot only cost each other an extra
// look at the stamp now and then; the table never grows.
constexpr size_t kCounterSlots = 4096;
constexpr const char* kCounterTableName = "/tamber-change-counters";

uint64_t* CounterTable()
{
    static uint64_t* table = [] () -> uint64_t* {
        const size_t bytes = kCounterSlots * sizeof(uint64_t);
        int fd = ::shm_open(kCounterTableName, O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0)
            return nullptr;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || (st.st_size < static_cast<off_t>(bytes) && ::ftruncate(fd, bytes) != 0)) {
            ::close(fd);
            return nullptr;
        }
        if (st.st_size == 0)
            ::fchmod(fd, 0666);  // shared by every user's processes, whatever the umask
        void* map = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ::close(fd);
        return map == MAP_FAILED ? nullptr : static_cast<uint64_t*>(map);
    }();
    return table;
}

class SharedChangeCounter final : public ChangeCounter {
public:
    explicit SharedChangeCounter(uint64_t* word) : m_word(word) {}

    uint64_t Value() const override { return std::atomic_ref<uint64_t>(*m_word).load(std::memory_order_acquire); }
    uint64_t Bump() override { return std::atomic_ref<uint64_t>(*m_word).fetch_add(1, std::memory_order_acq_rel); }

private:
    uint64_t* m_word;
};

}  // namespace

std::unique_ptr<ChangeCounter> PosixFileSystem::OpenChangeCounter(const FileStamp& stamp)
{
    uint64_t* table = CounterTable();
    if (!table)
        return nullptr;
    uint64_t h = (stamp.inode * 0x9E3779B97F4A7C15ull) ^ (stamp.device * 0xC2B2AE3D27D4EB4Full);
    return std::make_unique<SharedChangeCounter>(table + (h >> 32) % kCounterSlots);
}

std::unique_ptr<File> PosixFileSystem::Open(const std::string& path, FileMode mode, FileError* error)
{
    int flags = O_CLOEXEC;
    switch (mode) {
    case FileMode::ReadWrite:
        flags |= O_RDWR;
        break;
    case FileMode::ReadOnly:
        flags |= O_RDONLY;
        break;
    case FileMode::Create:
        flags |= O_RDWR | O_CREAT;
        break;
    }
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        if (error)
            *error = ErrorFromErrno(errno);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (error)
            *error = FileError::Other;
        return nullptr;
    }
    if (error)
        *error = FileError::None;
    return std::make_unique<PosixFile>(fd, mode == FileMode::ReadOnly);
}

int32_t PosixFileSystem::Stat(const std::string& path, FileStamp& stamp)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    FillStamp(st, stamp);
    return 1;
}

bool PosixFileSystem::IsOwnProgram(const std::string& path)
{
    struct stat mine {};
    struct stat other {};
    if (::stat("/proc/self/exe", &mine) != 0 || ::stat(path.c_str(), &other) != 0)
        return false;
    return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

int32_t PosixFileSystem::GetPermissions(const std::string& path, uint32_t& bits)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    bits = st.st_mode & 0777;
    return 1;
}

int32_t PosixFileSystem::SetPermissions(const std::string& path, uint32_t bits)
{
    return ::chmod(path.c_str(), bits & 0777) == 0 ? 1 : 0;
}

int64_t PosixFileSystem::CurrentTime()
{
    return static_cast<int64_t>(std::time(nullptr));
}

FileSystem& FileSystem::Native()
{
    static PosixFileSystem native;
    return native;
}

}  // namespace tamber
