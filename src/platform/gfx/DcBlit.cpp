// Block transfers: BitBlt, StretchBlt, ScrollDc and the device-independent bitmap calls.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "platform/gfx/Dc.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/DibFormat.h"
#include "platform/gfx/Palette.h"
#include "platform/gfx/SystemPalette.h"

namespace tamber::gfx {

// Where transferred pixels come from and how they become the target's values.
struct Dc::Source {
    enum class Convert { Lut, Identity32, Nearest, EqualsBk, Threshold };
    Surface surface;
    Convert convert = Convert::Lut;
    bool identity = false; // same values in the same layout: rows can be copied as bytes
    std::array<uint32_t, 256> lut {};
    uint32_t bkPixel = 0;
};

namespace {

void IdentityLut(std::array<uint32_t, 256>& lut)
{
    for (uint32_t i = 0; i < 256; ++i)
        lut[i] = i;
}

uint32_t Luminant(uint32_t pixel)
{
    return ((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) >= 384 ? 1 : 0;
}

// The 16 colours of a 4-bit table, as 0x00RRGGBB.
constexpr std::array<uint32_t, 16> kVgaColors = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

void Put16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        p[k] = static_cast<uint8_t>(v >> (8 * k));
}

// Source columns (or rows) for each destination column: [first, last), clamped to the source.
struct Axis {
    std::vector<int32_t> first, last;
    int32_t validBegin = 0, validEnd = 0; // destination indexes whose source is inside
};

Axis MapAxis(int32_t destLen, int32_t srcStart, int32_t srcLen, int32_t srcLimit, bool mirror, bool ranges)
{
    Axis a;
    a.first.resize(static_cast<size_t>(destLen));
    a.last.resize(static_cast<size_t>(destLen));
    a.validBegin = destLen;
    a.validEnd = 0;
    for (int32_t i = 0; i < destLen; ++i) {
        int32_t k = mirror ? destLen - 1 - i : i;
        int64_t f, l;
        if (srcLen == destLen) {
            f = k;
            l = k + 1;
        } else if (ranges && srcLen > destLen) {
            f = static_cast<int64_t>(k) * srcLen / destLen;
            l = static_cast<int64_t>(k + 1) * srcLen / destLen;
        } else {
            // The source pixel under the centre of the destination pixel.
            f = (2 * static_cast<int64_t>(k) + 1) * srcLen / (2 * static_cast<int64_t>(destLen));
            l = f + 1;
        }
        f = std::max<int64_t>(f + srcStart, 0);
        l = std::min<int64_t>(l + srcStart, srcLimit);
        a.first[static_cast<size_t>(i)] = static_cast<int32_t>(f);
        a.last[static_cast<size_t>(i)] = static_cast<int32_t>(l);
        if (f < l) {
            a.validBegin = std::min(a.validBegin, i);
            a.validEnd = std::max(a.validEnd, i + 1);
        }
    }
    return a;
}

} // namespace

Dc::Source Dc::MakeSource(const Dc& src) const
{
    Source s;
    s.surface = src.Target();
    PixelFormat to = Target().format;
    switch (s.surface.format) {
    case PixelFormat::Mono:
        if (to == PixelFormat::Mono) {
            IdentityLut(s.lut);
            s.identity = true;
        } else {
            // Black source pixels take the text colour, white ones the background colour.
            s.lut[0] = Resolve(m_state.textColor, to);
            s.lut[1] = Resolve(m_state.bkColor, to);
        }
        break;
    case PixelFormat::Indexed8:
        if (to == PixelFormat::Indexed8) {
            IdentityLut(s.lut);
            s.identity = true;
        } else if (to == PixelFormat::Rgb32) {
            std::copy(src.Sys().Pixels().begin(), src.Sys().Pixels().end(), s.lut.begin());
        } else {
            uint32_t bk = src.Resolve(src.m_state.bkColor, PixelFormat::Indexed8);
            for (uint32_t i = 0; i < 256; ++i)
                s.lut[i] = i == bk ? 1 : 0;
        }
        break;
    case PixelFormat::Rgb32:
        if (to == PixelFormat::Rgb32) {
            s.convert = Source::Convert::Identity32;
            s.identity = true;
        } else if (to == PixelFormat::Indexed8) {
            s.convert = Source::Convert::Nearest;
        } else {
            // Pixels of the source's background colour become white, all others black.
            s.convert = Source::Convert::EqualsBk;
            s.bkPixel = ColorRefToPixel(src.m_state.bkColor & 0xFFFFFF);
        }
        break;
    }
    return s;
}

void Dc::ConvertRow(const Source& s, int32_t y, const int32_t* columns, int32_t n, uint32_t* out) const
{
    if (s.surface.format != PixelFormat::Rgb32) {
        const uint8_t* row = s.surface.Row8(y);
        for (int32_t i = 0; i < n; ++i)
            out[i] = s.lut[row[columns[i]]];
        return;
    }
    const uint32_t* row = s.surface.Row32(y);
    switch (s.convert) {
    case Source::Convert::Lut:
    case Source::Convert::Identity32:
        for (int32_t i = 0; i < n; ++i)
            out[i] = row[columns[i]] & 0xFFFFFF;
        break;
    case Source::Convert::Nearest:
        for (int32_t i = 0; i < n; ++i)
            out[i] = NearestIndexCached(row[columns[i]] & 0xFFFFFF);
        break;
    case Source::Convert::EqualsBk:
        for (int32_t i = 0; i < n; ++i)
            out[i] = (row[columns[i]] & 0xFFFFFF) == s.bkPixel ? 1 : 0;
        break;
    case Source::Convert::Threshold:
        for (int32_t i = 0; i < n; ++i)
            out[i] = Luminant(row[columns[i]]);
        break;
    }
}

int Dc::Transfer(const Rect& destDevice, const Source& sourceIn, const Rect& sourceRect, bool mirrorX, bool mirrorY,
                 uint8_t code, const Region* limit)
{
    Surface dst = Target();
    if (!dst.IsValid() || destDevice.IsEmpty())
        return 0;
    const bool useSource = Rop3UsesSource(code);
    if (useSource && (!sourceIn.surface.IsValid() || sourceRect.IsEmpty()))
        return 0;
    const bool sameSize = destDevice.Width() == sourceRect.Width() && destDevice.Height() == sourceRect.Height();
    if (useSource && code == 0xCC && sourceIn.identity && sameSize && !mirrorX && !mirrorY
        && CopyRows(destDevice, sourceIn.surface, sourceRect, limit))
        return 1;
    Source source = sourceIn;
    Image temp;
    if (useSource && source.surface.pixels == dst.pixels) {
        // Overlapping copies within one surface read from a snapshot.
        temp.Create(source.surface.width, source.surface.height, source.surface.format);
        Surface t = temp.View();
        for (int32_t y = 0; y < t.height; ++y)
            std::memcpy(t.Row(y), source.surface.Row(y), static_cast<size_t>(t.width) * BytesPerPixel(t.format));
        source.surface = t;
    }
    const int32_t dw = destDevice.Width(), dh = destDevice.Height();
    const StretchMode mode = m_state.stretchMode;
    const bool oneToOne = dw == sourceRect.Width() && dh == sourceRect.Height() && !mirrorX && !mirrorY;
    const bool ranges = !oneToOne && mode != StretchMode::ColorOnColor;
    Axis ax, ay;
    if (useSource) {
        ax = MapAxis(dw, sourceRect.left, sourceRect.Width(), source.surface.width, mirrorX, ranges);
        ay = MapAxis(dh, sourceRect.top, sourceRect.Height(), source.surface.height, mirrorY, ranges);
    } else {
        ax.validBegin = ay.validBegin = 0;
        ax.validEnd = dw;
        ay.validEnd = dh;
    }
    // No destination column or row has a source inside the image: nothing to draw (the rectangle
    // below would come out inverted, and a region normalises it).
    if (ax.validBegin >= ax.validEnd || ay.validBegin >= ay.validEnd)
        return 1;
    Rect valid { destDevice.left + ax.validBegin, destDevice.top + ay.validBegin, destDevice.left + ax.validEnd,
                 destDevice.top + ay.validEnd };
    Region area = Region::Combine(Region(valid), EffectiveClip(), CombineMode::And);
    if (limit)
        area = Region::Combine(area, *limit, CombineMode::And);
    if (area.IsEmpty())
        return 1;

    const uint32_t mask = MaskOf(dst.format);
    const int bpp = BytesPerPixel(dst.format);
    const bool usePattern = Rop3UsesPattern(code);
    std::vector<uint32_t> src, pat, dbuf, acc;
    std::vector<int32_t> cols;
    for (const Rect& r : area.Rects()) {
        const int32_t n = r.Width();
        src.resize(static_cast<size_t>(n));
        pat.resize(static_cast<size_t>(n));
        dbuf.resize(static_cast<size_t>(n));
        cols.resize(static_cast<size_t>(n));
        const int32_t i0 = r.left - destDevice.left;
        bool colsWide = false;
        if (useSource) {
            for (int32_t i = 0; i < n; ++i) {
                cols[static_cast<size_t>(i)] = ax.first[static_cast<size_t>(i0 + i)];
                colsWide = colsWide || ax.last[static_cast<size_t>(i0 + i)] - ax.first[static_cast<size_t>(i0 + i)] > 1;
            }
        }
        // Straight copies of rows of the same layout.
        if (code == 0xCC && source.identity && oneToOne) {
            for (int32_t y = r.top; y < r.bottom; ++y) {
                int32_t sy = ay.first[static_cast<size_t>(y - destDevice.top)];
                std::memcpy(dst.Row(y) + static_cast<ptrdiff_t>(r.left) * bpp,
                            source.surface.Row(sy) + static_cast<ptrdiff_t>(cols[0]) * bpp,
                            static_cast<size_t>(n) * bpp);
            }
            continue;
        }
        // Nearest-neighbour copies: gather a row, repeat it while the source row stays the same.
        if (code == 0xCC && source.identity && !ranges) {
            int32_t lastSy = -1;
            uint8_t* lastRow = nullptr;
            for (int32_t y = r.top; y < r.bottom; ++y) {
                int32_t sy = ay.first[static_cast<size_t>(y - destDevice.top)];
                uint8_t* out = dst.Row(y) + static_cast<ptrdiff_t>(r.left) * bpp;
                if (sy == lastSy) {
                    std::memcpy(out, lastRow, static_cast<size_t>(n) * bpp);
                    continue;
                }
                if (bpp == 4) {
                    const uint32_t* in = source.surface.Row32(sy);
                    uint32_t* o = reinterpret_cast<uint32_t*>(out);
                    for (int32_t i = 0; i < n; ++i)
                        o[i] = in[cols[static_cast<size_t>(i)]];
                } else {
                    const uint8_t* in = source.surface.Row8(sy);
                    for (int32_t i = 0; i < n; ++i)
                        out[i] = in[cols[static_cast<size_t>(i)]];
                }
                lastSy = sy;
                lastRow = out;
            }
            continue;
        }
        for (int32_t y = r.top; y < r.bottom; ++y) {
            const int32_t j = y - destDevice.top;
            if (useSource) {
                int32_t sy0 = ay.first[static_cast<size_t>(j)], sy1 = ay.last[static_cast<size_t>(j)];
                bool wide = ranges && (sy1 - sy0 > 1 || colsWide);
                if (!wide) {
                    ConvertRow(source, sy0, cols.data(), n, src.data());
                } else {
                    // Shrinking: combine every source pixel that falls on a destination pixel.
                    const bool average = mode == StretchMode::Halftone && dst.format == PixelFormat::Rgb32;
                    acc.assign(static_cast<size_t>(n) * (average ? 4 : 1), 0);
                    std::vector<uint32_t> one(1);
                    for (int32_t i = 0; i < n; ++i) {
                        int32_t x0 = ax.first[static_cast<size_t>(i0 + i)], x1 = ax.last[static_cast<size_t>(i0 + i)];
                        uint32_t value = mode == StretchMode::BlackOnWhite ? 0xFFFFFFFF : 0;
                        uint32_t sums[3] = { 0, 0, 0 };
                        uint32_t count = 0;
                        for (int32_t sy = sy0; sy < sy1; ++sy) {
                            for (int32_t sx = x0; sx < x1; ++sx) {
                                ConvertRow(source, sy, &sx, 1, one.data());
                                uint32_t v = one[0];
                                if (average) {
                                    sums[0] += v >> 16 & 0xFF;
                                    sums[1] += v >> 8 & 0xFF;
                                    sums[2] += v & 0xFF;
                                    ++count;
                                } else if (mode == StretchMode::BlackOnWhite) {
                                    value &= v;
                                } else {
                                    value |= v;
                                }
                            }
                        }
                        if (average && count > 0)
                            value = (sums[0] + count / 2) / count << 16 | (sums[1] + count / 2) / count << 8
                                | (sums[2] + count / 2) / count;
                        src[static_cast<size_t>(i)] = value & mask;
                    }
                }
            }
            if (usePattern)
                PatternRow(m_state.brush, dst.format, y, r.left, n, pat.data(), nullptr);
            if (dst.format == PixelFormat::Rgb32) {
                RopRow32(code, dst.Row32(y) + r.left, useSource ? src.data() : nullptr, usePattern ? pat.data() : nullptr,
                         n, mask);
            } else {
                uint8_t* row = dst.Row8(y) + r.left;
                for (int32_t i = 0; i < n; ++i)
                    dbuf[static_cast<size_t>(i)] = row[i];
                RopRow32(code, dbuf.data(), useSource ? src.data() : nullptr, usePattern ? pat.data() : nullptr, n, mask);
                for (int32_t i = 0; i < n; ++i)
                    row[i] = static_cast<uint8_t>(dbuf[static_cast<size_t>(i)]);
            }
        }
    }
    return 1;
}

// Straight copies of rows of the same layout, one to one, with no mapping tables: the common
// blit. Within one surface the rows go in the order that never reads what was written, which
// needs a single clip rectangle; answers false (nothing done) otherwise.
bool Dc::CopyRows(const Rect& destDevice, const Surface& source, const Rect& sourceRect, const Region* limit)
{
    Surface dst = Target();
    const bool sameSurface = source.pixels == dst.pixels;
    const Region& clip = EffectiveClip();
    Region limited;
    const std::vector<Rect>* rects = &clip.Rects();
    if (limit) {
        limited = Region::Combine(clip, *limit, CombineMode::And);
        rects = &limited.Rects();
    }
    if (sameSurface && rects->size() > 1)
        return false;
    const int32_t ox = sourceRect.left - destDevice.left, oy = sourceRect.top - destDevice.top;
    const Rect valid = destDevice.Intersect(source.Bounds().Offset(-ox, -oy));
    const int bpp = BytesPerPixel(dst.format);
    for (const Rect& c : *rects) {
        const Rect r = valid.Intersect(c);
        if (r.IsEmpty())
            continue;
        const size_t bytes = static_cast<size_t>(r.Width()) * bpp;
        const ptrdiff_t dx = static_cast<ptrdiff_t>(r.left) * bpp, sx = static_cast<ptrdiff_t>(r.left + ox) * bpp;
        if (sameSurface && oy < 0) {
            for (int32_t y = r.bottom - 1; y >= r.top; --y)
                std::memmove(dst.Row(y) + dx, source.Row(y + oy) + sx, bytes);
        } else if (sameSurface) {
            for (int32_t y = r.top; y < r.bottom; ++y)
                std::memmove(dst.Row(y) + dx, source.Row(y + oy) + sx, bytes);
        } else {
            for (int32_t y = r.top; y < r.bottom; ++y)
                std::memcpy(dst.Row(y) + dx, source.Row(y + oy) + sx, bytes);
        }
    }
    return true;
}

int Dc::BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, const Dc* source, int32_t sx, int32_t sy,
               uint32_t rop)
{
    return StretchBlt(x, y, width, height, source, sx, sy, width, height, rop);
}

