#pragma once

#include <cstdint>

// The record file container, as laid out on disk (docs/record-file-format.md). All integers
// are little-endian; offsets are relative to the container's start (the base offset, 0 unless
// the container sits at the end of a player file).
namespace tamber::recordfile {

// File header: 256 bytes at offset 0.
constexpr int32_t kFileHeaderSize = 256;
constexpr int32_t kMagicOffset = 0;           // "RS"
constexpr int32_t kMagicSize = 2;
constexpr char kMagic[kMagicSize + 1] = "RS";
constexpr int32_t kVersionOffset = 2;          // format version
constexpr int32_t kFormatVersion = 512;        // written; higher versions are refused
constexpr int32_t kDirectoryOffsetOffset = 6;  // where the directory starts; 0 = none valid
constexpr int32_t kNameCountOffset = 10;       // distinct names among records in use
constexpr int32_t kRecordCountOffset = 18;     // directory entries, free records included
constexpr int32_t kTextFieldOffsets[] = {26, 58, 90};  // written empty, never read
constexpr int32_t kTextFieldSize = 32;
constexpr int32_t kCreatedOffset = 122;        // seconds since 1970
constexpr int32_t kModifiedOffset = 126;       // seconds since 1970; set by every write or delete
constexpr int32_t kEndOfDataOffset = 130;      // container length after the last directory write
constexpr int32_t kPasswordOffset = 134;       // NUL-terminated, empty when none
constexpr int32_t kPasswordSize = 32;

// Records start right after the file header, back to back.
constexpr int32_t kFirstRecordOffset = kFileHeaderSize;

// Record header: 32 bytes in front of every record, copied into its directory entry.
constexpr int32_t kRecordHeaderSize = 32;
constexpr int32_t kUsedOffset = 0;         // stored payload length (signed); -1 = free record
constexpr int32_t kFreeRecord = -1;
constexpr int32_t kCapacityOffset = 4;     // bytes reserved for the payload, >= used
constexpr int32_t kNameOffset = 8;         // up to 8 ASCII letters, NUL-padded
constexpr int32_t kNameSize = 8;
constexpr int32_t kIdOffset = 16;          // unsigned
constexpr int32_t kEncodingOffset = 20;    // 16 bits: encoding requested when stored
constexpr int32_t kMaxEncoding = 10;
constexpr int32_t kTimeOffset = 22;        // seconds since 1970 when stored; 0 = unknown
constexpr int32_t kReservedOffset = 26;    // 5 bytes, all 0
constexpr int32_t kReservedSize = 5;
constexpr int32_t kLongNameFlagOffset = 31;  // 0 or 1

// With the long-name flag set, a 64-byte long-name area follows the record header.
constexpr int32_t kLongNameSize = 64;

// Directory: a length word L (= 4 + entry bytes), the entry count, the entries in increasing
// order of offset. An entry is the record header, the record's offset and its long name as a
// NUL-terminated string (a lone NUL without one).
constexpr int32_t kDirectoryLengthSize = 4;
constexpr int32_t kDirectoryCountSize = 4;
constexpr int32_t kEntryOffsetOffset = kRecordHeaderSize;  // within an entry
constexpr int32_t kEntryLongNameOffset = kRecordHeaderSize + 4;
constexpr int32_t kPlainEntrySize = kEntryLongNameOffset + 1;  // 37 bytes without a long name

// Player files carry a database behind their last 6 bytes: "JM" and the base offset.
constexpr int32_t kTrailerSize = 6;
constexpr char kTrailerMagic[3] = "JM";
constexpr int32_t kTrailerBaseOffset = 2;

// Record times a directory scan accepts start at 1 January 1993, local time.
constexpr int kEarliestRecordYear = 1993;

}  // namespace tamber::recordfile
