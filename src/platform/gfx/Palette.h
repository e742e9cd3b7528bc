#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/ColorRef.h"

namespace tamber::gfx {

class SystemPalette;

// Entry flags of a logical palette.
enum PaletteFlag : uint8_t {
    kPaletteNormal = 0,
    kPaletteReserved = 1,   // kept for animation: gets an entry of its own, never shared
    kPaletteExplicit = 2,   // red and green hold a system palette index
    kPaletteNoCollapse = 4, // gets an entry of its own when one is free, even if the colour exists
};

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;

    ColorRef Color() const { return Rgb(red, green, blue); }
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// A logical palette: the colours an application wants. Realising it in a SystemPalette maps each
// entry to a system index (see SystemPalette::Realize); the mapping is kept here until the
// palette changes or is unrealised. The system palette it was realised in must outlive it.
class Palette {
public:
    static constexpr int32_t kMaxEntries = 1024;

    Palette() { Touch(); }
    explicit Palette(std::vector<PaletteEntry> entries);
    Palette(const Palette& other) : m_entries(other.m_entries) { Touch(); }
    Palette& operator=(const Palette& other);

    int32_t Count() const { return static_cast<int32_t>(m_entries.size()); }
    const std::vector<PaletteEntry>& Entries() const { return m_entries; }

    // Grows (with black, normal entries) or shrinks to count entries, 1..kMaxEntries; answers 1
    // or 0 for a count out of range. The palette is unrealised.
    int Resize(int32_t count);
    // Entries [start, start + n) clamped to the palette; answers how many were copied.
    int32_t SetEntries(int32_t start, const PaletteEntry* entries, int32_t n);
    int32_t GetEntries(int32_t start, PaletteEntry* entries, int32_t n) const;
    // The index of the entry closest to the colour (squared RGB distance, the first of equals),
    // -1 for an empty palette.
    int32_t NearestIndex(ColorRef color) const;
    // Changes reserved entries in [start, start + n) in the palette and, when it is realised, in
    // the system palette at once; other entries are left alone. Answers how many changed.
    int32_t Animate(int32_t start, const PaletteEntry* entries, int32_t n);
    // Forgets the mapping: the next realisation starts afresh.
    void Unrealize();

    bool IsRealizedIn(const SystemPalette* system) const { return m_realizedIn == system && system != nullptr; }
    // The system index entry i maps to; entries never realised map to the nearest system colour.
    uint8_t SystemIndex(int32_t i, const SystemPalette& system) const;
    // The system index of the entry nearest to the colour, for drawing in RGB on an 8-bit device.
    uint8_t SystemIndexForColor(ColorRef color, const SystemPalette& system) const;

    // Changes whenever the colours or the mapping change; unique across all palettes, so that
    // caches keyed by it never mistake one palette for another.
    uint64_t Stamp() const { return m_stamp; }

private:
    friend class SystemPalette;
    void Touch();

    std::vector<PaletteEntry> m_entries;
    std::vector<uint8_t> m_map;
    SystemPalette* m_realizedIn = nullptr;
    uint64_t m_stamp = 0;
};

} // namespace tamber::gfx
