#include "media/DibImage.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

#include "media/ScreenContext.h"
#include "media/SystemColors.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/DibFormat.h"

namespace tamber {

namespace {

namespace Dib = gfx::DibFormat;

constexpr int32_t kRgbQuadSize = 4;
constexpr int32_t kRgbTripleSize = 3;
constexpr int32_t kMaxIndexedColors = 256;
// The popularity reduction: 4096 cells of 4 bits per component, at most 254 ranked, of which
// the 236 between the system colours become palette entries.
constexpr int32_t kCells = 4096;
constexpr size_t kMaxRanked = 254;
constexpr int32_t kFreeEntries = 236;
constexpr int32_t kNearlyBlackLevel = 2;
// The system colour at index 9 of the hardware palette, which some images store slightly off.
const Color kOffSkyBlue(164, 200, 240);
const Color kSkyBlue(166, 202, 240);
// Raster operation that paints white.
constexpr uint32_t kWhiteness = 0x00FF0062;

int32_t ReadInt(const MemoryBlock& block, int32_t offset, int width) {
    return block.ReadInt(offset, width);
}

// Colour-table bytes assumed when a headerless DIB says 0 colours used: one case per depth.
int32_t DefaultTableBytes(int32_t bits) {
    switch (bits) {
    case 1:
    case 16:
    case 24:
        return 8;
    case 4:
        return 64;
    case 8:
        return 1024;
    default:
        return 0;
    }
}

// Puts "BM", the size and the pixel offset in front of an information header and its data.
MemoryBlock WithFileHeader(const MemoryBlock& data) {
    const int32_t bits = ReadInt(data, Dib::kBitCount, 2);
    const int32_t colorsUsed = ReadInt(data, Dib::kColorsUsed, 4);
    // A count no table could hold points past the data, which the parser then refuses.
    const int64_t table = colorsUsed != 0 ? std::min<int64_t>(int64_t{kRgbQuadSize} * static_cast<uint32_t>(colorsUsed),
                                                              int64_t{data.Size()} + 1)
                                          : DefaultTableBytes(bits);
    MemoryBlock packed;
    packed.AppendString("BM", Nul::Exclude);
    packed.AppendInt(data.Size() + DibImage::kFileHeaderSize, 4);
    packed.AppendInt(0, 2);
    packed.AppendInt(0, 2);
    packed.AppendInt(static_cast<int32_t>(DibImage::kHeadersSize + table), 4);
    packed.Append(data);
    return packed;
}

// Rewrites a packed DIB with the 12-byte header as one with the 40-byte header: width, height,
// planes and bit count carried over, the 3-byte colour table widened to 4 bytes per entry.
bool WidenCoreHeader(const MemoryBlock& in, MemoryBlock& out) {
    constexpr int32_t core = DibImage::kInfoOffset;
    if (in.Size() < core + DibImage::kCoreHeaderSize) {
        return false;
    }
    const int32_t width = ReadInt(in, core + static_cast<int32_t>(Dib::kCoreWidth), 2) & 0xFFFF;
    const int32_t height = ReadInt(in, core + static_cast<int32_t>(Dib::kCoreHeight), 2) & 0xFFFF;
    const int32_t planes = ReadInt(in, core + static_cast<int32_t>(Dib::kCorePlanes), 2) & 0xFFFF;
    const int32_t bits = ReadInt(in, core + static_cast<int32_t>(Dib::kCoreBitCount), 2) & 0xFFFF;
    const int32_t tableStart = core + DibImage::kCoreHeaderSize;
    int32_t pixelOffset = ReadInt(in, DibImage::kPixelOffsetOffset, 4);
    if (pixelOffset < tableStart || pixelOffset > in.Size()) {
        return false;
    }
    int32_t entries = bits <= 8 ? 1 << bits : 0;
    entries = std::min(entries, (pixelOffset - tableStart) / kRgbTripleSize);

    const int32_t newOffset = DibImage::kHeadersSize + entries * kRgbQuadSize;
    const int32_t pixelBytes = in.Size() - pixelOffset;
    out = MemoryBlock();
    out.AppendString("BM", Nul::Exclude);
    out.AppendInt(newOffset + pixelBytes, 4);
    out.AppendInt(0, 4);
    out.AppendInt(newOffset, 4);
    out.AppendInt(DibImage::kInfoHeaderSize, 4);
    out.AppendInt(width, 4);
    out.AppendInt(height, 4);
    out.AppendInt(planes, 2);
    out.AppendInt(bits, 2);
    out.AppendInt(static_cast<int32_t>(Dib::kBiRgb), 4);
    out.AppendInt(0, 4);  // image size
    out.AppendInt(0, 4);  // resolutions
    out.AppendInt(0, 4);
    out.AppendInt(entries, 4);
    out.AppendInt(0, 4);
    for (int32_t i = 0; i < entries; ++i) {
        out.Append(in.Data(tableStart + i * kRgbTripleSize), kRgbTripleSize);
        out.AppendInt(0, 1);
    }
    out.Append(in.Data(pixelOffset), pixelBytes);
    return true;
}

Color CellColor(int32_t cell) {
    return Color((cell >> 8) * 16, (cell >> 4 & 15) * 16, (cell & 15) * 16);
}

void PutInfoHeader(MemoryBlock& block, int32_t at, int32_t width, int32_t height, int32_t bits, int32_t colorsUsed) {
    block.WriteInt(at, DibImage::kInfoHeaderSize, 4);
    block.WriteInt(at + static_cast<int32_t>(Dib::kWidth), width, 4);
    block.WriteInt(at + static_cast<int32_t>(Dib::kHeight), height, 4);
    block.WriteInt(at + static_cast<int32_t>(Dib::kPlanes), 1, 2);
    block.WriteInt(at + static_cast<int32_t>(Dib::kBitCount), bits, 2);
    block.WriteInt(at + static_cast<int32_t>(Dib::kCompression), static_cast<int32_t>(Dib::kBiRgb), 4);
    block.WriteInt(at + static_cast<int32_t>(Dib::kSizeImage),
                   static_cast<int32_t>(Dib::RowBytes(width, bits) * height), 4);
    block.WriteInt(at + static_cast<int32_t>(Dib::kColorsUsed), colorsUsed, 4);
}

}  // namespace

DibImage::DibImage(ScreenContext& context) : m_context(context) {}

DibImage::~DibImage() = default;

int DibImage::CreateBlank(int32_t width, int32_t height, int32_t depth) {
    m_bitmap.reset();
    m_held.reset();
    auto bitmap = std::make_unique<gfx::DeviceBitmap>();
    const gfx::PixelFormat format = depth == 1 ? gfx::PixelFormat::Mono : m_context.ScreenFormat();
    if (bitmap->Create(width, height, format) == 0) {
        return 0;
    }
    auto dc = m_context.CreateMemoryDc();
    dc->SelectBitmap(bitmap.get());
    dc->PatBlt(gfx::Rect::FromSize(0, 0, width, height), kWhiteness);
    m_bitmap = std::move(bitmap);
    m_sourceDepth = m_context.BitsPerPixel();
    return 1;
}

int DibImage::CreateFromResource(const MemoryBlock& resource, OfferConversion offer) {
    if (resource.Empty()) {
        return 0;
    }
    return SetFromPackedDib(WithFileHeader(resource), ImagePalette::No, offer);
}

int DibImage::SetFromPackedDib(const MemoryBlock& dib, ImagePalette imagePalette, OfferConversion offer) {
    if (dib.Empty()) {
        return 0;
    }
    m_bitmap.reset();
    m_held.reset();
    m_offer = offer;
    m_sourceDepth = ReadInt(dib, kInfoOffset + static_cast<int32_t>(Dib::kBitCount), 2);
    if (ReadInt(dib, kInfoOffset, 4) == kCoreHeaderSize) {
        m_sourceDepth = ReadInt(dib, kInfoOffset + static_cast<int32_t>(Dib::kCoreBitCount), 2);
    }
    return Build(dib, imagePalette);
}

int DibImage::SetFromDibWithoutHeader(const MemoryBlock& data) {
    if (data.Empty()) {
        return 0;
    }
    m_bitmap.reset();
    m_held = WithFileHeader(data);
    m_sourceDepth = ReadInt(data, Dib::kBitCount, 2);
    return Build(*m_held, ImagePalette::Yes);
}

Palette* DibImage::ChoosePalette(const MemoryBlock& dib, ImagePalette imagePalette) {
    if (imagePalette == ImagePalette::No) {
        if (m_ownPalette != nullptr) {
            return m_ownPalette.get();
        }
        if (m_context.Current() != nullptr) {
            return m_context.Current();
        }
    }
    m_ownPalette.reset();
    const int32_t headerSize = ReadInt(dib, kInfoOffset, 4);
    const int32_t bits = ReadInt(dib, kInfoOffset + static_cast<int32_t>(Dib::kBitCount), 2);
    const int32_t colorsUsed = ReadInt(dib, kInfoOffset + static_cast<int32_t>(Dib::kColorsUsed), 4);
    const int32_t tableStart = kInfoOffset + headerSize;
    int64_t count = 0;
    if (bits > 8) {
        count = (static_cast<int64_t>(ReadInt(dib, kPixelOffsetOffset, 4)) - tableStart) / kRgbQuadSize;
    } else if (colorsUsed != 0) {
        count = static_cast<uint32_t>(colorsUsed);
    } else {
        count = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    }
    if (!(bits <= 8 || count > 2) || count <= 0) {
        return nullptr;
    }
    // Never more entries than the buffer holds.
    count = std::min<int64_t>(count, std::max(0, dib.Size() - tableStart) / kRgbQuadSize);
    count = std::min<int64_t>(count, gfx::Palette::kMaxEntries);
    auto palette = std::make_unique<Palette>(m_context);
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* quad = dib.Data(tableStart + i * kRgbQuadSize);
        Color color(quad[2], quad[1], quad[0]);
        if (i == 9 && color == kOffSkyBlue) {
            color = kSkyBlue;
        }
        palette->AppendColor(color, AtEnd::Yes);
    }
    if (bits < 9) {
        palette->FillStandard(StandardSet::Display, AtEnd::Yes);
    }
    m_ownPalette = std::move(palette);
    return m_ownPalette.get();
}

