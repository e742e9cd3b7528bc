#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber {

struct Folder {
    int32_t id = 0;
    std::string name;
    std::vector<int32_t> subfolders;
    std::vector<uint32_t> media;
};

// The folder tree ("MMFoldr" id 0): folders back to back, folder 0 the root. Parsing stops at
// the first folder that runs past the block or whose counts exceed the bytes left, keeping the
// folders before it.
class FolderTree {
public:
    // Decodes a stored tree. Answers 1 when the whole block decoded, 0 when damage cut it short.
    int32_t Parse(const MemoryBlock& block);
    MemoryBlock Serialize() const;
    // The tree of a new database: the root "Project" with no members.
    static FolderTree Fresh();

    const std::vector<Folder>& Folders() const { return m_folders; }
    const Folder* Find(int32_t id) const;
    // The folder whose subfolder list holds id, or -1.
    int32_t Parent(int32_t id) const;
    // Folders holding the medium.
    std::vector<int32_t> FoldersOf(uint32_t mediaId) const;

    // Edits. Each answers 1 on success and 0 when refused (unknown folder, the root, a duplicate).
    // AddFolder answers the new folder's id, or -1.
    int32_t AddFolder(int32_t parent, const std::string& name);
    int32_t RenameFolder(int32_t id, const std::string& name);
    // Removes the folder and everything below it; the media filed there become unfiled.
    int32_t RemoveFolder(int32_t id);
    int32_t FileMedia(int32_t folder, uint32_t mediaId);
    int32_t UnfileMedia(int32_t folder, uint32_t mediaId);
    // Takes the medium out of every folder; answers how many held it.
    int32_t UnfileEverywhere(uint32_t mediaId);

private:
    Folder* FindMutable(int32_t id);
    std::vector<Folder> m_folders;
};

}  // namespace tamber