int Dc::StretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, const Dc* source, int32_t sx, int32_t sy,
                   int32_t sourceWidth, int32_t sourceHeight, uint32_t rop)
{
    uint8_t code = Rop3Code(rop);
    bool useSource = Rop3UsesSource(code);
    if (useSource && source == nullptr)
        return 0;
    if (width == 0 || height == 0)
        return 0;
    Point d = ToDevice(Point { x, y });
    Rect dest = Rect { d.x, d.y, d.x + width, d.y + height }.Normalized();
    Source src;
    Rect srcRect;
    bool mirrorX = false, mirrorY = false;
    if (useSource) {
        if (sourceWidth == 0 || sourceHeight == 0)
            return 0;
        src = MakeSource(*source);
        Point s = source->ToDevice(Point { sx, sy });
        srcRect = Rect { s.x, s.y, s.x + sourceWidth, s.y + sourceHeight }.Normalized();
        mirrorX = (width < 0) != (sourceWidth < 0);
        mirrorY = (height < 0) != (sourceHeight < 0);
    }
    return Transfer(dest, src, srcRect, mirrorX, mirrorY, code);
}

int Dc::ScrollDc(int32_t dx, int32_t dy, const Rect* scroll, const Rect* clip, Region* uncovered)
{
    Rect scrollDev = scroll ? ToDevice(scroll->Normalized()) : Target().Bounds();
    Rect clipDev = clip ? ToDevice(clip->Normalized()) : scrollDev;
    Region limit(clipDev);
    Source src = MakeSource(*this);
    Transfer(scrollDev.Offset(dx, dy), src, scrollDev, false, false, 0xCC, &limit);
    if (uncovered) {
        Region visible = Region::Combine(Region(scrollDev), limit, CombineMode::And);
        *uncovered = Region::Combine(visible, Region(scrollDev.Offset(dx, dy)), CombineMode::Diff);
    }
    return 1;
}

