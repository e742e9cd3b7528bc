#include "db/PayloadCodec.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

namespace tamber {

namespace {

// Header fields.
constexpr int32_t kMagicOffset = 0;
constexpr int32_t kMethodOffset = 2;
constexpr int32_t kDecodedLengthOffset = 4;
constexpr int32_t kStreamLengthOffset = 8;
constexpr char kMagic[2] = {'C', 'P'};

// The code stream: 12-bit codes packed most significant bit first, two codes to three bytes.
// 0-255 are the bytes themselves, 256 ends the stream, 257-4095 are dictionary entries in the
// order they were made. The dictionary is never reset.
constexpr uint32_t kEndCode = 256;
constexpr uint32_t kFirstDictionaryCode = 257;
constexpr uint32_t kCodeLimit = 4096;
// The longest string a code can stand for: code 257 + i has at most i + 2 bytes.
constexpr int64_t kMaxStringLength = kCodeLimit - kFirstDictionaryCode + 1;

// The encoder writes into a block of input length + kOutputSlack and gives up once the stream
// holds input length + (kOutputSlack - kGiveUpMargin) bytes: such data does not shrink.
constexpr int64_t kOutputSlack = 76;
constexpr int64_t kGiveUpMargin = 64;

// The encoder's dictionary of (prefix code, byte) pairs. Only membership and the code stored
// matter to the output, so any exact map gives the same stream; this one is an open-addressed
// table of packed entries (pair << 12 | code) small enough to stay in the first-level cache.
// A pair is prefix << 8 | byte (20 bits); an entry is never 0 because codes are at least 257.
class PairTable {
public:
    PairTable() { std::memset(m_slots, 0, sizeof m_slots); }

    // The code of the pair, or 0 when it is not in the table; slot receives where it would go.
    uint32_t Find(uint32_t pair, uint32_t& slot) const
    {
        uint32_t index = Hash(pair);
        for (;;) {
            const uint32_t entry = m_slots[index];
            if (entry == 0) {
                slot = index;
                return 0;
            }
            if ((entry >> kCodeBits) == pair)
                return entry & kCodeMask;
            index = (index + 1) & (kSlots - 1);
        }
    }

    void Insert(uint32_t slot, uint32_t pair, uint32_t code) { m_slots[slot] = (pair << kCodeBits) | code; }

private:
    static constexpr uint32_t kSlotBits = 13;
    static constexpr uint32_t kSlots = 1u << kSlotBits;  // 8192 slots for at most 3839 entries
    static constexpr uint32_t kCodeBits = 12;
    static constexpr uint32_t kCodeMask = (1u << kCodeBits) - 1;

    static uint32_t Hash(uint32_t pair) { return (pair * 0x9E3779B1u) >> (32 - kSlotBits); }

