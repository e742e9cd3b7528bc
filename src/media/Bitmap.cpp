#include "media/Bitmap.h"

#include <algorithm>

#include "media/ScreenContext.h"
#include "media/SharedPicturePalette.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/DibFormat.h"

namespace tamber {

namespace {

namespace Dib = gfx::DibFormat;

constexpr int32_t kInfoOffset = 14;
constexpr uint32_t kSourceCopy = 0xCC0020;
constexpr int32_t kTableEntries = 256;

struct ErrorEntry {
    int32_t code;
    const char* text;
};

constexpr ErrorEntry kErrors[] = {
    {Bitmap::kInvalidBitmap, "Invalid Bitmap"},
    {Bitmap::kNoBitmap, "No bitmap has been set for use."},
    {Bitmap::kCannotConvertToFile, "Unable to convert to file format bitmap."},
    {Bitmap::kCannotConvertToBitmap, "Unable to convert to Windows HBitmap."},
    {Bitmap::kInvalidDc, "Given HDC is invalid."},
};

std::unique_ptr<gfx::Palette> CopyOfSystemPalette(ScreenContext& context) {
    std::vector<gfx::PaletteEntry> entries(gfx::SystemPalette::kSize);
    context.System().GetEntries(0, entries.data(), gfx::SystemPalette::kSize);
    return std::make_unique<gfx::Palette>(std::move(entries));
}

}  // namespace

Bitmap::Bitmap(ScreenContext& context, std::unique_ptr<gfx::DeviceBitmap> bitmap, UsePalette usePalette)
    : m_context(context),
      m_bitmap(std::move(bitmap)),
      m_usePalette(usePalette == UsePalette::Yes),
      m_scratch(kScratchSize),
      m_smallScratch(kSmallScratchSize) {
    if (!SharedPicturePalette::AddUser(context)) {
        m_usePalette = false;
    }
}

Bitmap::~Bitmap() {
    SharedPicturePalette::RemoveUser(m_context);
}

const char* Bitmap::ErrorText(int32_t code) const {
    for (const ErrorEntry& entry : kErrors) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return nullptr;
}

void Bitmap::Set(std::unique_ptr<gfx::DeviceBitmap> bitmap) {
    m_bitmap = std::move(bitmap);
}

std::unique_ptr<gfx::DeviceBitmap> Bitmap::Release() {
    return std::move(m_bitmap);
}

int Bitmap::FromFileFormat(gfx::Dc* dc, const MemoryBlock& dib) {
    if (dc == nullptr) {
        SetError(kInvalidDc);
        return 0;
    }
    if (dib.Size() < 2 || dib.Data()[0] != 'B' || dib.Data()[1] != 'M') {
        SetError(kInvalidBitmap);
        return 0;
    }
    gfx::DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    if (gfx::DibInfo::ParsePacked(dib.Data(), static_cast<size_t>(dib.Size()), info, bits, bitsSize) == 0) {
        SetError(kCannotConvertToBitmap);
        return 0;
    }
    const gfx::Palette* old = nullptr;
    bool selected = false;
    if (m_context.BitsPerPixel() <= 8) {
        const gfx::Palette* palette = SharedPicturePalette::Get(m_context);
        if (palette == nullptr && info.IsIndexed()) {
            // A palette of the image's own table: colours used, or the full table of its depth.
            const int32_t count = info.colorsUsed != 0 ? static_cast<int32_t>(info.colorsUsed) : 1 << info.bitCount;
            std::vector<gfx::PaletteEntry> entries;
            for (int32_t i = 0; i < std::min<int32_t>(count, static_cast<int32_t>(info.colors.size())); ++i) {
                const uint32_t c = info.colors[static_cast<size_t>(i)];
                entries.push_back({static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c), 0});
            }
            m_palette = std::make_unique<gfx::Palette>(std::move(entries));
            palette = m_palette.get();
        }
        if (palette != nullptr) {
            old = dc->SelectPalette(palette);
            dc->RealizePalette();
            selected = true;
        }
    }
    const uint8_t* header = dib.Data(kInfoOffset);
    std::unique_ptr<gfx::DeviceBitmap> made;
    if (info.bitCount == 1) {
        made = std::make_unique<gfx::DeviceBitmap>();
        if (made->Create(info.width, info.height, gfx::PixelFormat::Mono) == 0 ||
            dc->SetDIBits(*made, 0, info.height, bits, bitsSize, header, info.infoBytes, gfx::DibColors::Rgb) == 0) {
            made.reset();
        }
    } else {
        made = dc->CreateDIBitmap(bits, bitsSize, header, info.infoBytes, gfx::DibColors::Rgb);
    }
    if (selected) {
        dc->SelectPalette(old);
    }
    if (made == nullptr || made->IsEmpty()) {
        SetError(kCannotConvertToBitmap);
        return 0;
    }
    m_bitmap = std::move(made);
    return 1;
}

bool Bitmap::HasBitmapAndDc(const gfx::Dc* dc) {
    if (m_bitmap == nullptr) {
        SetError(kNoBitmap);
        return false;
    }
    if (dc == nullptr) {
        SetError(kInvalidDc);
        return false;
    }
    return true;
}