void Dc::DibColorLut(const DibInfo& info, PixelFormat format, uint32_t* lut) const
{
    const Palette& palette = CurrentPalette();
    for (int32_t k = 0; k < 256; ++k) {
        int32_t e = std::min(k, std::max(0, info.tableEntries - 1));
        uint32_t pixel = 0;
        if (info.usage == DibColors::Palette) {
            int32_t index = e < static_cast<int32_t>(info.indices.size()) ? info.indices[static_cast<size_t>(e)] : 0;
            if (format == PixelFormat::Indexed8) {
                lut[k] = palette.SystemIndex(index, Sys());
                continue;
            }
            if (index < palette.Count())
                pixel = ColorRefToPixel(palette.Entries()[static_cast<size_t>(index)].Color());
        } else if (e < static_cast<int32_t>(info.colors.size())) {
            pixel = info.colors[static_cast<size_t>(e)];
        }
        switch (format) {
        case PixelFormat::Rgb32: lut[k] = pixel; break;
        case PixelFormat::Indexed8: lut[k] = NearestIndexCached(pixel); break;
        case PixelFormat::Mono: lut[k] = Luminant(pixel); break;
        }
    }
}

int32_t Dc::StretchDIBits(int32_t x, int32_t y, int32_t width, int32_t height, int32_t sx, int32_t sy,
                          int32_t sourceWidth, int32_t sourceHeight, const uint8_t* bits, size_t bitsSize,
                          const uint8_t* info, size_t infoSize, DibColors usage, uint32_t rop)
{
    DibInfo dib;
    if (!DibInfo::Parse(info, infoSize, usage, dib))
        return 0;
    return DibTransfer(x, y, width, height, sx, sy, sourceWidth, sourceHeight, bits, bitsSize, dib, rop);
}

