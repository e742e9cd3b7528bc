#pragma once

#include <cstdint>

#include "base/MemoryBlock.h"

namespace tamber {

// Record payload encodings. The record header keeps the method requested; an encoded payload
// starts with a 12-byte "CP" header naming the method applied.
enum PayloadMethod : int32_t {
    kMethodNone = 0,    // stored as given, no header
    kMethodStored = 1,  // "CP" header, then the bytes unchanged
    kMethodLzw = 2,     // "CP" header, then a 12-bit LZW code stream
};

// The "CP" header, little-endian: "CP", method applied (16 bits), decoded length (32 bits),
// length of the code stream that follows (32 bits; 0 for the stored method).
constexpr int32_t kPayloadHeaderSize = 12;
// Payloads shorter than this are never LZW-coded; they are stored behind a header instead.
constexpr int32_t kLzwMinimumLength = 1024;

// Encodes the block in place. Method 0 leaves the block alone. Method 1, and any method on a
// block shorter than kLzwMinimumLength, prepends a header naming method 1. Method 2 on a longer
// block LZW-codes it. Answers 1 when the block now holds the encoded payload (or method 0 left
// it alone), 0 when the encoder declined (the data does not shrink, the method is unknown or
// memory ran out) and the block is unchanged.
int32_t EncodePayload(MemoryBlock& block, int32_t method);

// Decodes a "CP" payload in place. Answers 1 on success; 0 with the block unchanged when the
// header is not recognised or the payload is damaged: a length field that disagrees with the
// bytes present or produced, a code stream that ends early, or a code not yet defined.
int32_t DecodePayload(MemoryBlock& block);

}  // namespace tamber
