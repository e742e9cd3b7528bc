#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"
#include "db/JumpTable.h"
#include "db/MediaEntry.h"

namespace tamber {

class MediaDatabase;

// One internal part of a new medium: its tag and its decoded bytes.
struct NewPart {
    std::string tag;
    MemoryBlock bytes;
};

// What a new medium is made of.
struct NewMedium {
    uint32_t id = 0;  // 0: the next free id
    std::string name;
    std::string type;
    std::vector<NewPart> parts;       // stored as "MMData" records with the encoding below
    std::vector<std::string> files;   // external "File" references (Windows or relative paths)
    int32_t encoding = 0;             // payload encoding of the parts (0 = stored as given)
    int32_t cacheFlag = 0;            // see catalog::CacheFlag
    int32_t folder = 0;               // the folder to file it in; -1 for none
};

// Authoring of the catalogue: creates and deletes media, replaces parts, sets jump tables, and
// edits folders, always writing the current layout. Between Begin and Commit the catalogue and
// folder tree are stored once, at Commit, and all records are written in one batch; without
// Begin each call stores at once. Refused (0) on a database that is read-only or on a CD-ROM.
class MediaCatalogWriter {
public:
    explicit MediaCatalogWriter(MediaDatabase& database) : m_db(database) { }
    ~MediaCatalogWriter();
    MediaCatalogWriter(const MediaCatalogWriter&) = delete;
    MediaCatalogWriter& operator=(const MediaCatalogWriter&) = delete;

    void Begin();
    int32_t Commit();

    // Answers 1 and the new medium's id in *id; 0 when the id is taken, the folder does not
    // exist or a record could not be written (nothing of the medium stays then).
    int32_t CreateMedium(const NewMedium& medium, uint32_t* id = nullptr);
    // Deletes the medium's entry, its parts (unless another medium shares them), its jump table
    // and its places in folders.
    int32_t DeleteMedium(uint32_t id);
    // Replaces the bytes of one part, keeping its record id and the medium's encoding.
    int32_t ReplacePart(uint32_t id, int32_t partIndex, const MemoryBlock& bytes);
    // Appends a part to an existing medium.
    int32_t AddPart(uint32_t id, const NewPart& part);
    int32_t SetCacheFlag(uint32_t id, int32_t cacheFlag);
    // Stores the medium's jump table; an empty table removes the record.
    int32_t SetJumpTable(uint32_t id, const JumpTable& table);

private:
    bool CanEdit() const;
    int32_t WritePart(const MemoryBlock& bytes, int32_t encoding, uint32_t& recordId);
    int32_t UpdateStoredSize(MediaEntry& entry);

    MediaDatabase& m_db;
    int32_t m_open = 0;
};

}  // namespace tamber
