#include "platform/gfx/Palette.h"

#include <algorithm>

#include "platform/gfx/SystemPalette.h"

namespace tamber::gfx {

namespace {

int32_t Distance(const PaletteEntry& e, ColorRef c)
{
    int32_t dr = e.red - RedOf(c);
    int32_t dg = e.green - GreenOf(c);
    int32_t db = e.blue - BlueOf(c);
    return dr * dr + dg * dg + db * db;
}

uint64_t g_nextStamp = 1;

} // namespace

void Palette::Touch()
{
    m_stamp = g_nextStamp++;
}

Palette::Palette(std::vector<PaletteEntry> entries) : m_entries(std::move(entries))
{
    Touch();
    if (m_entries.size() > kMaxEntries)
        m_entries.resize(kMaxEntries);
}

Palette& Palette::operator=(const Palette& other)
{
    if (this != &other) {
        m_entries = other.m_entries;
        Unrealize();
    }
    return *this;
}

int Palette::Resize(int32_t count)
{
    if (count < 1 || count > kMaxEntries)
        return 0;
    m_entries.resize(static_cast<size_t>(count));
    Unrealize();
    return 1;
}

int32_t Palette::SetEntries(int32_t start, const PaletteEntry* entries, int32_t n)
{
    if (start < 0 || n <= 0 || start >= Count() || entries == nullptr)
        return 0;
    n = std::min(n, Count() - start);
    std::copy_n(entries, n, m_entries.begin() + start);
    Unrealize();
    return n;
}

int32_t Palette::GetEntries(int32_t start, PaletteEntry* entries, int32_t n) const
{
    if (start < 0 || n <= 0 || start >= Count() || entries == nullptr)
        return 0;
    n = std::min(n, Count() - start);
    std::copy_n(m_entries.begin() + start, n, entries);
    return n;
}

int32_t Palette::NearestIndex(ColorRef color) const
{
    int32_t best = -1;
    int32_t bestDistance = 0;
    for (int32_t i = 0; i < Count(); ++i) {
        int32_t d = Distance(m_entries[static_cast<size_t>(i)], color);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
            if (d == 0)
                break;
        }
    }
    return best;
}

int32_t Palette::Animate(int32_t start, const PaletteEntry* entries, int32_t n)
{
    if (start < 0 || n <= 0 || start >= Count() || entries == nullptr)
        return 0;
    n = std::min(n, Count() - start);
    int32_t changed = 0;
    for (int32_t k = 0; k < n; ++k) {
        PaletteEntry& e = m_entries[static_cast<size_t>(start + k)];
        if (!(e.flags & kPaletteReserved))
            continue;
        e.red = entries[k].red;
        e.green = entries[k].green;
        e.blue = entries[k].blue;
        ++changed;
        Touch();
        if (m_realizedIn != nullptr && static_cast<size_t>(start + k) < m_map.size()) {
            uint8_t index = m_map[static_cast<size_t>(start + k)];
            if (m_realizedIn->m_state[index] == SystemPalette::State::Reserved)
                m_realizedIn->SetColor(index, e.red, e.green, e.blue);
        }
    }
    return changed;
}

void Palette::Unrealize()
{
    Touch();
    m_map.clear();
    m_realizedIn = nullptr;
}

uint8_t Palette::SystemIndex(int32_t i, const SystemPalette& system) const
{
    if (i < 0 || i >= Count())
        i = 0;
    if (m_realizedIn == &system && static_cast<size_t>(i) < m_map.size())
        return m_map[static_cast<size_t>(i)];
    if (Count() == 0)
        return 0;
    return system.Nearest(m_entries[static_cast<size_t>(i)].Color());
}

uint8_t Palette::SystemIndexForColor(ColorRef color, const SystemPalette& system) const
{
    int32_t i = NearestIndex(color & 0xFFFFFF);
    if (i < 0)
        return system.Nearest(color & 0xFFFFFF);
    return SystemIndex(i, system);
}

} // namespace tamber::gfx
