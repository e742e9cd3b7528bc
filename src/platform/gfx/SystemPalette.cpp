#include "platform/gfx/SystemPalette.h"

#include <cstddef>
#include <cstdint>

namespace tamber::gfx {

namespace {

constexpr int kLowStatic = 10;
constexpr int kHighStaticStart = SystemPalette::kSize - 10;

int StaticSlot(int k) { return k < kLowStatic ? k : kHighStaticStart + (k - kLowStatic); }

} // namespace

const std::array<ColorRef, SystemPalette::kStaticCount>& SystemPalette::StaticColors()
{
    static const std::array<ColorRef, kStaticCount> colors = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0, 0xC0DCC0, 0xF0CAA6,
        0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    return colors;
}

const Palette& SystemPalette::DefaultPalette()
{
    static const Palette palette = [] {
        std::vector<PaletteEntry> entries;
        for (ColorRef c : StaticColors())
            entries.push_back(PaletteEntry { RedOf(c), GreenOf(c), BlueOf(c), kPaletteNormal });
        return Palette(std::move(entries));
    }();
    return palette;
}

SystemPalette::SystemPalette()
{
    m_state.fill(State::Free);
    SetUse(SystemPaletteUse::Static);
}

void SystemPalette::SetColor(int i, uint8_t red, uint8_t green, uint8_t blue)
{
    PaletteEntry& e = m_entries[static_cast<uint8_t>(i)];
    if (e.red == red && e.green == green && e.blue == blue)
        return;
    e.red = red;
    e.green = green;
    e.blue = blue;
    m_pixels[static_cast<uint8_t>(i)] = static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | blue;
    ++m_generation;
}

int32_t SystemPalette::GetEntries(int32_t start, PaletteEntry* entries, int32_t n) const
{
    if (start < 0 || start >= kSize || n <= 0 || entries == nullptr)
        return 0;
    if (n > kSize - start)
        n = kSize - start;
    for (int32_t k = 0; k < n; ++k)
        entries[k] = m_entries[static_cast<size_t>(start + k)];
    return n;
}

SystemPaletteUse SystemPalette::SetUse(SystemPaletteUse use)
{
    SystemPaletteUse old = m_use;
    m_use = use;
    for (int i = 0; i < kSize; ++i) {
        if (m_state[i] == State::Static)
            m_state[i] = State::Free;
    }
    const auto& colors = StaticColors();
    if (use == SystemPaletteUse::Static) {
        for (int k = 0; k < kStaticCount; ++k) {
            int slot = StaticSlot(k);
            SetColor(slot, RedOf(colors[k]), GreenOf(colors[k]), BlueOf(colors[k]));
            m_state[slot] = State::Static;
        }
    } else if (use == SystemPaletteUse::NoStatic) {
        SetColor(0, 0, 0, 0);
        SetColor(kSize - 1, 255, 255, 255);
        m_state[0] = m_state[kSize - 1] = State::Static;
    }
    ++m_generation;
    return old;
}

int SystemPalette::FindFree() const
{
    for (int i = 0; i < kSize; ++i) {
        if (m_state[i] == State::Free)
            return i;
    }
    return -1;
}

uint8_t SystemPalette::Nearest(ColorRef color) const
{
    int best = 0;
    int32_t bestDistance = INT32_MAX;
    for (int i = 0; i < kSize; ++i) {
        int32_t dr = m_entries[i].red - RedOf(color);
        int32_t dg = m_entries[i].green - GreenOf(color);
        int32_t db = m_entries[i].blue - BlueOf(color);
        int32_t d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
            if (d == 0)
                break;
        }
    }
    return static_cast<uint8_t>(best);
}

uint8_t SystemPalette::NearestInUse(ColorRef color) const
{
    int best = -1;
    int32_t bestDistance = INT32_MAX;
    for (int i = 0; i < kSize; ++i) {
        if (m_state[i] == State::Free)
            continue;
        int32_t dr = m_entries[i].red - RedOf(color);
        int32_t dg = m_entries[i].green - GreenOf(color);
        int32_t db = m_entries[i].blue - BlueOf(color);
        int32_t d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best < 0 ? Nearest(color) : static_cast<uint8_t>(best);
}

int32_t SystemPalette::Realize(Palette& palette, RealizeMode mode)
{
    std::array<PaletteEntry, kSize> before = m_entries;
    if (mode == RealizeMode::Foreground) {
        for (int i = 0; i < kSize; ++i) {
            if (m_state[i] != State::Static)
                m_state[i] = State::Free;
        }
    }
    palette.m_map.assign(palette.m_entries.size(), 0);
    // Entries in use count as matches only when realised by this call or static: a colour left in
    // a free entry by an earlier palette is not reserved for anyone.
    auto findExact = [&](const PaletteEntry& e) -> int {
        for (int i = 0; i < kSize; ++i) {
            if ((m_state[i] == State::Static || m_state[i] == State::Used) && m_entries[i].red == e.red
                && m_entries[i].green == e.green && m_entries[i].blue == e.blue)
                return i;
        }
        return -1;
    };
    auto nearestInUse = [&](const PaletteEntry& e) -> int {
        int best = -1;
        int32_t bestDistance = INT32_MAX;
        for (int i = 0; i < kSize; ++i) {
            if (m_state[i] == State::Free)
                continue;
            int32_t dr = m_entries[i].red - e.red, dg = m_entries[i].green - e.green, db = m_entries[i].blue - e.blue;
            int32_t d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        return best < 0 ? Nearest(e.Color()) : best;
    };
    for (size_t k = 0; k < palette.m_entries.size(); ++k) {
        const PaletteEntry& e = palette.m_entries[k];
        int index = -1;
        if (e.flags & kPaletteExplicit) {
            index = (e.red | e.green << 8) & (kSize - 1);
        } else {
            bool ownEntry = (e.flags & (kPaletteReserved | kPaletteNoCollapse)) != 0;
            if (!ownEntry)
                index = findExact(e);
            if (index < 0) {
                int slot = FindFree();
                if (slot >= 0) {
                    SetColor(slot, e.red, e.green, e.blue);
                    m_state[slot] = (e.flags & kPaletteReserved) ? State::Reserved : State::Used;
                    index = slot;
                }
            }
            if (index < 0)
                index = nearestInUse(e);
        }
        palette.m_map[k] = static_cast<uint8_t>(index);
    }
    palette.m_realizedIn = this;
    palette.Touch();
    ++m_generation;
    int32_t changed = 0;
    for (int i = 0; i < kSize; ++i) {
        if (!(before[i].red == m_entries[i].red && before[i].green == m_entries[i].green
                && before[i].blue == m_entries[i].blue))
            ++changed;
    }
    return changed;
}

} // namespace tamber::gfx