// Decodes the pixels a transfer reads. An uncompressed image is decoded only in the window of
// whole bytes around the source rectangle, which is then made relative to the window: a
// transfer of a small part of a large image (one strip, one cell) costs that part only.
int32_t Dc::DecodeForTransfer(const DibInfo& dib, const uint8_t* bits, size_t bitsSize, Rect& sourceRect,
                              Image& pixels, Image& coverage)
{
    const bool compressed = dib.compression == DibFormat::kBiRle8 || dib.compression == DibFormat::kBiRle4;
    Rect window = sourceRect.Intersect(Rect { 0, 0, dib.width, dib.height });
    if (compressed || window.IsEmpty() || bits == nullptr)
        return dib.Decode(bits, bitsSize, pixels, &coverage);
    // Pixels narrower than a byte: the window starts on a byte.
    const int32_t perByte = dib.bitCount < 8 ? 8 / dib.bitCount : 1;
    window.left -= window.left % perByte;
    const int64_t rowsStart = (dib.topDown ? window.top : dib.height - window.bottom) * dib.rowBytes;
    int64_t offset = rowsStart + static_cast<int64_t>(window.left) * dib.bitCount / 8;
    // Decoding steps whole rows from the window's left edge, so its last row must fit in full;
    // where it does not (the last stored row), the window takes whole rows.
    if (offset + window.Height() * dib.rowBytes > static_cast<int64_t>(bitsSize)) {
        window.left = 0;
        window.right = dib.width;
        offset = rowsStart;
        if (offset + window.Height() * dib.rowBytes > static_cast<int64_t>(bitsSize))
            return dib.Decode(bits, bitsSize, pixels, &coverage);
    }
    DibInfo part = dib;
    part.width = window.Width();
    part.height = window.Height();
    const int32_t rows = part.Decode(bits + offset, bitsSize - static_cast<size_t>(offset), pixels);
    if (rows > 0)
        sourceRect = sourceRect.Offset(-window.left, -window.top);
    return rows;
}

