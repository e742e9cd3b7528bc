// Decodes arbitrary bytes as a record payload, twice: as given, and as the code stream of an
// LZW payload whose header is built from the first bytes. Then encodes the input and checks
// that it decodes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "db/PayloadCodec.h"

using namespace tamber;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The decoder answers 0 with the block untouched, or 1 with exactly the declared length.
void DecodeOnce(const MemoryBlock& payload)
{
    MemoryBlock block = payload;
    const int32_t declared = payload.Size() >= kPayloadHeaderSize ? payload.ReadInt(4, 4) : -1;
    if (DecodePayload(block) == 1)
        Check(block.Size() == declared);
    else
        Check(block == payload);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    const MemoryBlock input(data, static_cast<int32_t>(size));
    DecodeOnce(input);

    if (size >= 3) {
        // Two bytes of declared length (up to 64 KB), the rest is the code stream.
        MemoryBlock lzw;
        lzw.AppendString("CP", Nul::Exclude);
        lzw.AppendInt(kMethodLzw, 2);
        lzw.AppendInt(data[0] | (data[1] << 8), 4);
        lzw.AppendInt(static_cast<int32_t>(size - 2), 4);
        lzw.Append(data + 2, static_cast<int32_t>(size - 2));
        DecodeOnce(lzw);
    }

    for (int32_t method : {int32_t(kMethodStored), int32_t(kMethodLzw)}) {
        MemoryBlock block = input;
        if (EncodePayload(block, method) != 1) {
            Check(method == kMethodLzw && block == input);
            continue;
        }
        Check(DecodePayload(block) == 1);
        Check(block == input);
    }
    // Short inputs rarely reach the LZW coder; repeat them past its threshold as well.
    if (size > 0 && size < static_cast<size_t>(kLzwMinimumLength)) {
        MemoryBlock longer;
        while (longer.Size() < kLzwMinimumLength)
            longer.Append(data, static_cast<int32_t>(size));
        MemoryBlock block = longer;
        if (EncodePayload(block, kMethodLzw) == 1) {
            Check(DecodePayload(block) == 1);
            Check(block == longer);
        } else {
            Check(block == longer);
        }
    }
    return 0;
}