int DibImage::Build(const MemoryBlock& source, ImagePalette imagePalette) {
    if (source.Size() < 2 || source.Data()[0] != 'B' || source.Data()[1] != 'M') {
        return 0;
    }
    const MemoryBlock* dib = &source;
    MemoryBlock widened;
    if (ReadInt(source, kInfoOffset, 4) == kCoreHeaderSize) {
        if (!WidenCoreHeader(source, widened)) {
            return 0;
        }
        dib = &widened;
        if (m_held) {
            m_held = widened;
            dib = &*m_held;
        }
    }
    gfx::DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    if (gfx::DibInfo::ParsePacked(dib->Data(), static_cast<size_t>(dib->Size()), info, bits, bitsSize) == 0) {
        return 0;
    }
    auto bitmap = std::make_unique<gfx::DeviceBitmap>();
    const gfx::PixelFormat format = info.bitCount == 1 ? gfx::PixelFormat::Mono : m_context.ScreenFormat();
    if (bitmap->Create(info.width, info.height, format) == 0) {
        return 0;
    }
    auto dc = m_context.CreateMemoryDc();
    Palette* chosen = ChoosePalette(*dib, imagePalette);
    dc->SelectPalette(chosen != nullptr ? chosen->Device() : nullptr);
    dc->RealizePalette();

    const bool reducible = info.bitCount == 24 && m_context.BitsPerPixel() == 8;
    if (m_offer == OfferConversion::Yes && reducible &&
        m_context.ShowMessage(kOfferText, kOfferCaption, MessageButtons::OkCancel) == MessageAnswer::Cancel) {
        m_offer = OfferConversion::No;
    }
    const uint8_t* header = dib->Data(kInfoOffset);
    if (m_offer == OfferConversion::Yes && reducible) {
        if (Reduce(*dc, *bitmap, info, bits, bitsSize) == 0) {
            return 0;
        }
    } else {
        dc->SetDIBits(*bitmap, 0, info.height, bits, bitsSize, header, info.infoBytes, gfx::DibColors::Rgb);
    }
    dc->SelectPalette(nullptr);
    m_bitmap = std::move(bitmap);
    return 1;
}

