#pragma once

#include <cstdint>

#include "base/MemoryBlock.h"
#include "iface/Element.h"

namespace tamber {

// The Audio element: plays a WAVE medium and shows a face (the waveform panel, or one of two
// pictures), with linked Play and Stop Buttons and a ScrollBar as position slider.
class AudioElement : public Element {
public:
    explicit AudioElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

private:
    friend struct AudioAccess;

    // Milliseconds of the play position; 0 without a sound.
    int32_t PositionMilliseconds() const;

    bool m_autoHotLinks = false;
    bool m_cycles = false;
    MemoryBlock m_bitmapUp;
    MemoryBlock m_bitmapDown;
    // The loaded sound, once the player reads the medium: its rate and the play position.
    int32_t m_samplesPerSecond = 0;
    int32_t m_sampleCount = 0;
    int32_t m_samplePosition = 0;
    bool m_playing = false;
};

}  // namespace tamber
