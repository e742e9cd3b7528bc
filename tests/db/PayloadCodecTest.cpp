#include "db/PayloadCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace tamber;

namespace {

using Bytes = std::vector<uint8_t>;

// The encoder exactly as the format describes it: a 5021-slot table probed from
// (byte << 4) ^ prefix with the secondary step 5021 - index, codes packed through a bit buffer,
// and the give-up test on the complete bytes written so far. The codec must match it byte for
// byte, including where it gives up.
std::optional<Bytes> ReferenceEncode(const Bytes& in)
{
    constexpr int kSlots = 5021;
    struct Slot {
        uint16_t code = 0xFFFF;
        uint16_t prefix = 0;
        uint8_t byte = 0;
    };
    std::vector<Slot> table(kSlots);
    const size_t outSize = in.size() + 76;
    Bytes out(12, 0);
    uint32_t bitBuffer = 0;
    int bitCount = 0;
    auto emit = [&](uint32_t code) {
        bitBuffer |= code << (32 - 12 - bitCount);
        bitCount += 12;
        while (bitCount >= 8) {
            out.push_back(static_cast<uint8_t>(bitBuffer >> 24));
            bitBuffer <<= 8;
            bitCount -= 8;
        }
    };
    uint32_t nextCode = 257;
    uint32_t current = in[0];
    for (size_t i = 1; i < in.size(); ++i) {
        const uint8_t c = in[i];
        int index = (c << 4) ^ static_cast<int>(current);
        const int step = index == 0 ? 1 : kSlots - index;
        while (table[index].code != 0xFFFF && !(table[index].prefix == current && table[index].byte == c)) {
            index -= step;
            if (index < 0)
                index += kSlots;
        }
        if (table[index].code != 0xFFFF) {
            current = table[index].code;
            continue;
        }
        if ((out.size() - 12) + 64 >= outSize)
            return std::nullopt;
        if (nextCode < 4096)
            table[index] = {static_cast<uint16_t>(nextCode++), static_cast<uint16_t>(current), c};
        emit(current);
        current = c;
    }
    emit(current);
    emit(256);
    if (bitCount > 0)
        out.push_back(static_cast<uint8_t>(bitBuffer >> 24));
    const uint32_t n = static_cast<uint32_t>(in.size());
    const uint32_t streamLength = static_cast<uint32_t>(out.size() - 12);
    const uint8_t header[12] = {'C', 'P', 2, 0,
        uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24),
        uint8_t(streamLength), uint8_t(streamLength >> 8), uint8_t(streamLength >> 16), uint8_t(streamLength >> 24)};
    std::memcpy(out.data(), header, 12);
    return out;
}

Bytes ToBytes(const MemoryBlock& block)
{
    return Bytes(block.Data(), block.Data() + block.Size());
}

MemoryBlock ToBlock(const Bytes& bytes)
{
    return MemoryBlock(bytes.data(), static_cast<int32_t>(bytes.size()));
}

Bytes PackCodes(const std::vector<uint32_t>& codes)
{
    Bytes out;
    uint32_t buffer = 0;
    int bits = 0;
    for (uint32_t code : codes) {
        buffer = (buffer << 12) | code;
        bits += 12;
        while (bits >= 8) {
            out.push_back(static_cast<uint8_t>(buffer >> (bits - 8)));
            bits -= 8;
        }
    }
    if (bits > 0)
        out.push_back(static_cast<uint8_t>(buffer << (8 - bits)));
    return out;
}

std::vector<uint32_t> UnpackCodes(const uint8_t* stream, size_t length)
{
    std::vector<uint32_t> codes;
    for (size_t bit = 0; bit + 12 <= length * 8; bit += 12) {
        const size_t byte = bit / 8;
        const uint32_t word = (uint32_t(stream[byte]) << 8) | stream[byte + 1];
        codes.push_back((word >> (4 - bit % 8)) & 0xFFF);
    }
    return codes;
}