int DibImage::Reduce(gfx::Dc& dc, gfx::DeviceBitmap& bitmap, const gfx::DibInfo& info, const uint8_t* bits,
                     size_t bitsSize) {
    gfx::Image pixels;
    if (info.Decode(bits, bitsSize, pixels) == 0) {
        return 0;
    }
    const int32_t width = pixels.Width();
    const int32_t height = pixels.Height();

    // Histogram of 4-bit cells; the counters are 16 bits wide and wrap.
    std::vector<uint16_t> histogram(kCells, 0);
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* row = pixels.View().Row32(y);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t p = row[x];
            const int32_t cell = static_cast<int32_t>((p >> 20 & 15) << 8 | (p >> 12 & 15) << 4 | (p >> 4 & 15));
            ++histogram[static_cast<size_t>(cell)];
        }
    }

    // The most popular cells, most popular first; nearly black cells are left out.
    struct Ranked {
        int32_t cell;
        uint16_t count;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(kMaxRanked + 1);
    for (int32_t cell = 0; cell < kCells; ++cell) {
        const uint16_t count = histogram[static_cast<size_t>(cell)];
        if (count == 0) {
            continue;
        }
        if ((cell >> 8) <= kNearlyBlackLevel && (cell >> 4 & 15) <= kNearlyBlackLevel && (cell & 15) <= kNearlyBlackLevel) {
            continue;
        }
        if (ranked.size() >= kMaxRanked && count <= ranked.back().count) {
            continue;
        }
        auto place = std::partition_point(ranked.begin(), ranked.end(), [count](const Ranked& r) { return r.count > count; });
        ranked.insert(place, Ranked{cell, count});
        if (ranked.size() > kMaxRanked) {
            ranked.pop_back();
        }
    }

    // The palette: low system colours, the ranked cells, black, high system colours.
    auto palette = std::make_unique<Palette>(m_context);
    MemoryBlock header(kInfoHeaderSize + kMaxIndexedColors * kRgbQuadSize);
    PutInfoHeader(header, 0, width, height, 8, kMaxIndexedColors);
    for (int32_t i = 0; i < kMaxIndexedColors; ++i) {
        Color color;
        if (i < SystemColors::kLowCount) {
            color = SystemColors::At(i);
        } else if (i >= SystemColors::kLowCount + kFreeEntries) {
            color = SystemColors::At(i - kFreeEntries);
        } else if (static_cast<size_t>(i - SystemColors::kLowCount) < ranked.size()) {
            color = CellColor(ranked[static_cast<size_t>(i - SystemColors::kLowCount)].cell);
        }
        palette->AppendColor(color, AtEnd::Yes);
        const uint8_t quad[kRgbQuadSize] = {static_cast<uint8_t>(color.Blue()), static_cast<uint8_t>(color.Green()),
                                            static_cast<uint8_t>(color.Red()), 0};
        header.Write(kInfoHeaderSize + i * kRgbQuadSize, quad, kRgbQuadSize);
    }
    palette->FillStandard(StandardSet::Display, AtEnd::Yes);

    // Every pixel becomes the nearest entry; entries past 255 repeat earlier colours and never win.
    const int32_t rowBytes = static_cast<int32_t>(Dib::RowBytes(width, 8));
    std::vector<uint8_t> rows(static_cast<size_t>(rowBytes) * height, 0);
    std::unordered_map<uint32_t, uint8_t> nearest;
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* row = pixels.View().Row32(y);
        uint8_t* out = &rows[static_cast<size_t>(height - 1 - y) * rowBytes];
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t p = row[x] & 0xFFFFFF;
            auto found = nearest.find(p);
            if (found == nearest.end()) {
                const int32_t index = palette->NearestIndex(static_cast<int32_t>(p >> 16), static_cast<int32_t>(p >> 8 & 255),
                                                            static_cast<int32_t>(p & 255));
                found = nearest.emplace(p, static_cast<uint8_t>(std::clamp(index, 0, 255))).first;
            }
            out[x] = found->second;
        }
    }
    m_ownPalette = std::move(palette);
    dc.SelectPalette(m_ownPalette->Device());
    dc.RealizePalette();
    return dc.SetDIBits(bitmap, 0, height, rows.data(), rows.size(), header.Data(), static_cast<size_t>(header.Size()),
                        gfx::DibColors::Rgb) > 0
               ? 1
               : 0;
}

