// Throughput of the payload codec's LZW coder on 32 MB of English-like text and of 8-bit picture
// data, cut into record-size blocks and whole, next to the system's `compress`/`uncompress`
// (16-bit LZW) on the same data. Prints one table; each figure is the best of a few runs.
//
//   bench_PayloadCodecBench [--mb N] [--runs N] [--codec-only] [--cpu]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "db/PayloadCodec.h"

using namespace tamber;

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// English-like prose: words drawn with a Zipf-like bias from a list of common words, sentences
// with capitals, commas and full stops, paragraphs of a few sentences.
Bytes MakeText(size_t size)
{
    static const char* const kWords[] = {"the", "of", "and", "to", "a", "in", "is", "it", "you", "that", "he",
        "was", "for", "on", "are", "with", "as", "his", "they", "be", "at", "one", "have", "this", "from", "or",
        "had", "by", "hot", "word", "but", "what", "some", "we", "can", "out", "other", "were", "all", "there",
        "when", "up", "use", "your", "how", "said", "an", "each", "she", "which", "do", "their", "time", "if",
        "will", "way", "about", "many", "then", "them", "write", "would", "like", "so", "these", "her", "long",
        "make", "thing", "see", "him", "two", "has", "look", "more", "day", "could", "go", "come", "did",
        "number", "sound", "no", "most", "people", "my", "over", "know", "water", "than", "call", "first",
        "who", "may", "down", "side", "been", "now", "find", "any", "new", "work", "part", "take", "get",
        "place", "made", "live", "where", "after", "back", "little", "only", "round", "man", "year", "came",
        "show", "every", "good", "me", "give", "our", "under", "name", "very", "through", "just", "form",
        "sentence", "great", "think", "say", "help", "low", "line", "differ", "turn", "cause", "much", "mean",
        "before", "move", "right", "boy", "old", "too", "same", "tell", "does", "set", "three", "want", "air",
        "well", "also", "play", "small", "end", "put", "home", "read", "hand", "port", "large", "spell",
        "add", "even", "land", "here", "must", "big", "high", "such", "follow", "act", "why", "ask", "men",
        "change", "went", "light", "kind", "off", "need", "house", "picture", "try", "us", "again", "animal",
        "point", "mother", "world", "near", "build", "self", "earth", "father", "head", "stand", "own", "page",
        "should", "country", "found", "answer", "school", "grow", "study", "still", "learn", "plant", "cover",
        "food", "sun", "four", "between", "state", "keep", "eye", "never", "last", "let", "thought", "city",
        "tree", "cross", "farm", "hard", "start", "might", "story", "saw", "far", "sea", "draw", "left",
        "late", "run", "while", "press", "close", "night", "real", "life", "few", "north", "open", "seem",
        "together", "next", "white", "children", "begin", "got", "walk", "example", "ease", "paper", "group",
        "always", "music", "those", "both", "mark", "often", "letter", "until", "mile", "river", "car",
        "feet", "care", "second", "book", "carry", "took", "science", "eat", "room", "friend", "began",
        "idea", "fish", "mountain", "stop", "once", "base", "hear", "horse", "cut", "sure", "watch", "colour",
        "face", "wood", "main", "enough", "plain", "girl", "usual", "young", "ready", "above", "ever", "red",
        "list", "though", "feel", "talk", "bird", "soon", "body", "dog", "family", "direct", "pose", "leave",
        "song", "measure", "door", "product", "black", "short", "numeral", "class", "wind", "question"};
    constexpr size_t kCount = std::size(kWords);
    std::mt19937 rng(20261205);
    // Zipf-like: the i-th word is drawn with weight 1 / (i + 2).
    std::vector<double> weights(kCount);
    for (size_t i = 0; i < kCount; ++i)
        weights[i] = 1.0 / double(i + 2);
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());

    Bytes out;
    out.reserve(size + 64);
    while (out.size() < size) {
        const int sentences = 2 + int(rng() % 5);
        for (int s = 0; s < sentences; ++s) {
            const int words = 5 + int(rng() % 16);
            for (int w = 0; w < words; ++w) {
                std::string word = kWords[pick(rng)];
                if (w == 0)
                    word[0] = static_cast<char>(word[0] - 'a' + 'A');
                out.insert(out.end(), word.begin(), word.end());
                if (w + 1 < words) {
                    const char* gap = rng() % 12 == 0 ? ", " : " ";
                    out.insert(out.end(), gap, gap + std::strlen(gap));
                }
            }
            const char* end = (rng() % 10 == 0) ? "? " : ". ";
            out.insert(out.end(), end, end + 2);
        }
        out.back() = '\n';
        out.push_back('\n');
    }
    out.resize(size);
    return out;
}

constexpr int kPictureWidth = 640, kPictureHeight = 480;
constexpr size_t kPictureBytes = kPictureWidth * kPictureHeight;

