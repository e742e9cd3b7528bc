#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tamber {

// How a file is opened.
enum class FileMode {
    ReadWrite,  // an existing file, for reading and writing
    ReadOnly,   // an existing file, for reading only
    Create,     // read/write; an empty file is created when none exists
};

// Why an open failed.
enum class FileError { None, NotFound, AccessDenied, Other };

// What identifies one state of a file on disk. Two stamps differ when the file was written,
// truncated or replaced in between, as far as the file system can tell: the modification
// time has nanosecond resolution, and the length and change time catch writes that a coarse
// timestamp granularity would hide.
struct FileStamp {
    int64_t modifiedNs = 0;  // modification time, nanoseconds since 1970
    int64_t changedNs = 0;   // status change time, nanoseconds since 1970
    int64_t length = 0;
    uint64_t device = 0;
    uint64_t inode = 0;

    bool operator==(const FileStamp&) const = default;
};

// An open file. Reads and writes address absolute offsets; nothing is buffered, so what one
// File writes is visible at once to every other File on the same path.
class File {
public:
    virtual ~File() = default;

    // Reads up to n bytes at offset; answers the count read (short at the end of the file),
    // -1 on error.
    virtual int64_t Read(int64_t offset, void* dest, int64_t n) = 0;
    // Writes n bytes at offset, growing the file when needed; answers n, or -1 on error.
    virtual int64_t Write(int64_t offset, const void* bytes, int64_t n) = 0;
    // Sets the length; answers 1, or 0 on error.
    virtual int32_t Truncate(int64_t length) = 0;
    // The current length, -1 on error.
    virtual int64_t Length() = 0;
    // Answers 1 and fills stamp, or 0 on error.
    virtual int32_t Stamp(FileStamp& stamp) = 0;
    // Sets the modification time; answers 1, or 0 on error.
    virtual int32_t SetModifiedTime(int64_t modifiedNs) = 0;
    virtual bool IsReadOnly() const = 0;
};

// A number shared by every process that uses one file, which each of them raises after it
// changed the file. Reading it costs no system call, so a process can tell cheaply that nobody
// changed the file since it last looked.
class ChangeCounter {
public:
    virtual ~ChangeCounter() = default;
    virtual uint64_t Value() const = 0;
    // Raises the counter; answers the value it had before.
    virtual uint64_t Bump() = 0;
};

// The files of the machine, or a stand-in for them.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens path; answers null on failure, with the reason in *error when given.
    virtual std::unique_ptr<File> Open(const std::string& path, FileMode mode, FileError* error = nullptr) = 0;
    // Answers 1 and fills stamp when path names a file, 0 otherwise.
    virtual int32_t Stat(const std::string& path, FileStamp& stamp) = 0;
    // Whether path names the running program's own file (a player carrying its database).
    virtual bool IsOwnProgram(const std::string& path) = 0;
    // Permission bits (rwx for owner, group, others); answers 1 or 0.
    virtual int32_t GetPermissions(const std::string& path, uint32_t& bits) = 0;
    virtual int32_t SetPermissions(const std::string& path, uint32_t bits) = 0;
    // The change counter of the file a stamp describes; null when the platform has none.
    virtual std::unique_ptr<ChangeCounter> OpenChangeCounter(const FileStamp& stamp) = 0;
    // Seconds since 1 January 1970, as the record headers store them.
    virtual int64_t CurrentTime() = 0;

    // The real file system of this machine.
    static FileSystem& Native();
};

}  // namespace tamber