MemoryBlock LzwPayload(uint32_t decodedLength, const Bytes& stream, uint32_t streamLength)
{
    MemoryBlock block;
    block.AppendString("CP", Nul::Exclude);
    block.AppendInt(kMethodLzw, 2);
    block.AppendInt(static_cast<int32_t>(decodedLength), 4);
    block.AppendInt(static_cast<int32_t>(streamLength), 4);
    block.Append(stream.data(), static_cast<int32_t>(stream.size()));
    return block;
}

MemoryBlock LzwPayload(uint32_t decodedLength, const std::vector<uint32_t>& codes)
{
    const Bytes stream = PackCodes(codes);
    return LzwPayload(decodedLength, stream, static_cast<uint32_t>(stream.size()));
}

Bytes RandomBytes(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes out(n);
    for (auto& b : out)
        b = static_cast<uint8_t>(rng());
    return out;
}

Bytes Text(size_t n, uint32_t seed)
{
    static const char* const kWords[] = {"the", "media", "card", "interface", "of", "and", "a", "record",
        "palette", "button", "shows", "when", "clicked", "database", "video", "sound", "is", "to"};
    std::mt19937 rng(seed);
    Bytes out;
    while (out.size() < n) {
        const char* word = kWords[rng() % std::size(kWords)];
        out.insert(out.end(), word, word + std::strlen(word));
        out.push_back(rng() % 11 == 0 ? '\n' : ' ');
    }
    out.resize(n);
    return out;
}

// An 8-bit picture: gradients, flat regions and a little noise.
Bytes Picture(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes out(n);
    for (size_t i = 0; i < n; ++i) {
        const size_t x = i % 320, y = (i / 320) % 200;
        uint8_t v = (x < 160) ? static_cast<uint8_t>(x / 4 + y / 8) : static_cast<uint8_t>(200 + (y / 32) % 8);
        if (rng() % 16 == 0)
            v = static_cast<uint8_t>(v + rng() % 3);
        out[i] = v;
    }
    return out;
}

// Encodes with the codec, checks the result against the reference encoder and that it
// decodes back. Answers whether the encoder accepted the data.
bool EncodeMatchesReference(const Bytes& input)
{
    MemoryBlock block = ToBlock(input);
    const int32_t answer = EncodePayload(block, kMethodLzw);
    const std::optional<Bytes> expected = ReferenceEncode(input);
    EXPECT_EQ(answer, expected ? 1 : 0) << "input of " << input.size() << " bytes";
    if (!expected) {
        EXPECT_EQ(ToBytes(block), input);
        return false;
    }
    EXPECT_EQ(ToBytes(block), *expected) << "input of " << input.size() << " bytes";
    EXPECT_EQ(DecodePayload(block), 1);
    EXPECT_EQ(ToBytes(block), input);
    return true;
}

}  // namespace

TEST(PayloadCodec, StoresShortPayloadsAndMethodOneBehindAHeader)
{
    struct Case {
        size_t length;
        int32_t method;
    } cases[] = {{4, kMethodLzw}, {1023, kMethodLzw}, {0, kMethodLzw}, {3000, kMethodStored}, {100, 7}};
    for (const Case& c : cases) {
        const Bytes input = Text(c.length, 1);
        MemoryBlock block = ToBlock(input);
        ASSERT_EQ(EncodePayload(block, c.method), 1);
        ASSERT_EQ(block.Size(), static_cast<int32_t>(c.length) + 12);
        EXPECT_EQ(block.View().substr(0, 2), "CP");
        EXPECT_EQ(block.ReadInt(2, 2), kMethodStored);
        EXPECT_EQ(block.ReadInt(4, 4), static_cast<int32_t>(c.length));
        EXPECT_EQ(block.ReadInt(8, 4), 0);
        const Bytes stored = ToBytes(block);
        EXPECT_EQ(Bytes(stored.begin() + 12, stored.end()), input);
        EXPECT_EQ(DecodePayload(block), 1);
        EXPECT_EQ(ToBytes(block), input);
    }
}

