#include "db/PayloadCodec.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "platform/MemoryAdvice.h"

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
// matter to the output, so any exact map gives the same stream as the 5021-slot hash table the
// format was designed around; this one is direct-mapped, one 16-bit code per possible pair
// (prefix << 8 | byte), which needs no probing. The 2 MB table is kept per thread and every
// encoder clears the entries it made, so it is all zeros between uses.
class PairTable {
public:
    static constexpr uint32_t kPairs = kCodeLimit << 8;

    PairTable()
    {
        static thread_local std::unique_ptr<uint16_t[]> s_table;
        if (!s_table)
            s_table.reset(new uint16_t[kPairs]());
        m_codes = s_table.get();
    }
    ~PairTable()
    {
        for (uint32_t i = 0; i < m_count; ++i)
            m_codes[m_made[i]] = 0;
    }
    PairTable(const PairTable&) = delete;
    PairTable& operator=(const PairTable&) = delete;

    // The code of the pair, or 0 when it has none yet (no code is 0: dictionary codes start
    // at 257).
    uint32_t Find(uint32_t pair) const { return m_codes[pair]; }

    void Insert(uint32_t pair, uint32_t code)
    {
        m_codes[pair] = static_cast<uint16_t>(code);
        m_made[m_count++] = pair;
    }

private:
    uint16_t* m_codes;
    uint32_t m_made[kCodeLimit - kFirstDictionaryCode];
    uint32_t m_count = 0;
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
        const uint32_t code = table.Find(pair);
        if (code != 0) {
            current = code;
            continue;
        }
        if (codes >= giveUpCodes)
            return -1;
        if (nextCode < kCodeLimit)
            table.Insert(pair, nextCode++);
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
        AdviseLargeBuffer(out.data(), out.capacity());
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

// Short strings are copied 16 bytes at a time; the output keeps this much room past its end.
constexpr size_t kCopySlack = 16;

// The single-byte strings, padded so that a 16-byte copy may read past any of them.
struct LiteralTable {
    uint8_t bytes[256 + kCopySlack];
    constexpr LiteralTable() : bytes()
    {
        for (int i = 0; i < 256; ++i)
            bytes[i] = static_cast<uint8_t>(i);
    }
};
constexpr LiteralTable kLiterals;

// Copies a string of at most 16 bytes from an earlier part of the output (or the literal
// table), writing 16 bytes. The source string lies wholly before `to`, and both halves are
// loaded before either is stored, so the over-copy cannot disturb it.
inline void CopyString16(uint8_t* to, const uint8_t* from)
{
    uint64_t a, b;
    std::memcpy(&a, from, 8);
    std::memcpy(&b, from + 8, 8);
    std::memcpy(to, &a, 8);
    std::memcpy(to + 8, &b, 8);
}

// Decodes the code stream into out, which has room reserved for length + kCopySlack bytes and
// is grown in steps as it fills. Answers false when the stream is damaged: it ends before the
// end code, names a code not yet defined, or produces more or fewer bytes than length.
bool DecodeLzw(const uint8_t* stream, int64_t streamLength, MemoryBlock::Storage& out, int64_t length)
{
    // Each code's string is a run already produced: a literal, or for a dictionary code the
    // output of the code before it plus the first byte of the output that followed. The end
    // code has length 0.
    struct Entry {
        const uint8_t* from;
        uint32_t length;
    };
    Entry entries[kCodeLimit];
    for (uint32_t c = 0; c < kEndCode; ++c)
        entries[c] = {kLiterals.bytes + c, 1};
    entries[kEndCode] = {nullptr, 0};

    const int64_t codeCount = streamLength * 8 / 12;
    auto codeAt = [stream](int64_t i) -> uint32_t {
        const uint8_t* p = stream + (i >> 1) * 3;
        if ((i & 1) == 0)
            return (uint32_t(p[0]) << 4) | (p[1] >> 4);
        return ((uint32_t(p[1]) & 0x0F) << 8) | p[2];
    };

    uint8_t* const base = out.data();
    int64_t pos = 0;
    const uint8_t* oldString = nullptr;  // where the previous code's string was written
    uint32_t oldLength = 0;
    uint32_t nextCode = kFirstDictionaryCode;

    // Checks that a string of n bytes fits the declared length and grows the output for it.
    auto makeRoom = [&](int64_t n) {
        if (n > length - pos)
            return false;
        if (pos + n + int64_t(kCopySlack) > int64_t(out.size()))
            out.resize(std::min(out.capacity(), out.size() + kOutputGrowStep));
        return true;
    };

    for (int64_t i = 0; i < codeCount; ++i) {
        const uint32_t code = codeAt(i);
        uint8_t* const to = base + pos;
        uint32_t stringLength;
        if (code < nextCode) [[likely]] {
            const Entry entry = entries[code];
            stringLength = entry.length;
            if (stringLength == 0)
                return pos == length;  // the end code
            if (!makeRoom(stringLength))
                return false;
            if (stringLength <= 16)
                CopyString16(to, entry.from);
            else
                std::memcpy(to, entry.from, stringLength);
        } else if (code == nextCode && oldString) {
            // The code being defined right now: the previous string and its own first byte.
            stringLength = oldLength + 1;
            if (!makeRoom(stringLength))
                return false;
            std::memcpy(to, oldString, oldLength);
            to[oldLength] = *oldString;
        } else {
            return false;  // not defined yet (a dictionary code cannot come first)
        }
        if (oldString && nextCode < kCodeLimit)
            entries[nextCode++] = {oldString, oldLength + 1};
        oldString = to;
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
        MemoryBlock::Storage out;
        out.reserve(static_cast<size_t>(decodedLength) + kCopySlack);
        AdviseLargeBuffer(out.data(), out.capacity());
        if (!DecodeLzw(block.Data(kPayloadHeaderSize), streamLength, out, decodedLength))
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
