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

// Encodes the block in place. Answers 1 when the block now holds the encoded payload (or
// method 0 left it alone), 0 when the encoder declined and the block is unchanged.
int32_t EncodePayload(MemoryBlock& block, int32_t method);

// Decodes a "CP" payload in place. Answers 1 on success; 0 with the block unchanged when the
// header is not recognised or the stream is damaged.
int32_t DecodePayload(MemoryBlock& block);

}  // namespace tamber