int Bitmap::ToFileFormat(gfx::Dc* dc, MemoryBlock& out) {
    if (!HasBitmapAndDc(dc))
        return 0;
    const bool deep = m_bitmap->Format() == gfx::PixelFormat::Rgb32;
    const int32_t bitsPerPixel = deep ? 24 : 8;
    const int64_t width = m_bitmap->Width() * (deep ? 3 : 1);
    const int64_t size = m_bitmap->Height() * (width - width % 4 + 5) + kFileOverhead;
    if (size > INT32_MAX) {
        SetError(kCannotConvertToFile);
        return 0;
    }
    // The palette for the conversion.
    const gfx::Palette* palette = nullptr;
    std::unique_ptr<gfx::Palette> fresh;
    if (m_context.CachedSystemPalette() != nullptr) {
        palette = m_context.CachedSystemPalette().get();
    } else if (m_context.BitsPerPixel() < 9 && SharedPicturePalette::Get(m_context) != nullptr) {
        palette = SharedPicturePalette::Get(m_context);
    } else if (m_context.IsPaletteDevice() && m_context.BitsPerPixel() <= 8) {
        fresh = CopyOfSystemPalette(m_context);
        palette = fresh.get();
    }

    MemoryBlock buffer(static_cast<int32_t>(size));
    buffer.WriteString(0, "BM", Nul::Exclude);
    buffer.WriteInt(2, static_cast<int32_t>(size), 4);
    buffer.WriteInt(10, kPixelOffset, 4);
    buffer.WriteInt(kInfoOffset, 40, 4);
    buffer.WriteInt(kInfoOffset + static_cast<int32_t>(Dib::kWidth), m_bitmap->Width(), 4);
    buffer.WriteInt(kInfoOffset + static_cast<int32_t>(Dib::kHeight), m_bitmap->Height(), 4);
    buffer.WriteInt(kInfoOffset + static_cast<int32_t>(Dib::kPlanes), 1, 2);
    buffer.WriteInt(kInfoOffset + static_cast<int32_t>(Dib::kBitCount), bitsPerPixel, 2);
    const gfx::Palette* old = dc->SelectPalette(palette);
    const size_t infoSize = 40 + 4 * kTableEntries;
    const int64_t pixelBytes = Dib::RowBytes(m_bitmap->Width(), bitsPerPixel) * m_bitmap->Height();
    const int32_t lines = dc->GetDIBits(*m_bitmap, 0, m_bitmap->Height(), buffer.Data(kPixelOffset),
                                        static_cast<size_t>(std::min<int64_t>(pixelBytes, size - kPixelOffset)),
                                        buffer.Data(kInfoOffset), infoSize, gfx::DibColors::Rgb);
    dc->SelectPalette(old);
    if (lines == 0) {
        SetError(kCannotConvertToFile);
        return 0;
    }
    out = std::move(buffer);
    return 1;
}

int Bitmap::Size(int32_t& width, int32_t& height) {
    if (m_bitmap == nullptr) {
        SetError(kNoBitmap);
        return 0;
    }
    width = m_bitmap->Width();
    height = m_bitmap->Height();
    return 1;
}

int Bitmap::Draw(gfx::Dc* dc, Stretch stretch, uint32_t rop, int32_t x, int32_t y, int32_t width, int32_t height,
                 int32_t sx, int32_t sy, int32_t sourceWidth, int32_t sourceHeight) {
    if (!HasBitmapAndDc(dc))
        return 0;
    if (width == 0 || height == 0) {
        width = m_bitmap->Width();
        height = m_bitmap->Height();
    }
    if (sourceWidth == 0 || sourceHeight == 0) {
        sourceWidth = m_bitmap->Width();
        sourceHeight = m_bitmap->Height();
    }
    const gfx::Palette* old = nullptr;
    const gfx::Palette* palette = nullptr;
    if (m_usePalette) {
        palette = SharedPicturePalette::Get(m_context);
        if (palette == nullptr) {
            palette = m_palette.get();
        }
    }
    if (palette != nullptr) {
        old = dc->SelectPalette(palette);
        dc->RealizePalette();
    }
    auto memory = gfx::Dc::CreateCompatible(*dc);
    if (memory->SelectBitmap(m_bitmap.get()) == nullptr) {
        SetError(kInvalidDc);
        return 0;
    }
    int result = 0;
    if (stretch == Stretch::Yes && (width != sourceWidth || height != sourceHeight)) {
        result = dc->StretchBlt(x, y, width, height, memory.get(), sx, sy, sourceWidth, sourceHeight, rop);
    } else {
        result = dc->BitBlt(x, y, width, height, memory.get(), sx, sy, rop);
    }
    if (palette != nullptr) {
        dc->SelectPalette(old);
    }
    return result != 0 ? 1 : 0;
}

int32_t DrawPackedDib(gfx::Dc& dc, const MemoryBlock& dib, int32_t x, int32_t y, int32_t width, int32_t height,
                      int32_t percent, const gfx::Palette* palette) {
    gfx::DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    if (gfx::DibInfo::ParsePacked(dib.Data(), static_cast<size_t>(dib.Size()), info, bits, bitsSize) == 0) {
        return 0;
    }
    if (width == 0) {
        width = static_cast<int32_t>(static_cast<int64_t>(info.width) * percent / 100);
        height = static_cast<int32_t>(static_cast<int64_t>(info.height) * percent / 100);
    }
    const gfx::Palette* old = nullptr;
    if (palette != nullptr) {
        old = dc.SelectPalette(palette);
        dc.RealizePalette();
    }
    const gfx::StretchMode oldMode = dc.SetStretchBltMode(gfx::StretchMode::ColorOnColor);
    const int32_t headerAt = dib.Size() >= 2 && dib.Data()[0] == 'B' && dib.Data()[1] == 'M' ? kInfoOffset : 0;
    const int32_t lines = dc.StretchDIBits(x, y, width, height, 0, 0, info.width, info.height, bits, bitsSize,
                                           dib.Data(headerAt), info.infoBytes, gfx::DibColors::Rgb, kSourceCopy);
    dc.SetStretchBltMode(oldMode);
    if (palette != nullptr) {
        dc.SelectPalette(old);
    }
    return lines;
}

}  // namespace tamber
