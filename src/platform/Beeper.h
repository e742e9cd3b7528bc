#pragma once

#include <cstdint>
#include <vector>

namespace tamber {

class MciWaveOutput;

// The platform's default beep, for the built-in function Beep.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void Beep() = 0;
};

// Silent: counts the beeps. Headless runs and tests.
class CountingBeeper final : public Beeper {
public:
    void Beep() override { ++m_count; }
    int32_t Count() const { return m_count; }

private:
    int32_t m_count = 0;
};

// A short tone played through a wave output, under a sound number of its own.
class ToneBeeper final : public Beeper {
public:
    static constexpr int32_t kSound = -1;
    static constexpr int32_t kSampleRate = 22050;
    static constexpr int32_t kFrequency = 880;
    static constexpr int32_t kMilliseconds = 150;

    explicit ToneBeeper(MciWaveOutput& output);
    void Beep() override;

    // The tone as a WAVE file image: 16-bit mono PCM, a square wave faded in and out.
    static std::vector<uint8_t> ToneWave();

private:
    MciWaveOutput& m_output;
    std::vector<uint8_t> m_wave;
};

}  // namespace tamber