int32_t Dc::DibTransfer(int32_t x, int32_t y, int32_t width, int32_t height, int32_t sx, int32_t sy,
                        int32_t sourceWidth, int32_t sourceHeight, const uint8_t* bits, size_t bitsSize,
                        const DibInfo& dib, uint32_t rop)
{
    uint8_t code = Rop3Code(rop);
    if (width == 0 || height == 0 || sourceWidth == 0 || sourceHeight == 0)
        return 0;
    // The source origin of a bottom-up image is its lower-left corner.
    int32_t srcTop = dib.topDown ? sy : dib.height - sy - sourceHeight;
    if (sourceHeight < 0)
        srcTop = dib.topDown ? sy + sourceHeight : dib.height - sy;
    Rect srcRect = Rect { sx, srcTop, sx + sourceWidth, srcTop + std::abs(sourceHeight) }.Normalized();
    Image pixels, coverage;
    if (Rop3UsesSource(code) && DecodeForTransfer(dib, bits, bitsSize, srcRect, pixels, coverage) == 0)
        return 0;
    PixelFormat to = Target().format;
    Source src;
    src.surface = pixels.View();
    if (dib.IsIndexed()) {
        DibColorLut(dib, to, src.lut.data());
    } else {
        src.convert = to == PixelFormat::Rgb32 ? Source::Convert::Identity32
            : to == PixelFormat::Indexed8      ? Source::Convert::Nearest
                                               : Source::Convert::Threshold;
        src.identity = to == PixelFormat::Rgb32;
    }
    Point d = ToDevice(Point { x, y });
    Rect dest = Rect { d.x, d.y, d.x + width, d.y + height }.Normalized();
    bool mirrorX = (width < 0) != (sourceWidth < 0);
    bool mirrorY = (height < 0) != (sourceHeight < 0);
    // Pixels a compressed image skips leave the destination as it was.
    std::optional<Region> written;
    if (!coverage.IsEmpty())
        written = CoveredDestination(coverage, dest, srcRect, mirrorX, mirrorY);
    if (!Transfer(dest, src, srcRect, mirrorX, mirrorY, code, written ? &*written : nullptr))
        return 0;
    return std::abs(height);
}

