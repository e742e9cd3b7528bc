#pragma once

// Record layouts of the media catalogue, the folder tree, jump tables and the companion files.
// docs/media-catalogue-format.md describes the same layouts in prose. All integers little-endian.

#include <cstdint>

namespace tamber::catalog {

// Record names.
inline constexpr const char* kEntryRecord = "MMEntry";      // id 0: the catalogue
inline constexpr const char* kDataRecord = "MMData";        // media parts
inline constexpr const char* kFolderRecord = "MMFoldr";     // id 0: the folder tree
inline constexpr const char* kJumpRecord = "MMEJump";       // id = media id: jump targets
inline constexpr const char* kPermsRecord = "MMPerms";      // id 0 in the permanent companion
inline constexpr const char* kOldExternRecord = "MMEExt";   // oldest layout: external paths
inline constexpr const char* kOldInternRecord = "MMEInt";   // oldest layout: part record ids
inline constexpr uint32_t kCatalogRecordId = 0;
inline constexpr uint32_t kFolderRecordId = 0;
inline constexpr uint32_t kPermsRecordId = 0;

// Spare room given to the catalogue and the folder tree when they are stored.
inline constexpr int32_t kCatalogSlack = 2048;
inline constexpr int32_t kFolderSlack = 1024;

// Catalogue entry: length (4, the whole entry), media id (4), name (1 + n), type (1 + n),
// part count (4), parts (8 each), external count (4), external refs (5 + n each), then the
// optional encoding (1), stored size (4) and cache flag (1), present as far as length reaches.
inline constexpr int32_t kEntryLengthOffset = 0;
inline constexpr int32_t kEntryIdOffset = 4;
inline constexpr int32_t kEntryNameOffset = 8;
inline constexpr int32_t kEntryHeadSize = 8;           // length + media id
inline constexpr int32_t kCountSize = 4;               // part count, external count
inline constexpr int32_t kPartTagSize = 4;
inline constexpr int32_t kPartSize = kPartTagSize + 4;  // tag + "MMData" record id
inline constexpr int32_t kExternalTagSize = 4;
inline constexpr int32_t kExternalHeadSize = kExternalTagSize + 1;  // tag + path length byte
inline constexpr int32_t kEncodingSize = 1;
inline constexpr int32_t kStoredSizeSize = 4;
inline constexpr int32_t kCacheFlagSize = 1;
inline constexpr int32_t kOptionalFieldsSize = kEncodingSize + kStoredSizeSize + kCacheFlagSize;
// The smallest entry: head, two empty short strings, two counts.
inline constexpr int32_t kMinEntrySize = kEntryHeadSize + 1 + 1 + 2 * kCountSize;
// Short strings of the entry: a length byte and at most 255 characters, no NUL.
inline constexpr int32_t kMaxShortString = 255;
// Names and types handed out by lookups: at most 127 characters (128 with the NUL).
inline constexpr int32_t kMaxInfoString = 127;
inline constexpr int32_t kNoStoredSize = -1;
inline constexpr const char* kExternalFileTag = "File";

// Part tags.
inline constexpr const char* kTagData = "Data";
inline constexpr const char* kTagHots = "Hots";
inline constexpr const char* kTagMode = "Mode";
inline constexpr const char* kTagText = "Text";
inline constexpr const char* kTagStyl = "Styl";
inline constexpr const char* kTagRulr = "Rulr";

// What a medium's cache flag asks of the companions of a database on CD-ROM.
enum class CacheFlag : int32_t {
    None = 0,
    PermanentAtOpen = 1,
    TemporaryAtOpen = 2,
    PermanentOnRead = 3,
    TemporaryOnRead = 4,
};
inline constexpr int32_t kMaxCacheFlag = 4;

// Folder: folder id (4), NUL-terminated name, subfolder count (4), subfolder ids (4 each),
// media count (4), media ids (4 each). Folder 0 is the root.
inline constexpr int32_t kFolderIdSize = 4;
inline constexpr int32_t kRootFolderId = 0;
inline constexpr const char* kRootFolderName = "Project";

// Jump table: count (4), then per target: jump id (4), signed length L (4); when L < 0 a
// length-prefixed name follows and the data is -L bytes; then the data.
// Target data: action count (2), per action: length (2) and its bytes.
// Action: chunk count (2), per chunk: tag (4), length (2), payload.
inline constexpr int32_t kJumpCountSize = 4;
inline constexpr int32_t kJumpHeadSize = 8;  // jump id + signed length
inline constexpr int32_t kActionCountSize = 2;
inline constexpr int32_t kActionLengthSize = 2;
inline constexpr int32_t kActionChunkCountSize = 2;
inline constexpr int32_t kActionChunkHeadSize = 4 + 2;  // tag + length
inline constexpr const char* kMediaObjectChunk = "MObj";  // payload: 32-bit media id

// Companion files of a database on CD-ROM, in the "zd" folder of the data folder.
inline constexpr const char* kCompanionFolder = "zd";
inline constexpr const char* kPermanentCompanionExt = ".zdp";
inline constexpr const char* kTemporaryCompanionExt = ".zdt";

// Upgrade messages, shown as information under one caption.
inline constexpr const char* kUpgradeCaption = "MMDB";
inline constexpr const char* kUpgradeEntriesMessage = "Updating old style media entries...";
inline constexpr const char* kUpgradeInternalsMessage = "Updating old style internals and externals...";
inline constexpr const char* kUpgradeFoldersMessage = "Updating old style folders...";

}  // namespace tamber::catalog