TEST(PayloadCodec, MethodZeroAndUnknownMethodsOnLongBlocksLeaveTheBlockAlone)
{
    const Bytes input = Text(2048, 2);
    for (int32_t method : {int32_t(kMethodNone), 3, -1}) {
        MemoryBlock block = ToBlock(input);
        EXPECT_EQ(EncodePayload(block, method), method == kMethodNone ? 1 : 0);
        EXPECT_EQ(ToBytes(block), input);
    }
}

TEST(PayloadCodec, AlternatingPairUsesTheCodeBeingDefined)
{
    Bytes input;
    for (int i = 0; i < 512; ++i) {
        input.push_back('a');
        input.push_back('b');
    }
    MemoryBlock block = ToBlock(input);
    ASSERT_EQ(EncodePayload(block, kMethodLzw), 1);
    const std::vector<uint32_t> codes = UnpackCodes(block.Data(12), static_cast<size_t>(block.Size() - 12));
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(std::vector<uint32_t>(codes.begin(), codes.begin() + 4), (std::vector<uint32_t> {97, 98, 257, 259}));
    EXPECT_EQ(DecodePayload(block), 1);
    EXPECT_EQ(ToBytes(block), input);
}

TEST(PayloadCodec, MatchesTheReferenceEncoderOnVariedData)
{
    std::vector<Bytes> inputs = {
        Bytes(1024, 0), Bytes(70000, 'x'), Text(1024, 5), Text(5000, 6), Text(300000, 7),
        Picture(64000, 8), Picture(200000, 9), Picture(1 << 20, 16), RandomBytes(1500, 10),
    };
    Bytes mixed = Text(30000, 17);  // a burst of noise inside text
    const Bytes noise = RandomBytes(3000, 18);
    mixed.insert(mixed.begin() + 10000, noise.begin(), noise.end());
    inputs.push_back(mixed);
    Bytes sawtooth(50000);
    for (size_t i = 0; i < sawtooth.size(); ++i)
        sawtooth[i] = static_cast<uint8_t>(i % 251);
    inputs.push_back(sawtooth);
    Bytes allPairs;  // every pair of bytes once: fills the dictionary with short strings
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            allPairs.push_back(static_cast<uint8_t>(a));
            allPairs.push_back(static_cast<uint8_t>(b));
        }
    inputs.push_back(allPairs);
    for (const Bytes& input : inputs)
        EncodeMatchesReference(input);
}