// The destination pixels whose source pixel (the first one, when several fall on it) is set in
// the coverage image.
Region Dc::CoveredDestination(const Image& coverage, const Rect& dest, const Rect& sourceRect, bool mirrorX,
                              bool mirrorY) const
{
    const int32_t dw = dest.Width(), dh = dest.Height();
    const bool oneToOne = dw == sourceRect.Width() && dh == sourceRect.Height() && !mirrorX && !mirrorY;
    const bool ranges = !oneToOne && m_state.stretchMode != StretchMode::ColorOnColor;
    Axis ax = MapAxis(dw, sourceRect.left, sourceRect.Width(), coverage.Width(), mirrorX, ranges);
    Axis ay = MapAxis(dh, sourceRect.top, sourceRect.Height(), coverage.Height(), mirrorY, ranges);
    const Surface cover = coverage.View();
    std::vector<std::vector<Region::Span>> rows(static_cast<size_t>(dh));
    for (int32_t j = ay.validBegin; j < ay.validEnd; ++j) {
        const int32_t sy = ay.first[static_cast<size_t>(j)];
        if (sy >= ay.last[static_cast<size_t>(j)])
            continue;
        const uint8_t* row = cover.Row8(sy);
        auto& spans = rows[static_cast<size_t>(j)];
        for (int32_t i = ax.validBegin; i < ax.validEnd; ++i) {
            const int32_t sx = ax.first[static_cast<size_t>(i)];
            if (sx >= ax.last[static_cast<size_t>(i)] || !row[sx])
                continue;
            const int32_t x = dest.left + i;
            if (!spans.empty() && spans.back().right == x)
                ++spans.back().right;
            else
                spans.push_back(Region::Span { x, x + 1 });
        }
    }
    return Region::FromRows(dest.top, rows);
}

