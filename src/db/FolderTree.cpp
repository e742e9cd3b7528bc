#include "db/FolderTree.h"

#include <algorithm>

#include "db/MediaCatalogFormat.h"

namespace tamber {

using namespace catalog;

namespace {

// Reads a 32-bit count and checks that count items of itemSize bytes fit in what is left.
bool ReadCount(const MemoryBlock& block, int32_t& pos, int32_t itemSize, int32_t& count)
{
    if (block.Size() - pos < kCountSize)
        return false;
    count = block.ReadInt(pos, 4);
    pos += kCountSize;
    return count >= 0 && int64_t { count } * itemSize <= int64_t { block.Size() } - pos;
}

}  // namespace

int32_t FolderTree::Parse(const MemoryBlock& block)
{
    m_folders.clear();
    int32_t pos = 0;
    while (pos < block.Size()) {
        Folder folder;
        if (block.Size() - pos < kFolderIdSize)
            return 0;
        folder.id = block.ReadInt(pos, 4);
        pos += kFolderIdSize;
        const uint8_t* begin = block.Data(pos);
        const uint8_t* end = block.Data() + block.Size();
        const uint8_t* nul = std::find(begin, end, uint8_t { 0 });
        if (pos >= block.Size() || nul == end)
            return 0;
        folder.name.assign(reinterpret_cast<const char*>(begin), static_cast<size_t>(nul - begin));
        pos += static_cast<int32_t>(nul - begin) + 1;
        int32_t count = 0;
        if (!ReadCount(block, pos, 4, count))
            return 0;
        for (int32_t i = 0; i < count; ++i, pos += 4)
            folder.subfolders.push_back(block.ReadInt(pos, 4));
        if (!ReadCount(block, pos, 4, count))
            return 0;
        for (int32_t i = 0; i < count; ++i, pos += 4)
            folder.media.push_back(static_cast<uint32_t>(block.ReadInt(pos, 4)));
        m_folders.push_back(std::move(folder));
    }
    return 1;
}

MemoryBlock FolderTree::Serialize() const
{
    MemoryBlock block(0);
    for (const auto& f : m_folders) {
        block.AppendInt(f.id, 4);
        block.AppendString(f.name, Nul::Include);
        block.AppendInt(static_cast<int32_t>(f.subfolders.size()), 4);
        for (int32_t id : f.subfolders)
            block.AppendInt(id, 4);
        block.AppendInt(static_cast<int32_t>(f.media.size()), 4);
        for (uint32_t id : f.media)
            block.AppendInt(static_cast<int32_t>(id), 4);
    }
    return block;
}

FolderTree FolderTree::Fresh()
{
    FolderTree tree;
    tree.m_folders.push_back(Folder { kRootFolderId, kRootFolderName, {}, {} });
    return tree;
}

const Folder* FolderTree::Find(int32_t id) const
{
    for (const auto& f : m_folders)
        if (f.id == id)
            return &f;
    return nullptr;
}

Folder* FolderTree::FindMutable(int32_t id)
{
    return const_cast<Folder*>(Find(id));
}

int32_t FolderTree::Parent(int32_t id) const
{
    for (const auto& f : m_folders)
        if (std::find(f.subfolders.begin(), f.subfolders.end(), id) != f.subfolders.end())
            return f.id;
    return -1;
}

std::vector<int32_t> FolderTree::FoldersOf(uint32_t mediaId) const
{
    std::vector<int32_t> holders;
    for (const auto& f : m_folders)
        if (std::find(f.media.begin(), f.media.end(), mediaId) != f.media.end())
            holders.push_back(f.id);
    return holders;
}

int32_t FolderTree::AddFolder(int32_t parent, const std::string& name)
{
    Folder* p = FindMutable(parent);
    if (!p || name.empty())
        return -1;
    int32_t id = 0;
    for (const auto& f : m_folders)
        id = std::max(id, f.id);
    if (id == INT32_MAX)
        return -1;
    ++id;
    p->subfolders.push_back(id);  // p stays valid: the vector grows only below
    m_folders.push_back(Folder { id, name, {}, {} });
    return id;
}

int32_t FolderTree::RenameFolder(int32_t id, const std::string& name)
{
    Folder* f = FindMutable(id);
    if (!f || name.empty())
        return 0;
    f->name = name;
    return 1;
}

int32_t FolderTree::RemoveFolder(int32_t id)
{
    if (id == kRootFolderId || !Find(id))
        return 0;
    // Collect the subtree first; a damaged tree may hold cycles, so visit each id once.
    std::vector<int32_t> doomed { id };
    for (size_t i = 0; i < doomed.size(); ++i)
        if (const Folder* f = Find(doomed[i]))
            for (int32_t child : f->subfolders)
                if (child != kRootFolderId && std::find(doomed.begin(), doomed.end(), child) == doomed.end())
                    doomed.push_back(child);
    auto isDoomed = [&](int32_t x) { return std::find(doomed.begin(), doomed.end(), x) != doomed.end(); };
    std::erase_if(m_folders, [&](const Folder& f) { return isDoomed(f.id); });
    for (auto& f : m_folders)
        std::erase_if(f.subfolders, isDoomed);
    return 1;
}

int32_t FolderTree::FileMedia(int32_t folder, uint32_t mediaId)
{
    Folder* f = FindMutable(folder);
    if (!f || std::find(f->media.begin(), f->media.end(), mediaId) != f->media.end())
        return 0;
    f->media.push_back(mediaId);
    return 1;
}

int32_t FolderTree::UnfileMedia(int32_t folder, uint32_t mediaId)
{
    Folder* f = FindMutable(folder);
    return f && std::erase(f->media, mediaId) > 0 ? 1 : 0;
}

int32_t FolderTree::UnfileEverywhere(uint32_t mediaId)
{
    int32_t n = 0;
    for (auto& f : m_folders)
        n += std::erase(f.media, mediaId) > 0 ? 1 : 0;
    return n;
}

}  // namespace tamber
