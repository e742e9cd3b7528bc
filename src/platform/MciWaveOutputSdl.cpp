#include "platform/MciWaveOutputSdl.h"

#include <SDL.h>

namespace tamber {

SdlMciWaveOutput::~SdlMciWaveOutput()
{
    for (auto [sound, device] : m_devices)
        SDL_CloseAudioDevice(device);
    if (m_initialised)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int32_t SdlMciWaveOutput::Play(int32_t sound, const std::vector<uint8_t>& wave)
{
    Stop(sound);
    if (m_unavailable || wave.empty() || wave.size() > static_cast<size_t>(INT32_MAX))
        return 0;
    if (!m_initialised) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            m_unavailable = true;
            return 0;
        }
        m_initialised = true;
    }
    SDL_AudioSpec spec {};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
    if (!source || !SDL_LoadWAV_RW(source, 1, &spec, &samples, &length))
        return 0;
    spec.callback = nullptr;
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
    if (device == 0) {
        SDL_FreeWAV(samples);
        return 0;
    }
    int queued = SDL_QueueAudio(device, samples, length);
    SDL_FreeWAV(samples);
    if (queued != 0) {
        SDL_CloseAudioDevice(device);
        return 0;
    }
    SDL_PauseAudioDevice(device, 0);
    m_devices[sound] = device;
    return 1;
}

void SdlMciWaveOutput::Stop(int32_t sound)
{
    auto found = m_devices.find(sound);
    if (found == m_devices.end())
        return;
    SDL_CloseAudioDevice(found->second);
    m_devices.erase(found);
}

}  // namespace tamber