    uint32_t m_slots[kSlots];
};

void WriteLe16(uint8_t* p, uint32_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

void WriteLe32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

void WriteHeader(uint8_t* p, int32_t method, uint32_t decodedLength, uint32_t streamLength)
{
    std::memcpy(p + kMagicOffset, kMagic, sizeof kMagic);
    WriteLe16(p + kMethodOffset, static_cast<uint32_t>(method));
    WriteLe32(p + kDecodedLengthOffset, decodedLength);
    WriteLe32(p + kStreamLengthOffset, streamLength);
}

int32_t EncodeStored(MemoryBlock& block)
{
    const int64_t n = block.Size();
    if (n + kPayloadHeaderSize > std::numeric_limits<int32_t>::max())
        return 0;
    try {
        MemoryBlock::Storage out(static_cast<size_t>(n + kPayloadHeaderSize));
        WriteHeader(out.data(), kMethodStored, static_cast<uint32_t>(n), 0);
        if (n > 0)
            std::memcpy(out.data() + kPayloadHeaderSize, block.Data(), static_cast<size_t>(n));
        block.Adopt(std::move(out));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

// The output is reserved at its largest size up front but grown in steps, so only the pages
// the stream actually fills are ever touched.
constexpr size_t kOutputGrowStep = 64 * 1024;

// LZW-codes n >= 1 bytes into out after its header; out has room reserved for input length +
// kOutputSlack bytes, which the give-up rule keeps the stream within. Answers the stream
// length, or -1 when the encoder gives up.
int64_t EncodeLzw(const uint8_t* in, int64_t n, MemoryBlock::Storage& out)
{
    // The encoder gives up when, about to emit a code, the complete bytes written so far plus
    // kGiveUpMargin reach the output size. After k codes, 3k/2 bytes are complete.
    const int64_t giveUpBytes = n + kOutputSlack - kGiveUpMargin;
    const int64_t giveUpCodes = (2 * giveUpBytes + 2) / 3;

    PairTable table;
    uint32_t nextCode = kFirstDictionaryCode;
    uint32_t current = in[0];
    int64_t codes = 0;
    uint32_t pending = 0;  // the first code of a pair, waiting for the second
    uint8_t* put = out.data() + kPayloadHeaderSize;
    uint8_t* end = out.data() + out.size();

    auto emit = [&](uint32_t code) {
        if ((codes & 1) == 0) {
            pending = code;
        } else {
            if (end - put < 3) [[unlikely]] {
                out.resize(std::min(out.size() + kOutputGrowStep, out.capacity()));
                end = out.data() + out.size();
            }
            put[0] = static_cast<uint8_t>(pending >> 4);
            put[1] = static_cast<uint8_t>((pending << 4) | (code >> 8));
            put[2] = static_cast<uint8_t>(code);
            put += 3;
        }
        ++codes;
    };

    for (int64_t i = 1; i < n; ++i) {
        const uint32_t c = in[i];
        const uint32_t pair = (current << 8) | c;
        uint32_t slot = 0;
        const uint32_t code = table.Find(pair, slot);
        if (code != 0) {
            current = code;
            continue;
        }
        if (codes >= giveUpCodes)
            return -1;
        if (nextCode < kCodeLimit)
            table.Insert(slot, pair, nextCode++);
        emit(current);
        current = c;
    }
    emit(current);
    emit(kEndCode);
    if (codes & 1) {
        if (end - put < 2)
            out.resize(std::min(out.size() + kOutputGrowStep, out.capacity()));
        put[0] = static_cast<uint8_t>(pending >> 4);
        put[1] = static_cast<uint8_t>(pending << 4);
        put += 2;
    }
    return put - (out.data() + kPayloadHeaderSize);
}

int32_t EncodeLzwBlock(MemoryBlock& block)
{
    const int64_t n = block.Size();
    if (n + kOutputSlack > std::numeric_limits<int32_t>::max())
        return 0;
    try {
        MemoryBlock::Storage out;
        out.reserve(static_cast<size_t>(n + kOutputSlack));
        out.resize(std::min(out.capacity(), kOutputGrowStep));
        const int64_t streamLength = EncodeLzw(block.Data(), n, out);
        if (streamLength < 0)
            return 0;
        WriteHeader(out.data(), kMethodLzw, static_cast<uint32_t>(n), static_cast<uint32_t>(streamLength));
        out.resize(static_cast<size_t>(kPayloadHeaderSize + streamLength));
        block.Adopt(std::move(out));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

// Decodes the code stream into out[0, length). Answers false when the stream is damaged: it
// ends before the end code, names a code not yet defined, or produces more or fewer bytes than
// length. out must have kCopySlack bytes of room past length.
constexpr size_t kCopySlack = 16;

bool DecodeLzw(const uint8_t* stream, int64_t streamLength, uint8_t* out, int64_t length)
{
    // Every dictionary string is a run of output already produced: the string of the code
    // before it plus the first byte of the string that followed.
    struct Entry {
        uint32_t offset;
        uint32_t length;
    };
    Entry entries[kCodeLimit];

    const int64_t codeCount = streamLength * 8 / 12;
    auto codeAt = [stream](int64_t i) -> uint32_t {
        const uint8_t* p = stream + (i >> 1) * 3;
        if ((i & 1) == 0)
            return (uint32_t(p[0]) << 4) | (p[1] >> 4);
        return ((uint32_t(p[1]) & 0x0F) << 8) | p[2];
    };

    if (codeCount == 0)
        return false;
    uint32_t code = codeAt(0);
    if (code == kEndCode)
        return length == 0;
    if (code > kEndCode || length < 1)
        return false;
    out[0] = static_cast<uint8_t>(code);
    int64_t pos = 1;
    int64_t oldOffset = 0;
    int64_t oldLength = 1;
    uint32_t nextCode = kFirstDictionaryCode;

    for (int64_t i = 1; i < codeCount; ++i) {
        code = codeAt(i);
        int64_t stringLength;
        if (code < kEndCode) {
            if (pos >= length)
                return false;
            out[pos] = static_cast<uint8_t>(code);
            stringLength = 1;
        } else if (code == kEndCode) {
            return pos == length;
        } else if (code < nextCode) {
            const Entry e = entries[code];
            stringLength = e.length;
            if (stringLength > length - pos)
                return false;
            const uint8_t* from = out + e.offset;
            uint8_t* to = out + pos;
            if (stringLength <= 16) {
                // The source lies wholly before pos; load both halves before storing so the
                // over-copy into the slack cannot disturb it.
                uint64_t a, b;
                std::memcpy(&a, from, 8);
                std::memcpy(&b, from + 8, 8);
                std::memcpy(to, &a, 8);
                std::memcpy(to + 8, &b, 8);
            } else {
                std::memcpy(to, from, static_cast<size_t>(stringLength));
            }
        } else if (code == nextCode) {
            // The code being defined right now: the previous string and its own first byte.
            stringLength = oldLength + 1;
            if (stringLength > length - pos)
                return false;
            std::memcpy(out + pos, out + oldOffset, static_cast<size_t>(oldLength));
            out[pos + oldLength] = out[oldOffset];
        } else {
            return false;  // not defined yet
        }
        if (nextCode < kCodeLimit) {
            entries[nextCode] = {static_cast<uint32_t>(oldOffset), static_cast<uint32_t>(oldLength + 1)};
            ++nextCode;
        }
        oldOffset = pos;
        oldLength = stringLength;
        pos += stringLength;
    }
    return false;  // no end code
}

int32_t DecodeLzwBlock(MemoryBlock& block, int64_t decodedLength)
{
    const int64_t streamLength = static_cast<uint32_t>(block.ReadInt(kStreamLengthOffset, 4));
    if (streamLength > block.Size() - kPayloadHeaderSize)
        return 0;
    // A code stands for at most kMaxStringLength bytes, so a longer declared length is a lie;
    // refuse it before allocating.
    const int64_t codeCount = streamLength * 8 / 12;
    if (decodedLength > codeCount * kMaxStringLength)
        return 0;
    try {
        MemoryBlock::Storage out(static_cast<size_t>(decodedLength) + kCopySlack);
        if (!DecodeLzw(block.Data(kPayloadHeaderSize), streamLength, out.data(), decodedLength))
            return 0;
        out.resize(static_cast<size_t>(decodedLength));
        block.Adopt(std::move(out));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

}  // namespace

int32_t EncodePayload(MemoryBlock& block, int32_t method)
{
    if (method == kMethodNone)
        return 1;
    if (method == kMethodStored || block.Size() < kLzwMinimumLength)
        return EncodeStored(block);
    if (method == kMethodLzw)
        return EncodeLzwBlock(block);
    return 0;
}

int32_t DecodePayload(MemoryBlock& block)
{
    if (block.Size() < kPayloadHeaderSize || block.Compare(kMagicOffset, kMagic, 2, Exact::Yes) != 0)
        return 0;
    const int32_t method = block.ReadInt(kMethodOffset, 2);
    const int64_t decodedLength = static_cast<uint32_t>(block.ReadInt(kDecodedLengthOffset, 4));
    if (decodedLength > std::numeric_limits<int32_t>::max())
        return 0;
    if (method == kMethodStored) {
        if (decodedLength != block.Size() - kPayloadHeaderSize)
            return 0;
        block.Delete(0, kPayloadHeaderSize);
        return 1;
    }
    if (method == kMethodLzw)
        return DecodeLzwBlock(block, decodedLength);
    return 0;
}

}  // namespace tamber
