#pragma once

#include <array>
#include <cstdint>

#include "platform/gfx/Palette.h"

namespace tamber::gfx {

enum class SystemPaletteUse { Static = 1, NoStatic = 2, NoStatic256 = 3 };
enum class RealizeMode { Foreground = 0, Background = 1 };

// The 256 hardware colours of an 8-bit screen. With static use, entries 0-9 and 246-255 hold the
// twenty static colours and the 236 between are shared by realised logical palettes; with
// NoStatic only black (0) and white (255) stay; with NoStatic256 nothing does.
//
// Realising a palette maps each of its entries to a system index: an explicit entry to the index
// it names; a reserved or no-collapse entry to a free entry of its own; a normal entry to an
// entry that already holds exactly its colour, else to a free entry. When no entry is free the
// nearest existing colour is used. A foreground realisation first frees every entry that is not
// static; a background one uses only entries still free.
class SystemPalette {
public:
    static constexpr int kSize = 256;
    static constexpr int kStaticCount = 20;
    // The twenty static colours in call form, low ten first.
    static const std::array<ColorRef, kStaticCount>& StaticColors();
    // The default logical palette: the twenty static colours.
    static const Palette& DefaultPalette();

    SystemPalette();

    const PaletteEntry& Entry(int i) const { return m_entries[static_cast<uint8_t>(i)]; }
    int32_t GetEntries(int32_t start, PaletteEntry* entries, int32_t n) const;
    // The colour of each entry as a 32-bit pixel (0x00RRGGBB), for converting indices.
    const std::array<uint32_t, kSize>& Pixels() const { return m_pixels; }
    // Grows whenever a colour or the use of an entry changes, so that presentation and colour
    // caches know to look again.
    uint32_t Generation() const { return m_generation; }

    SystemPaletteUse Use() const { return m_use; }
    // Answers the previous use.
    SystemPaletteUse SetUse(SystemPaletteUse use);
    bool IsStatic(int i) const { return m_state[static_cast<uint8_t>(i)] == State::Static; }

    // Answers the number of system entries whose colour changed.
    int32_t Realize(Palette& palette, RealizeMode mode);
    // The entry nearest to the colour among all 256.
    uint8_t Nearest(ColorRef color) const;
    // The entry nearest to the colour among those that are static or held by a realised palette
    // (all 256 when none are).
    uint8_t NearestInUse(ColorRef color) const;

private:
    friend class Palette;
    enum class State : uint8_t { Static, Free, Used, Reserved };

    void SetColor(int i, uint8_t red, uint8_t green, uint8_t blue);
    int FindFree() const;

    std::array<PaletteEntry, kSize> m_entries {};
    std::array<uint32_t, kSize> m_pixels {};
    std::array<State, kSize> m_state {};
    SystemPaletteUse m_use = SystemPaletteUse::Static;
    uint32_t m_generation = 0;
};

} // namespace tamber::gfx