// 256-colour pictures of 640 x 480 one after another, like screens of a presentation: a strip
// of swatches in the picture's colours at the top, a sky and a ground gradient dithered across
// the width, flat shapes, a shaded band and a little noise. The 12-bit dictionary is never
// reset and fills within the first rows, so the pictures keep the same statistics throughout,
// as the screens of one presentation do.
Bytes MakePictures(size_t size)
{
    constexpr int kWidth = kPictureWidth, kHeight = kPictureHeight;
    constexpr int kSwatchRows = 16, kShapeColours = 16, kSkyWidth = 384;
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::mt19937 rng(1995);
    Bytes out;
    out.reserve(size + kWidth * kHeight);
    std::vector<uint8_t> picture(kWidth * kHeight);
    // Palette entries base .. base + span - 1 across width pixels, ordered dithering between
    // neighbouring entries as a 256-colour converter does.
    auto gradient = [&](int x, int y, int width, int base, int span) {
        const int level = (x * span * 16) / width;
        const int index = base + level / 16 + ((level % 16) > kBayer[y & 3][x & 3] ? 1 : 0);
        return static_cast<uint8_t>(std::min(base + span - 1, index));
    };
    while (out.size() < size) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uint8_t index;
                if (y < kSwatchRows)
                    index = static_cast<uint8_t>(128 + x * kShapeColours / kWidth);
                else if (x < kSkyWidth)
                    index = gradient(x, y, kSkyWidth, 16, 64);
                else
                    index = gradient(x - kSkyWidth, y, kWidth - kSkyWidth, 80, 48);
                picture[y * kWidth + x] = index;
            }
        const int shapes = 6 + int(rng() % 10);
        for (int s = 0; s < shapes; ++s) {
            const int cx = int(rng() % kWidth), cy = kSwatchRows + int(rng() % (kHeight - kSwatchRows));
            const int rx = 20 + int(rng() % 120), ry = 20 + int(rng() % 90);
            const uint8_t colour = static_cast<uint8_t>(128 + rng() % kShapeColours);
            const bool ellipse = rng() % 2;
            for (int y = std::max(kSwatchRows, cy - ry); y < std::min(kHeight, cy + ry); ++y)
                for (int x = std::max(0, cx - rx); x < std::min(kWidth, cx + rx); ++x) {
                    const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
                    if (!ellipse || dx * dx + dy * dy <= 1.0)
                        picture[y * kWidth + x] = colour;
                }
        }
        // A shaded band: indices 228..255 across the width.
        const int bandTop = kSwatchRows + int(rng() % (kHeight - kSwatchRows - 40));
        for (int y = bandTop; y < bandTop + 40; ++y)
            for (int x = 0; x < kWidth; ++x)
                picture[y * kWidth + x] = static_cast<uint8_t>(228 + (x * 28) / kWidth);
        for (int i = 0; i < kWidth * kHeight / 200; ++i) {
            const size_t at = rng() % picture.size();
            picture[at] = static_cast<uint8_t>(picture[at] + 1);
        }
        out.insert(out.end(), picture.begin(), picture.end());
    }
    out.resize(size);
    return out;
}

// Wall time by default; --cpu times the codec by the process's processor time instead, which a
// busy machine disturbs less (the programs are always timed by wall time).
bool g_cpuTime = false;

struct Stopwatch {
    Clock::time_point wall = Clock::now();
    std::clock_t cpu = std::clock();
    double Seconds(bool cpuTime) const
    {
        if (cpuTime)
            return double(std::clock() - cpu) / CLOCKS_PER_SEC;
        return std::chrono::duration<double>(Clock::now() - wall).count();
    }
};

