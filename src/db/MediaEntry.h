#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber {

// One internal part of a medium: a 4-character tag and the id of its "MMData" record.
struct MediaPart {
    std::string tag;
    uint32_t recordId = 0;
};

// One external reference: a 4-character tag ("File") and a Windows path.
struct ExternalRef {
    std::string tag;
    std::string path;
};

// What lookups hand out about a medium.
struct EntryInfo {
    uint32_t id = 0;
    std::string name;  // at most 127 characters
    std::string type;  // at most 127 characters
};

// One medium of the catalogue, decoded. The three trailing fields are optional in the stored
// form: an entry that ends before them reads encoding 0, stored size -1 and cache flag 0.
class MediaEntry {
public:
    uint32_t id = 0;
    std::string name;
    std::string type;
    std::vector<MediaPart> parts;
    std::vector<ExternalRef> externals;
    int32_t encoding = 0;
    int32_t storedSize = -1;
    int32_t cacheFlag = 0;

    // Decodes the entry at position of a catalogue block. Answers 1, or 0 when the entry's
    // length runs past the block or its fields run past its length.
    static int32_t Parse(const MemoryBlock& catalog, int32_t position, MediaEntry& out);

    // The stored length of the entry at position, or 0 when it is implausible (shorter than the
    // smallest entry or running past the block). A catalogue walk stops there.
    static int32_t StoredLength(const MemoryBlock& catalog, int32_t position);

    // Appends the entry in the current layout, with all three optional fields.
    int32_t AppendTo(MemoryBlock& catalog) const;
    int32_t EncodedSize() const;

    EntryInfo Info() const;
    // The first part with the tag (compared exactly, as stored), or -1.
    int32_t FindPart(const std::string& tag) const;
};

}  // namespace tamber
