#pragma once

#include <map>
#include <vector>

#include "platform/FileSystem.h"

namespace tamber {

// Files held in memory, for tests and fuzzing. Every File opened on a path shares the path's
// bytes, as processes share a file on disk. Each change stamps the file with the file system's
// clock, which advances by a configurable step per change; a step of 0 freezes it, standing for
// a file system whose timestamps are too coarse to tell two writes apart.
class MemoryFileSystem final : public FileSystem {
public:
    MemoryFileSystem();

    std::unique_ptr<File> Open(const std::string& path, FileMode mode, FileError* error = nullptr) override;
    int32_t Stat(const std::string& path, FileStamp& stamp) override;
    bool IsOwnProgram(const std::string& path) override { return !m_ownProgram.empty() && path == m_ownProgram; }
    int32_t GetPermissions(const std::string& path, uint32_t& bits) override;
    int32_t SetPermissions(const std::string& path, uint32_t bits) override;
    // Change counters are off unless turned on, so stamps alone tell changes apart.
    std::unique_ptr<ChangeCounter> OpenChangeCounter(const FileStamp& stamp) override;
    int64_t CurrentTime() override { return m_currentTime; }
    void SetChangeCounters(bool on) { m_changeCounters = on; }
    // How often Stat was called, for tests of how often a caller looks.
    int64_t StatCalls() const { return m_statCalls; }

    // Creates or replaces a file.
    void SetContents(const std::string& path, std::vector<uint8_t> bytes);
    // The file's bytes; empty when there is no such file.
    std::vector<uint8_t> Contents(const std::string& path) const;
    bool Exists(const std::string& path) const { return m_nodes.count(path) != 0; }
    void Remove(const std::string& path) { m_nodes.erase(path); }
    // A file without write permission opens read-only only (ReadWrite is refused).
    void SetWritable(const std::string& path, bool writable);

    void SetOwnProgram(const std::string& path) { m_ownProgram = path; }
    void SetCurrentTime(int64_t seconds) { m_currentTime = seconds; }
    void SetClockStep(int64_t stepNs) { m_clockStepNs = stepNs; }

    struct Node {
        std::vector<uint8_t> bytes;
        FileStamp stamp;
        uint32_t permissions = 0644;
    };
    // Stamps a node as changed now.
    void Touch(Node& node);

private:
    std::map<std::string, std::shared_ptr<Node>> m_nodes;
    std::string m_ownProgram;
    int64_t m_currentTime;
    int64_t m_clockNs;
    int64_t m_clockStepNs = 1000;
    uint64_t m_nextInode = 1;
    bool m_changeCounters = false;
    int64_t m_statCalls = 0;
    std::map<uint64_t, std::shared_ptr<uint64_t>> m_counters;  // by inode
};

}  // namespace tamber