int32_t Dc::SetDIBits(DeviceBitmap& bitmap, int32_t startScan, int32_t numScans, const uint8_t* bits,
                      size_t bitsSize, const uint8_t* info, size_t infoSize, DibColors usage)
{
    DibInfo dib;
    if (bitmap.IsEmpty() || !DibInfo::Parse(info, infoSize, usage, dib) || bits == nullptr)
        return 0;
    bool compressed = dib.compression == DibFormat::kBiRle4 || dib.compression == DibFormat::kBiRle8;
    if (compressed) {
        startScan = 0;
        numScans = dib.height;
    }
    if (startScan < 0 || numScans <= 0 || startScan >= dib.height)
        return 0;
    numScans = std::min(numScans, dib.height - startScan);
    DibInfo part = dib;
    part.height = numScans;
    Image pixels, coverage;
    int32_t decoded = part.Decode(bits, bitsSize, pixels, &coverage);
    if (decoded == 0)
        return 0;
    Surface out = bitmap.View();
    std::array<uint32_t, 256> lut {};
    if (dib.IsIndexed())
        DibColorLut(dib, out.format, lut.data());
    int32_t w = std::min(dib.width, out.width);
    std::vector<int32_t> cols(static_cast<size_t>(w));
    for (int32_t i = 0; i < w; ++i)
        cols[static_cast<size_t>(i)] = i;
    Source src;
    src.surface = pixels.View();
    src.lut = lut;
    src.convert = out.format == PixelFormat::Rgb32 ? Source::Convert::Identity32
        : out.format == PixelFormat::Indexed8      ? Source::Convert::Nearest
                                                   : Source::Convert::Threshold;
    std::vector<uint32_t> row(static_cast<size_t>(w));
    for (int32_t j = 0; j < numScans; ++j) {
        // Row j of the part, top first, is scan startScan + numScans - 1 - j of a bottom-up image
        // (scans count from the bottom) and scan startScan + j of a top-down one.
        int32_t y = dib.topDown ? startScan + j : dib.height - 1 - (startScan + numScans - 1 - j);
        // The bitmap's rows line up with the image's bottom when heights differ.
        if (!dib.topDown)
            y -= dib.height - out.height;
        if (y < 0 || y >= out.height)
            continue;
        ConvertRow(src, j, cols.data(), w, row.data());
        // Pixels a compressed image skips keep what the bitmap held.
        for (int32_t i = 0; i < w; ++i)
            if (coverage.IsEmpty() || coverage.Get(i, j))
                out.Set(i, y, row[static_cast<size_t>(i)]);
    }
    return numScans;
}

std::unique_ptr<DeviceBitmap> Dc::CreateDIBitmap(const uint8_t* bits, size_t bitsSize, const uint8_t* info,
                                                 size_t infoSize, DibColors usage)
{
    DibInfo dib;
    if (!DibInfo::Parse(info, infoSize, usage, dib))
        return nullptr;
    auto bitmap = std::make_unique<DeviceBitmap>(dib.width, dib.height, m_deviceFormat);
    if (bitmap->IsEmpty())
        return nullptr;
    if (bits != nullptr)
        SetDIBits(*bitmap, 0, dib.height, bits, bitsSize, info, infoSize, usage);
    return bitmap;
}