int DibImage::ToPackedDib(MemoryBlock& out, int32_t depth, Palette* palette) {
    if (m_held) {
        out = *m_held;
        return 1;
    }
    if (m_bitmap == nullptr) {
        return 0;
    }
    if (depth == 0) {
        depth = m_sourceDepth;
    }
    if (depth == 16) {
        depth = 24;
    }
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32) {
        return 0;
    }
    int32_t entries = 0;
    switch (depth) {
    case 1: entries = 2; break;
    case 4: entries = 16; break;
    case 8: entries = kMaxIndexedColors; break;
    default: entries = (palette != nullptr || m_ownPalette != nullptr) ? kMaxIndexedColors : 1; break;
    }
    const int32_t width = m_bitmap->Width();
    const int32_t height = m_bitmap->Height();
    const int64_t pixelBytes = Dib::RowBytes(width, depth) * height;
    const int32_t tableBytes = kRgbQuadSize * entries;
    // The pixels start on a 4-byte boundary after the 54 header bytes and the table.
    const int32_t pixelOffset = kHeadersSize + 2 + tableBytes;
    const int64_t total = pixelOffset + 2 + pixelBytes;
    if (total > INT32_MAX) {
        return 0;
    }

    const gfx::Palette* conversion = nullptr;
    gfx::Palette systemCopy;
    if (palette != nullptr) {
        conversion = palette->Device();
    } else if (m_ownPalette != nullptr) {
        m_ownPalette->Device()->Unrealize();
        conversion = m_ownPalette->Device();
    } else if (m_context.Current() != nullptr) {
        conversion = m_context.Current()->Device();
    } else if (m_context.BitsPerPixel() < 9 && m_context.IsPaletteDevice()) {
        std::vector<gfx::PaletteEntry> entriesCopy(gfx::SystemPalette::kSize);
        m_context.System().GetEntries(0, entriesCopy.data(), gfx::SystemPalette::kSize);
        systemCopy = gfx::Palette(std::move(entriesCopy));
        conversion = &systemCopy;
    }

    MemoryBlock packed(static_cast<int32_t>(total));
    packed.WriteString(0, "BM", Nul::Exclude);
    packed.WriteInt(kFileSizeOffset, static_cast<int32_t>(total), 4);
    packed.WriteInt(kPixelOffsetOffset, pixelOffset, 4);
    PutInfoHeader(packed, kInfoOffset, width, height, depth, 0);
    auto dc = m_context.CreateMemoryDc();
    dc->SelectPalette(conversion);
    const size_t infoSize = static_cast<size_t>(kInfoHeaderSize + tableBytes);
    if (dc->GetDIBits(*m_bitmap, 0, height, nullptr, 0, packed.Data(kInfoOffset), infoSize, gfx::DibColors::Rgb) == 0 ||
        dc->GetDIBits(*m_bitmap, 0, height, packed.Data(pixelOffset), static_cast<size_t>(pixelBytes),
                      packed.Data(kInfoOffset), infoSize, gfx::DibColors::Rgb) == 0) {
        return 0;
    }
    if (depth > 8 && conversion != nullptr) {
        const int32_t n = std::min(entries, conversion->Count());
        for (int32_t i = 0; i < n; ++i) {
            const gfx::PaletteEntry& e = conversion->Entries()[static_cast<size_t>(i)];
            const uint8_t quad[kRgbQuadSize] = {e.blue, e.green, e.red, 0};
            packed.Write(kHeadersSize + i * kRgbQuadSize, quad, kRgbQuadSize);
        }
    }
    out = std::move(packed);
    return 1;
}

int32_t DibImage::Width() const {
    if (m_held && m_held->Size() >= kHeadersSize) {
        return ReadInt(*m_held, kInfoOffset + static_cast<int32_t>(Dib::kWidth), 4);
    }
    return m_bitmap != nullptr ? m_bitmap->Width() : 0;
}

int32_t DibImage::Height() const {
    if (m_held && m_held->Size() >= kHeadersSize) {
        return ReadInt(*m_held, kInfoOffset + static_cast<int32_t>(Dib::kHeight), 4);
    }
    return m_bitmap != nullptr ? m_bitmap->Height() : 0;
}

OfferConversion DibImage::ExchangeOfferConversion(OfferConversion offer) {
    const OfferConversion old = m_offer;
    m_offer = offer;
    return old;
}

}  // namespace tamber
