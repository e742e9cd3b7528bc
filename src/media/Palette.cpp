#include "media/Palette.h"

#include <cmath>
#include <vector>

#include "media/ScreenContext.h"
#include "media/SystemColors.h"

namespace tamber {

namespace {

constexpr int32_t kDefaultFadeSteps = 30;
constexpr int32_t kMaxFadeSteps = 100;
// Fades move a level from 1 to 10; the colours are scaled by its logarithm.
constexpr double kFadeSpan = 9.0;
constexpr double kLowestLevel = 1.0;
constexpr double kHighestLevel = 10.0;

// The sixteen colours of a 4-bit display after white and black.
constexpr uint32_t kFourBitColors[] = {
    0xFFFFFF, 0x000000, 0xC0C0C0, 0x808080, 0x0000FF, 0x000080, 0x00FFFF, 0x008080,
    0x00FF00, 0x008000, 0xFFFF00, 0x808000, 0xFF0000, 0x800000, 0xFF00FF, 0x800080,
};

// The 236 colours between the system colours of the full set: levels of red, green, blue.
constexpr int32_t kRedLevels = 8;
constexpr int32_t kGreenLevels = 6;
constexpr int32_t kBlueLevels = 5;
constexpr int32_t kRedStep = 36;
constexpr int32_t kGreenStep = 51;
constexpr int32_t kBlueStep = 63;

}  // namespace

Palette::Palette(ScreenContext& context) : m_context(context), m_device(std::make_unique<gfx::Palette>()) {
    m_buffer.AppendInt(kVersion, 2);
    m_buffer.AppendInt(0, 2);
}

Palette::~Palette() {
    ReleaseCurrent();
}

uint8_t Palette::FlagFor(const Color& color) const {
    return m_context.BitsPerPixel() == 8 && SystemColors::IsSystemColor(color) ? kNormal : kNoCollapse;
}

void Palette::WriteEntry(int32_t index, const Color& color, uint8_t flags) {
    const int32_t offset = kHeaderSize + index * kEntrySize;
    m_buffer.WriteInt(offset, color.Red(), 1);
    m_buffer.WriteInt(offset + 1, color.Green(), 1);
    m_buffer.WriteInt(offset + 2, color.Blue(), 1);
    m_buffer.WriteInt(offset + 3, flags, 1);
}

void Palette::RefillDevice() {
    if (IsCurrent()) {
        m_device->Unrealize();
    }
    std::vector<gfx::PaletteEntry> entries(static_cast<size_t>(m_count));
    for (int32_t i = 0; i < m_count; ++i) {
        const uint8_t* entry = m_buffer.Data(kHeaderSize + i * kEntrySize);
        entries[static_cast<size_t>(i)] = {entry[0], entry[1], entry[2], entry[3]};
    }
    *m_device = gfx::Palette(std::move(entries));
}

int32_t Palette::AppendColor(const Color& color, AtEnd atEnd) {
    const uint8_t entry[kEntrySize] = {static_cast<uint8_t>(color.Red()), static_cast<uint8_t>(color.Green()),
                                       static_cast<uint8_t>(color.Blue()), FlagFor(color)};
    const int32_t offset = atEnd == AtEnd::Yes ? kHeaderSize + m_count * kEntrySize : kHeaderSize;
    m_buffer.Resize(kHeaderSize + m_count * kEntrySize);
    m_buffer.Insert(offset, entry, kEntrySize);
    ++m_count;
    m_buffer.WriteInt(kCountOffset, m_count, 2);
    RefillDevice();
    return atEnd == AtEnd::Yes ? m_count - 1 : 0;
}

int32_t Palette::SetColor(int32_t index, const Color& color) {
    if (index < 0) {
        return -1;
    }
    if (index >= m_count) {
        return AppendColor(color, AtEnd::Yes);
    }
    uint8_t flags = m_fading ? kReserved : kNoCollapse;
    if (m_context.BitsPerPixel() == 8 && SystemColors::IsSystemColor(color)) {
        flags = kNormal;
    }
    WriteEntry(index, color, flags);
    const gfx::PaletteEntry entry{static_cast<uint8_t>(color.Red()), static_cast<uint8_t>(color.Green()),
                                  static_cast<uint8_t>(color.Blue()), flags};
    m_device->SetEntries(index, &entry, 1);
    return index;
}

int32_t Palette::GetColor(int32_t index, Color& color) const {
    if (index < 0 || index >= m_count) {
        return -1;
    }
    const uint8_t* entry = m_buffer.Data(kHeaderSize + index * kEntrySize);
    color = Color(entry[0], entry[1], entry[2]);
    return index;
}

int32_t Palette::Flags(int32_t index) const {
    if (index < 0 || index >= m_count) {
        return -1;
    }
    return m_buffer.ReadInt(kHeaderSize + index * kEntrySize + 3, 1);
}

int32_t Palette::NearestIndex(int32_t red, int32_t green, int32_t blue) const {
    if (m_device == nullptr) {
        return -1;
    }
    return m_device->NearestIndex(Color(red, green, blue).Packed());
}

MemoryBlock Palette::Export() const {
    MemoryBlock bytes(m_count * 3);
    for (int32_t i = 0; i < m_count; ++i) {
        bytes.Write(i * 3, m_buffer.Data(kHeaderSize + i * kEntrySize), 3);
    }
    return bytes;
}

void Palette::Import(const MemoryBlock& bytes) {
    m_count = bytes.Size() / 3;
    m_buffer.Resize(kHeaderSize + m_count * kEntrySize);
    m_buffer.WriteInt(kCountOffset, m_count, 2);
    for (int32_t i = 0; i < m_count; ++i) {
        const uint8_t* triple = bytes.Data(i * 3);
        const Color color(triple[0], triple[1], triple[2]);
        WriteEntry(i, color, FlagFor(color));
    }
    RefillDevice();
}

void Palette::FillStandard(StandardSet kind, AtEnd atEnd) {
    switch (kind) {
    case StandardSet::Display: {
        const int bits = m_context.BitsPerPixel();
        if (bits == 1) {
            AppendColor(Color(255, 255, 255), atEnd);
            AppendColor(Color(0, 0, 0), atEnd);
        } else if (bits == 4) {
            for (uint32_t packed : kFourBitColors) {
                AppendColor(Color::FromPacked(packed), atEnd);
            }
        } else {
            for (uint32_t packed : SystemColors::Packed()) {
                AppendColor(Color::FromPacked(packed), atEnd);
            }
        }
        break;
    }
    case StandardSet::Full:
        for (int i = 0; i < SystemColors::kLowCount; ++i) {
            AppendColor(SystemColors::At(i), atEnd);
        }
        for (int32_t r = 0; r < kRedLevels; ++r) {
            for (int32_t g = 0; g < kGreenLevels; ++g) {
                for (int32_t b = 0; b < kBlueLevels; ++b) {
                    // The darkest corner of the cube is left to the system colours.
                    if (b == 0 && r <= 1 && g <= 1) {
                        continue;
                    }
                    AppendColor(Color(r * kRedStep, g * kGreenStep, b * kBlueStep), atEnd);
                }
            }
        }
        for (int i = SystemColors::kLowCount; i < SystemColors::kCount; ++i) {
            AppendColor(SystemColors::At(i), atEnd);
        }
        break;
    case StandardSet::Greys:
        AppendColor(Color(255, 255, 255), atEnd);
        for (int32_t v = 0; v <= 224; v += 32) {
            AppendColor(Color(v, v, v), atEnd);
        }
        for (int32_t v = 2; v <= 254; v += 2) {
            AppendColor(Color(v, v, v), atEnd);
        }
        break;
    case StandardSet::Ramps:
        AppendColor(Color(255, 255, 255), atEnd);
        AppendColor(Color(0, 0, 0), atEnd);
        for (int32_t v = 0; v <= 248; v += 8) {
            AppendColor(Color(v, 0, 0), atEnd);
        }
        for (int32_t v = 0; v <= 248; v += 8) {
            AppendColor(Color(0, v, 0), atEnd);
        }
        for (int32_t v = 0; v <= 248; v += 8) {
            AppendColor(Color(v, v, v), atEnd);
        }
        break;
    }
}

bool Palette::IsCurrent() const {
    return m_context.Current() == this;
}

void Palette::MakeCurrent() {
    Palette* current = m_context.Current();
    if (current != nullptr && current != this) {
        current->ReleaseCurrent();
    }
    m_context.SetCurrent(this);
    m_device->Unrealize();
}

void Palette::ReleaseCurrent() {
    if (!IsCurrent()) {
        return;
    }
    m_context.SetCurrent(nullptr);
    m_device->Unrealize();
}

void Palette::FadeIn(int32_t steps) {
    Fade(FadeDirection::In, steps);
}

void Palette::FadeOut(int32_t steps) {
    Fade(FadeDirection::Out, steps);
}

void Palette::Fade(FadeDirection direction, int32_t steps) {
    const bool in = direction == FadeDirection::In;
    if (!in) {
        m_context.SetScreenFaded(true);
    }
    if (!IsCurrent()) {
        MakeCurrent();
    }
    if (m_context.BitsPerPixel() >= 16) {
        if (in) {
            m_context.SetScreenFaded(false);
        }
        return;
    }
    if (steps < 1) {
        steps = kDefaultFadeSteps;
    } else if (steps > kMaxFadeSteps) {
        steps = kMaxFadeSteps;
    }

    while (m_count < kFadeEntries) {
        AppendColor(Color(0, 0, 0), AtEnd::Yes);
    }
    std::vector<Color> saved(kFadeEntries);
    for (int32_t i = 0; i < kFadeEntries; ++i) {
        GetColor(i, saved[static_cast<size_t>(i)]);
    }
    m_fading = true;

    const double d = kFadeSpan / steps;
    double level = in ? kLowestLevel - d : kHighestLevel + d;
    m_context.SetSystemPaletteUse(gfx::SystemPaletteUse::NoStatic);
    if (IsCurrent()) {
        m_device->Unrealize();
    }

    const Color black(0, 0, 0);
    const Color white(255, 255, 255);
    for (int32_t pass = 0;; ++pass) {
        level += in ? d : -d;
        bool last = false;
        if (pass > 0 && (level >= kHighestLevel || level <= kLowestLevel)) {
            level = in ? kHighestLevel : kLowestLevel;
            m_fading = false;
            last = true;
            if (in) {
                m_context.SetSystemPaletteUse(gfx::SystemPaletteUse::Static);
            }
        }
        const double factor = std::log10(level);
        for (int32_t i = 0; i < kFadeEntries; ++i) {
            const Color& color = saved[static_cast<size_t>(i)];
            Color shown = color;
            uint8_t flags = kNormal;
            const bool anchor = (i == 0 && color == black) || (i == kFadeEntries - 1 && color == white);
            if (!anchor) {
                shown = Color(static_cast<int32_t>(color.Red() * factor), static_cast<int32_t>(color.Green() * factor),
                              static_cast<int32_t>(color.Blue() * factor));
                if (m_fading || !in) {
                    flags = kReserved;
                } else {
                    flags = SystemColors::IsSystemColor(shown) ? kNormal : kNoCollapse;
                }
            }
            WriteEntry(i, shown, flags);
            const gfx::PaletteEntry entry{static_cast<uint8_t>(shown.Red()), static_cast<uint8_t>(shown.Green()),
                                          static_cast<uint8_t>(shown.Blue()), flags};
            m_device->SetEntries(i, &entry, 1);
        }
        m_context.ScreenPalette() = *m_device;
        m_context.ShowPalette(*m_device);
        if (last) {
            break;
        }
    }
    if (in) {
        m_context.SetScreenFaded(false);
    }
}

}  // namespace tamber
