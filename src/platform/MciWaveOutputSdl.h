#pragma once

#include <map>

#include "platform/MciWaveOutput.h"

namespace tamber {

// Sounds through SDL2 audio: each playing sound has a device of its own, opened with the
// sound's own format (SDL converts), so sounds mix as the system mixes its streams. A machine
// without a sound device plays nothing and answers 0.
class SdlMciWaveOutput final : public MciWaveOutput {
public:
    SdlMciWaveOutput() = default;
    ~SdlMciWaveOutput() override;
    SdlMciWaveOutput(const SdlMciWaveOutput&) = delete;
    SdlMciWaveOutput& operator=(const SdlMciWaveOutput&) = delete;

    int32_t Play(int32_t sound, const std::vector<uint8_t>& wave) override;
    void Stop(int32_t sound) override;

private:
    bool m_initialised = false;
    bool m_unavailable = false;
    std::map<int32_t, uint32_t> m_devices;  // sound -> SDL audio device id
};

}  // namespace tamber
