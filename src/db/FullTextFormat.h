#pragma once

#include <cstdint>

// Record layouts of the full-text index; docs/full-text-index-format.md describes them.
// All integers are little-endian.
namespace tamber::fulltext {

// Record names.
inline constexpr const char* kBuildRecord = "MMBuild";    // id 0: leaf keys; id 1: index words
inline constexpr const char* kLeafRecord = "MMLeaf";      // id n >= 1: one leaf of the word index
inline constexpr const char* kFieldIdRecord = "MMFldID";  // id 0: field names
inline constexpr const char* kHashRecord = "MMHash";      // id f: values of field f
inline constexpr const char* kGranuleIdRecord = "MMGrnID";  // id 0: granule names
inline constexpr const char* kTypeIdRecord = "MMTypID";   // id 0: type names
inline constexpr const char* kMediaIndexRecord = "MMIndex";  // id = media id
inline constexpr const char* kMediaFieldRecord = "MMField";  // id = media id
inline constexpr const char* kMediaNotesRecord = "MMNotes";  // id = media id

inline constexpr uint32_t kBuildKeysId = 0;
inline constexpr uint32_t kBuildWordsId = 1;
inline constexpr uint32_t kTableId = 0;  // id of "MMFldID", "MMGrnID" and "MMTypID"
inline constexpr uint32_t kFirstLeafId = 1;

// "MMBuild" 0: count, then that many NUL-terminated keys; key i (from 1) opens "MMLeaf" i.
inline constexpr int32_t kKeyCountSize = 4;
inline constexpr int32_t kMaxKeyLength = 127;

// "MMLeaf" n: the leaf's first word (NUL-terminated), then entries in ascending word order.
// Entry: length E of what follows the length field, a spare byte, the word (NUL-terminated),
// then postings filling the rest of the entry.
inline constexpr int32_t kEntryLengthSize = 4;
inline constexpr int32_t kEntrySpareSize = 1;
inline constexpr int32_t kEntryWordOffset = kEntryLengthSize + kEntrySpareSize;

// Posting inside a leaf entry: media id (4), reserved (2), granule (2), data length N (2),
// N bytes of occurrence data.
inline constexpr int32_t kPostingMediaOffset = 0;
inline constexpr int32_t kPostingReservedOffset = 4;
inline constexpr int32_t kPostingGranuleOffset = 6;
inline constexpr int32_t kPostingDataLengthOffset = 8;
inline constexpr int32_t kPostingHeaderSize = 10;
inline constexpr int32_t kMaxPostingData = 0xFFFF;

// Occurrence data: items of a zero byte and a 32-bit word position, or of a non-zero kind byte,
// a length byte m and m bytes.
inline constexpr uint8_t kPositionItem = 0;
inline constexpr int32_t kPositionItemSize = 1 + 4;
inline constexpr int32_t kOtherItemHeaderSize = 2;

// Postings block handed to callers: a 32-bit count, then per posting the word as a
// length-prefixed string followed by the posting's header and data.
inline constexpr int32_t kPostingsCountSize = 4;

// "MMFldID" 0, "MMGrnID" 0, "MMTypID" 0: runs of {length-prefixed name, 32-bit id}.
inline constexpr int32_t kNameIdSize = 4;

// "MMHash" f: a 32-bit count, then entries {media id (4), reserved (2), kind (1), value}.
inline constexpr int32_t kHashCountSize = 4;
inline constexpr int32_t kHashMediaOffset = 0;
inline constexpr int32_t kHashReservedOffset = 4;
inline constexpr int32_t kHashKindOffset = 6;
inline constexpr int32_t kHashEntryHeaderSize = 7;

// Field value kinds and their value sizes.
enum FieldKind : uint8_t {
    kFieldString = 1,  // length byte n, then n characters
    kFieldNumber = 2,  // 32-bit integer part, 32-bit fraction in units of 1e-9
    kFieldDate = 3,    // month (1), day (1), year (2)
};
inline constexpr int32_t kStringLengthSize = 1;
inline constexpr int32_t kMaxFieldString = 255;
inline constexpr int32_t kNumberValueSize = 8;
inline constexpr int32_t kNumberFractionOffset = 4;
inline constexpr int64_t kNumberFractionUnit = 1000000000;
inline constexpr int32_t kDateValueSize = 4;
inline constexpr int32_t kDateDayOffset = 1;
inline constexpr int32_t kDateYearOffset = 2;

// Fields, granules and types this system's builder writes.
inline constexpr uint32_t kTitleFieldId = 1;  // the media name, a string
inline constexpr uint32_t kTypeFieldId = 2;   // the type name, a string
inline constexpr uint32_t kFirstProjectFieldId = 3;
inline constexpr uint16_t kTitleGranule = 1;  // the words of the media name
inline constexpr uint16_t kBodyGranule = 2;   // the words of the text
// Title words are numbered from here so that they never fall near body words in proximity tests.
inline constexpr uint32_t kTitlePositionBase = 0x40000000;

// "MMIndex" m: distinct words (4), word occurrences (4), type id (4); one zero byte when the
// medium has no words. "MMField" m: a 32-bit count and the medium's field entries as in "MMHash"
// but with the field id (4) in place of the media id. "MMNotes" m: one zero byte.
inline constexpr int32_t kMediaIndexSize = 12;

}  // namespace tamber::fulltext