int32_t Dc::GetDIBits(const DeviceBitmap& bitmap, int32_t startScan, int32_t numScans, uint8_t* bits,
                      size_t bitsSize, uint8_t* info, size_t infoSize, DibColors usage)
{
    using namespace DibFormat;
    if (bitmap.IsEmpty() || info == nullptr || infoSize < kInfoHeaderSize)
        return 0;
    auto get16 = [&](size_t at) { return static_cast<int>(info[at] | info[at + 1] << 8); };
    auto get32 = [&](size_t at) {
        return static_cast<int32_t>(info[at] | info[at + 1] << 8 | info[at + 2] << 16 | static_cast<uint32_t>(info[at + 3]) << 24);
    };
    uint32_t headerSize = static_cast<uint32_t>(get32(0));
    if (headerSize < kInfoHeaderSize || headerSize > infoSize)
        return 0;
    const Surface in = bitmap.View();
    int bitCount = get16(kBitCount);
    bool topDown = get32(kHeight) < 0;
    if (bitCount == 0) {
        // Asked only for the format: describe the bitmap as it is.
        bitCount = in.format == PixelFormat::Mono ? 1 : in.format == PixelFormat::Indexed8 ? 8 : 32;
        Put32(info + kWidth, static_cast<uint32_t>(in.width));
        Put32(info + kHeight, static_cast<uint32_t>(in.height));
        Put16(info + kPlanes, 1);
        Put16(info + kBitCount, static_cast<uint32_t>(bitCount));
        Put32(info + kCompression, kBiRgb);
        Put32(info + kSizeImage, static_cast<uint32_t>(RowBytes(in.width, bitCount) * in.height));
        return 1;
    }
    if ((bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        || get32(kCompression) != static_cast<int32_t>(kBiRgb))
        return 0;
    // The colour table: black and white, the 16 standard colours, or the selected palette (the
    // system palette while the default palette is selected).
    std::vector<uint32_t> table;
    if (bitCount == 1) {
        table = { 0x000000, 0xFFFFFF };
    } else if (bitCount == 4) {
        table.assign(kVgaColors.begin(), kVgaColors.end());
    } else if (bitCount == 8) {
        if (m_state.palette != nullptr) {
            for (const PaletteEntry& e : m_state.palette->Entries()) {
                if (table.size() < 256)
                    table.push_back(ColorRefToPixel(e.Color()));
            }
            table.resize(256, 0);
        } else {
            table.assign(Sys().Pixels().begin(), Sys().Pixels().end());
        }
    }
    size_t entrySize = usage == DibColors::Palette ? 2 : 4;
    if (headerSize + table.size() * entrySize > infoSize)
        return 0;
    int64_t rowBytes = RowBytes(in.width, bitCount);
    Put32(info + kWidth, static_cast<uint32_t>(in.width));
    Put32(info + kHeight, static_cast<uint32_t>(topDown ? -in.height : in.height));
    Put16(info + kPlanes, 1);
    Put32(info + kSizeImage, static_cast<uint32_t>(rowBytes * in.height));
    Put32(info + kColorsUsed, 0);
    for (size_t k = 0; k < table.size(); ++k) {
        uint8_t* e = info + headerSize + k * entrySize;
        if (usage == DibColors::Palette) {
            Put16(e, static_cast<uint32_t>(k));
        } else {
            e[0] = static_cast<uint8_t>(table[k]);
            e[1] = static_cast<uint8_t>(table[k] >> 8);
            e[2] = static_cast<uint8_t>(table[k] >> 16);
            e[3] = 0;
        }
    }
    if (bits == nullptr)
        return 1;
    if (startScan < 0 || numScans <= 0 || startScan >= in.height)
        return 0;
    numScans = std::min(numScans, in.height - startScan);
    if (static_cast<int64_t>(bitsSize) < rowBytes * numScans)
        return 0;
    // Pixel colours to table indices, remembered per colour.
    std::array<int32_t, 256> byValue;
    byValue.fill(-1);
    auto nearestInTable = [&](uint32_t pixel) {
        int32_t best = 0, bestDistance = INT32_MAX;
        for (size_t k = 0; k < table.size(); ++k) {
            int32_t dr = static_cast<int32_t>(table[k] >> 16 & 0xFF) - static_cast<int32_t>(pixel >> 16 & 0xFF);
            int32_t dg = static_cast<int32_t>(table[k] >> 8 & 0xFF) - static_cast<int32_t>(pixel >> 8 & 0xFF);
            int32_t db = static_cast<int32_t>(table[k] & 0xFF) - static_cast<int32_t>(pixel & 0xFF);
            int32_t d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                best = static_cast<int32_t>(k);
                bestDistance = d;
            }
        }
        return best;
    };
    std::vector<std::pair<uint32_t, int32_t>> cache(1024, { 0xFFFFFFFF, 0 });
    auto indexOf = [&](uint32_t value) -> int32_t {
        if (in.format != PixelFormat::Rgb32 && byValue[value & 0xFF] >= 0)
            return byValue[value & 0xFF];
        uint32_t pixel = ColorRefToPixel(ColorOf(value, in.format));
        int32_t index;
        if (in.format == PixelFormat::Indexed8 && m_state.palette == nullptr && bitCount == 8) {
            index = static_cast<int32_t>(value & 0xFF);
        } else {
            auto& slot = cache[(pixel * 2654435761u >> 22) & 1023];
            if (slot.first != pixel)
                slot = { pixel, nearestInTable(pixel) };
            index = slot.second;
        }
        if (in.format != PixelFormat::Rgb32)
            byValue[value & 0xFF] = index;
        return index;
    };
    for (int32_t j = 0; j < numScans; ++j) {
        int32_t scan = startScan + j;
        int32_t y = topDown ? scan : in.height - 1 - scan;
        uint8_t* out = bits + j * rowBytes;
        std::memset(out, 0, static_cast<size_t>(rowBytes));
        for (int32_t x = 0; x < in.width; ++x) {
            uint32_t v = in.Get(x, y);
            switch (bitCount) {
            case 1:
                if (indexOf(v))
                    out[x >> 3] = static_cast<uint8_t>(out[x >> 3] | 0x80 >> (x & 7));
                break;
            case 4: out[x >> 1] = static_cast<uint8_t>(out[x >> 1] | indexOf(v) << ((x & 1) ? 0 : 4)); break;
            case 8: out[x] = static_cast<uint8_t>(indexOf(v)); break;
            default: {
                uint32_t pixel = ColorRefToPixel(ColorOf(v, in.format));
                uint8_t* p = out + static_cast<ptrdiff_t>(x) * (bitCount / 8);
                p[0] = static_cast<uint8_t>(pixel);
                p[1] = static_cast<uint8_t>(pixel >> 8);
                p[2] = static_cast<uint8_t>(pixel >> 16);
                if (bitCount == 32)
                    p[3] = 0;
            }
            }
        }
    }
    return numScans;
}

} // namespace tamber::gfx
