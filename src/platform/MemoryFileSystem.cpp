#include "platform/MemoryFileSystem.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace tamber {

namespace {

// Files never grow past this in memory; a write beyond it fails as a full disk would.
constexpr int64_t kMaxMemoryFileLength = int64_t(1) << 31;

class MemoryFile final : public File {
public:
    MemoryFile(MemoryFileSystem& fs, std::shared_ptr<MemoryFileSystem::Node> node, bool readOnly)
        : m_fs(fs), m_node(std::move(node)), m_readOnly(readOnly)
    {
    }

    int64_t Read(int64_t offset, void* dest, int64_t n) override
    {
        if (offset < 0 || n < 0)
            return -1;
        const auto& bytes = m_node->bytes;
        int64_t size = static_cast<int64_t>(bytes.size());
        if (offset >= size)
            return 0;
        int64_t count = std::min(n, size - offset);
        if (count > 0)
            std::memcpy(dest, bytes.data() + offset, static_cast<size_t>(count));
        return count;
    }

    int64_t Write(int64_t offset, const void* src, int64_t n) override
    {
        if (m_readOnly || offset < 0 || n < 0 || offset + n > kMaxMemoryFileLength)
            return -1;
        auto& bytes = m_node->bytes;
        if (static_cast<int64_t>(bytes.size()) < offset + n)
            bytes.resize(static_cast<size_t>(offset + n), 0);
        if (n > 0)
            std::memcpy(bytes.data() + offset, src, static_cast<size_t>(n));
        m_fs.Touch(*m_node);
        return n;
    }

    int32_t Truncate(int64_t length) override
    {
        if (m_readOnly || length < 0 || length > kMaxMemoryFileLength)
            return 0;
        m_node->bytes.resize(static_cast<size_t>(length), 0);
        m_fs.Touch(*m_node);
        return 1;
    }

    int64_t Length() override { return static_cast<int64_t>(m_node->bytes.size()); }

    int32_t Stamp(FileStamp& stamp) override
    {
        stamp = m_node->stamp;
        stamp.length = Length();
        return 1;
    }

    int32_t SetModifiedTime(int64_t modifiedNs) override
    {
        if (m_readOnly)
            return 0;
        m_node->stamp.modifiedNs = modifiedNs;
        return 1;
    }

    bool IsReadOnly() const override { return m_readOnly; }

private:
    MemoryFileSystem& m_fs;
    std::shared_ptr<MemoryFileSystem::Node> m_node;
    bool m_readOnly;
};

class MemoryChangeCounter final : public ChangeCounter {
public:
    explicit MemoryChangeCounter(std::shared_ptr<uint64_t> word) : m_word(std::move(word)) {}
    uint64_t Value() const override { return *m_word; }
    uint64_t Bump() override { return (*m_word)++; }

private:
    std::shared_ptr<uint64_t> m_word;
};

}  // namespace

std::unique_ptr<ChangeCounter> MemoryFileSystem::OpenChangeCounter(const FileStamp& stamp)
{
    if (!m_changeCounters)
        return nullptr;
    auto& word = m_counters[stamp.inode];
    if (!word)
        word = std::make_shared<uint64_t>(0);
    return std::make_unique<MemoryChangeCounter>(word);
}

MemoryFileSystem::MemoryFileSystem()
    : m_currentTime(static_cast<int64_t>(std::time(nullptr))), m_clockNs(m_currentTime * 1000000000)
{
}

void MemoryFileSystem::Touch(Node& node)
{
    m_clockNs += m_clockStepNs;
    node.stamp.modifiedNs = m_clockNs;
    node.stamp.changedNs = m_clockNs;
}

std::unique_ptr<File> MemoryFileSystem::Open(const std::string& path, FileMode mode, FileError* error)
{
    auto it = m_nodes.find(path);
    if (it == m_nodes.end()) {
        if (mode != FileMode::Create) {
            if (error)
                *error = FileError::NotFound;
            return nullptr;
        }
        SetContents(path, {});
        it = m_nodes.find(path);
    }
    bool writable = (it->second->permissions & 0200) != 0;
    if (mode != FileMode::ReadOnly && !writable) {
        if (error)
            *error = FileError::AccessDenied;
        return nullptr;
    }
    if (error)
        *error = FileError::None;
    return std::make_unique<MemoryFile>(*this, it->second, mode == FileMode::ReadOnly);
}

int32_t MemoryFileSystem::Stat(const std::string& path, FileStamp& stamp)
{
    ++m_statCalls;
    auto it = m_nodes.find(path);
    if (it == m_nodes.end())
        return 0;
    stamp = it->second->stamp;
    stamp.length = static_cast<int64_t>(it->second->bytes.size());
    return 1;
}

int32_t MemoryFileSystem::GetPermissions(const std::string& path, uint32_t& bits)
{
    auto it = m_nodes.find(path);
    if (it == m_nodes.end())
        return 0;
    bits = it->second->permissions;
    return 1;
}

int32_t MemoryFileSystem::SetPermissions(const std::string& path, uint32_t bits)
{
    auto it = m_nodes.find(path);
    if (it == m_nodes.end())
        return 0;
    it->second->permissions = bits & 0777;
    return 1;
}

void MemoryFileSystem::SetContents(const std::string& path, std::vector<uint8_t> bytes)
{
    auto node = std::make_shared<Node>();
    node->bytes = std::move(bytes);
    node->stamp.inode = m_nextInode++;
    Touch(*node);
    m_nodes[path] = std::move(node);
}

std::vector<uint8_t> MemoryFileSystem::Contents(const std::string& path) const
{
    auto it = m_nodes.find(path);
    return it == m_nodes.end() ? std::vector<uint8_t>{} : it->second->bytes;
}

void MemoryFileSystem::SetWritable(const std::string& path, bool writable)
{
    auto it = m_nodes.find(path);
    if (it != m_nodes.end())
        it->second->permissions = writable ? (it->second->permissions | 0200) : (it->second->permissions & ~0222u);
}

}  // namespace tamber