double Megabytes(size_t bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

struct CodecFigures {
    double encodeMBs = 0;
    double decodeMBs = 0;
    double ratio = 0;  // encoded bytes / input bytes
    int refused = 0;   // blocks the encoder gave up on
    bool ok = true;
};

// Encodes and decodes the data in blocks of blockSize bytes, best of runs.
CodecFigures MeasureCodec(const Bytes& data, size_t blockSize, int runs)
{
    CodecFigures figures;
    std::vector<MemoryBlock> plain;
    for (size_t at = 0; at < data.size(); at += blockSize) {
        const size_t n = std::min(blockSize, data.size() - at);
        plain.emplace_back(data.data() + at, static_cast<int32_t>(n));
    }
    double bestEncode = 1e30, bestDecode = 1e30;
    size_t encodedBytes = 0;
    for (int run = 0; run < runs; ++run) {
        std::vector<MemoryBlock> blocks = plain;
        std::vector<int32_t> answers(blocks.size());
        Stopwatch encodeTime;
        for (size_t i = 0; i < blocks.size(); ++i)
            answers[i] = EncodePayload(blocks[i], kMethodLzw);
        bestEncode = std::min(bestEncode, encodeTime.Seconds(g_cpuTime));

        figures.refused = 0;
        encodedBytes = 0;
        for (size_t i = 0; i < blocks.size(); ++i) {
            // Blocks the encoder refused are stored as they are, behind a stored header.
            if (answers[i] != 1) {
                ++figures.refused;
                EncodePayload(blocks[i], kMethodStored);
            }
            encodedBytes += static_cast<size_t>(blocks[i].Size());
        }
        std::vector<MemoryBlock> encoded = blocks;
        Stopwatch decodeTime;
        for (MemoryBlock& block : encoded)
            figures.ok = figures.ok && DecodePayload(block) == 1;
        bestDecode = std::min(bestDecode, decodeTime.Seconds(g_cpuTime));
        for (size_t i = 0; i < encoded.size(); ++i)
            figures.ok = figures.ok && encoded[i] == plain[i];
    }
    figures.encodeMBs = Megabytes(data.size()) / bestEncode;
    figures.decodeMBs = Megabytes(data.size()) / bestDecode;
    figures.ratio = double(encodedBytes) / double(data.size());
    return figures;
}

struct ToolFigures {
    double encodeMBs = 0;
    double decodeMBs = 0;
    double ratio = 0;
    bool ok = false;
};

// Times `compress` and `uncompress` as programs on a temporary copy of the data.
ToolFigures MeasureCompressTool(const Bytes& data, int runs)
{
    ToolFigures figures;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tamber-codec-bench";
    std::filesystem::create_directories(dir);
    const std::string plain = (dir / "data").string();
    const std::string packed = (dir / "data.Z").string();
    {
        std::ofstream out(plain, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    const std::string compressCommand = "compress -c '" + plain + "' > '" + packed + "'";
    const std::string uncompressCommand = "uncompress -c '" + packed + "' > /dev/null";
    double bestEncode = 1e30, bestDecode = 1e30;
    figures.ok = true;
    for (int run = 0; run < runs; ++run) {
        Stopwatch encodeTime;
        figures.ok = figures.ok && std::system(compressCommand.c_str()) == 0;
        bestEncode = std::min(bestEncode, encodeTime.Seconds(false));
        Stopwatch decodeTime;
        figures.ok = figures.ok && std::system(uncompressCommand.c_str()) == 0;
        bestDecode = std::min(bestDecode, decodeTime.Seconds(false));
    }
    std::error_code error;
    figures.ratio = double(std::filesystem::file_size(packed, error)) / double(data.size());
    std::filesystem::remove_all(dir, error);
    figures.encodeMBs = Megabytes(data.size()) / bestEncode;
    figures.decodeMBs = Megabytes(data.size()) / bestDecode;
    return figures;
}

std::string BlockName(size_t bytes)
{
    if (bytes == kPictureBytes)
        return "picture";
    if (bytes >= (1u << 20))
        return std::to_string(bytes >> 20) + " MB";
    return std::to_string(bytes >> 10) + " KB";
}

}  // namespace

int main(int argc, char** argv)
{
    size_t megabytes = 32;
    int runs = 3;
    bool tools = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--codec-only") == 0)
            tools = false;
        else if (std::strcmp(argv[i], "--cpu") == 0)
            g_cpuTime = true;
        else if (std::strcmp(argv[i], "--mb") == 0 && i + 1 < argc)
            megabytes = static_cast<size_t>(std::max(1, std::atoi(argv[++i])));
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
    }
    const size_t total = megabytes << 20;
    // Record-size blocks (for the pictures also one picture per record), then everything at once.
    struct Data {
        const char* name;
        Bytes bytes;
        std::vector<size_t> blockSizes;
    } sets[] = {
        {"text", MakeText(total), {64u << 10, 256u << 10, 1u << 20, total}},
        {"image", MakePictures(total), {64u << 10, kPictureBytes, 1u << 20, total}},
    };

    std::printf("Payload codec throughput, %zu MB per data set, best of %d runs (MB = 2^20 bytes)\n\n",
        megabytes, runs);
    std::printf("%-6s %-8s %-22s %12s %12s %8s  %s\n", "data", "block", "coder", "encode MB/s", "decode MB/s",
        "ratio", "notes");
    bool allOk = true;
    for (const Data& set : sets) {
        for (size_t blockSize : set.blockSizes) {
            const CodecFigures f = MeasureCodec(set.bytes, blockSize, runs);
            allOk = allOk && f.ok;
            std::string notes = f.ok ? "" : "ROUND TRIP FAILED ";
            if (f.refused)
                notes += std::to_string(f.refused) + " block(s) refused, stored";
            std::printf("%-6s %-8s %-22s %12.1f %12.1f %8.3f  %s\n", set.name, BlockName(blockSize).c_str(),
                "LZW 12-bit (ours)", f.encodeMBs, f.decodeMBs, f.ratio, notes.c_str());
        }
        if (!tools)
            continue;
        const ToolFigures t = MeasureCompressTool(set.bytes, runs);
        std::printf("%-6s %-8s %-22s %12.1f %12.1f %8.3f  %s\n", set.name, BlockName(total).c_str(),
            "compress (16-bit LZW)", t.encodeMBs, t.decodeMBs, t.ratio,
            t.ok ? "wall time of the programs" : "COMMAND FAILED");
    }
    return allOk ? 0 : 1;
}
