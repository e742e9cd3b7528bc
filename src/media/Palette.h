#pragma once

#include <cstdint>
#include <memory>

#include "base/MemoryBlock.h"
#include "media/Color.h"
#include "platform/gfx/Palette.h"

namespace tamber {

class ScreenContext;

enum class AtEnd : uint8_t { No = 0, Yes = 1 };

// The standard colour sets a palette can be filled with.
enum class StandardSet : int32_t {
    Display = 0,  // the colours the display itself keeps
    Full = 1,     // 256 colours: the system colours around an 8 x 6 x 5 colour cube
    Greys = 2,
    Ramps = 3,    // red, green and grey ramps
};

// A logical palette that grows entry by entry. The master copy is a buffer in the platform's
// layout (16-bit version 0x0300, 16-bit count, then red, green, blue, flags per entry); the
// device palette is kept equal to it after every change. At most one palette is current at a
// time (see ScreenContext); a palette can fade the screen to black and back.
class Palette {
public:
    // Entry flags.
    static constexpr uint8_t kNormal = 0;
    static constexpr uint8_t kReserved = 1;    // kept for animation
    static constexpr uint8_t kNoCollapse = 4;
    // Layout of the buffer.
    static constexpr int32_t kVersion = 0x0300;
    static constexpr int32_t kHeaderSize = 4;
    static constexpr int32_t kCountOffset = 2;
    static constexpr int32_t kEntrySize = 4;
    // Fades work on this many entries.
    static constexpr int32_t kFadeEntries = 256;

    explicit Palette(ScreenContext& context);
    ~Palette();
    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

    // Adds an entry after the last one (answers the new last index) or in front of entry 0
    // (answers 0).
    int32_t AppendColor(const Color& color, AtEnd atEnd);
    // Overwrites an entry; an index at or past the count appends instead; -1 for a negative index.
    int32_t SetColor(int32_t index, const Color& color);
    // Answers index, or -1 outside 0..count-1.
    int32_t GetColor(int32_t index, Color& color) const;
    // The entry nearest to the colour, or -1 without a device palette.
    int32_t NearestIndex(int32_t red, int32_t green, int32_t blue) const;
    // Red, green, blue per entry.
    MemoryBlock Export() const;
    // Replaces all entries with the triples of bytes (length / 3 of them).
    void Import(const MemoryBlock& bytes);
    void FillStandard(StandardSet kind, AtEnd atEnd);

    void MakeCurrent();
    void ReleaseCurrent();
    bool IsCurrent() const;
    // Fades the screen from black to these colours, or from them to black, in the given number
    // of steps (below 1: 30; above 100: 100). Nothing but the current palette changes on a
    // display of 16 bits or more.
    void FadeIn(int32_t steps);
    void FadeOut(int32_t steps);

    int32_t Count() const { return m_count; }
    // The flags of an entry, or -1 outside the palette.
    int32_t Flags(int32_t index) const;
    const MemoryBlock& Buffer() const { return m_buffer; }
    gfx::Palette* Device() { return m_device.get(); }
    const gfx::Palette* Device() const { return m_device.get(); }

private:
    enum class FadeDirection : uint8_t { In, Out };

    uint8_t FlagFor(const Color& color) const;
    void WriteEntry(int32_t index, const Color& color, uint8_t flags);
    void RefillDevice();
    void Fade(FadeDirection direction, int32_t steps);

    ScreenContext& m_context;
    int32_t m_count = 0;
    MemoryBlock m_buffer;
    std::unique_ptr<gfx::Palette> m_device;
    bool m_fading = false;
};

}  // namespace tamber