TEST(PayloadCodec, GivesUpAtExactlyTheSamePointAsTheReference)
{
    // Random bytes followed by zeros: the random part expands the stream, the zeros add length
    // but hardly any codes. Sweeping the number of zeros crosses the give-up limit one byte at
    // a time, so both sides of it are compared with the reference.
    const Bytes noise = RandomBytes(1200, 11);
    int accepted = 0, refused = 0;
    for (size_t zeros = 0; zeros < 700; ++zeros) {
        Bytes input = noise;
        input.resize(noise.size() + zeros, 0);
        (EncodeMatchesReference(input) ? accepted : refused)++;
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

TEST(PayloadCodec, FullDictionaryKeepsItsEntries)
{
    // 3840 single bytes define codes 257 to 4095; after that nothing is defined or redefined.
    std::vector<uint32_t> codes;
    Bytes expected;
    for (uint32_t i = 0; i < 3840; ++i) {
        codes.push_back((i * 7 + i / 256) % 256);
        expected.push_back(static_cast<uint8_t>(codes.back()));
    }
    const Bytes last = {expected[3838], expected[3839]};  // code 4095
    codes.insert(codes.end(), {4095, 'x', 'y', 4095, 257, 256});
    for (const Bytes& part : {last, Bytes {'x', 'y'}, last, Bytes {expected[0], expected[1]}})
        expected.insert(expected.end(), part.begin(), part.end());

    MemoryBlock block = LzwPayload(static_cast<uint32_t>(expected.size()), codes);
    ASSERT_EQ(DecodePayload(block), 1);
    EXPECT_EQ(ToBytes(block), expected);

    // An encoder stream that went past a full dictionary: still 12-bit codes, none above 4095.
    const Bytes text = Text(400000, 12);
    block = ToBlock(text);
    ASSERT_EQ(EncodePayload(block, kMethodLzw), 1);
    const std::vector<uint32_t> encoded = UnpackCodes(block.Data(12), static_cast<size_t>(block.Size() - 12));
    ASSERT_GT(encoded.size(), 3839u * 4);
    size_t firstFull = 0;
    for (size_t i = 0; i < encoded.size() && !firstFull; ++i)
        if (encoded[i] == 4095)
            firstFull = i;
    EXPECT_GT(firstFull, 0u);
    EXPECT_LT(firstFull, encoded.size() / 4);
    ASSERT_EQ(DecodePayload(block), 1);
    EXPECT_EQ(ToBytes(block), text);
}

TEST(PayloadCodec, RefusesDamagedStreamsAndLeavesThemUnchanged)
{
    MemoryBlock good = ToBlock(Text(20000, 13));
    ASSERT_EQ(EncodePayload(good, kMethodLzw), 1);
    const Bytes encoded = ToBytes(good);
    const uint32_t streamLength = static_cast<uint32_t>(encoded.size() - 12);
    const Bytes stream(encoded.begin() + 12, encoded.end());

    std::vector<MemoryBlock> damaged;
    // Truncated: the stream length still claims the full stream, or admits the cut.
    damaged.push_back(ToBlock(Bytes(encoded.begin(), encoded.end() - 3)));
    damaged.push_back(LzwPayload(20000, Bytes(stream.begin(), stream.end() - 3), streamLength - 3));
    // Lying decoded lengths: one short, one long, and one no stream of this size can produce.
    damaged.push_back(LzwPayload(19999, stream, streamLength));
    damaged.push_back(LzwPayload(20001, stream, streamLength));
    damaged.push_back(LzwPayload(0x7FFFFFFF, stream, streamLength));
    damaged.push_back(LzwPayload(0xFFFFFFFF, stream, streamLength));
    // Codes not defined yet: above the next code, and a dictionary code first.
    damaged.push_back(LzwPayload(3, std::vector<uint32_t> {'a', 'b', 259, 256}));
    damaged.push_back(LzwPayload(2, std::vector<uint32_t> {257, 256}));
    // No end code.
    damaged.push_back(LzwPayload(2, std::vector<uint32_t> {'a', 'b'}));
    // Wrong method, wrong magic, too short for a header, stored length that disagrees.
    for (int method : {0, 3, 0x102}) {
        MemoryBlock block = ToBlock(encoded);
        block.WriteInt(2, method, 2);
        damaged.push_back(block);
    }
    damaged.push_back(ToBlock(Bytes {'C', 'Q', 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    damaged.push_back(ToBlock(Bytes {'C', 'P', 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    damaged.push_back(ToBlock(Bytes {'C', 'P', 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, 'a', 'b', 'c', 'd'}));

    for (size_t i = 0; i < damaged.size(); ++i) {
        MemoryBlock block = damaged[i];
        EXPECT_EQ(DecodePayload(block), 0) << "case " << i;
        EXPECT_EQ(block, damaged[i]) << "case " << i;
    }

    // The intact stream still decodes, and so does one that ends straight away.
    EXPECT_EQ(DecodePayload(good), 1);
    MemoryBlock empty = LzwPayload(0, std::vector<uint32_t> {256});
    EXPECT_EQ(DecodePayload(empty), 1);
    EXPECT_EQ(empty.Size(), 0);
}
