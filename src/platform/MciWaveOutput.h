#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamber {

// Plays sounds given as WAVE file images (RIFF "WAVE" with PCM data), each under a number
// chosen by the caller; starting a number again replaces what it played. Playback runs on its
// own; nothing waits for it.
class MciWaveOutput {
public:
    virtual ~MciWaveOutput() = default;
    // Answers 1 when the sound started, 0 when it cannot be played.
    virtual int32_t Play(int32_t sound, const std::vector<uint8_t>& wave) = 0;
    virtual void Stop(int32_t sound) = 0;
};

// Plays nothing and records what it was asked: headless runs and tests.
class RecordingMciWaveOutput final : public MciWaveOutput {
public:
    int32_t Play(int32_t sound, const std::vector<uint8_t>& wave) override
    {
        m_log.push_back("play " + std::to_string(sound) + " " + std::to_string(wave.size()) + " bytes");
        return 1;
    }
    void Stop(int32_t sound) override { m_log.push_back("stop " + std::to_string(sound)); }
    const std::vector<std::string>& Log() const { return m_log; }

private:
    std::vector<std::string> m_log;
};

}  // namespace tamber
