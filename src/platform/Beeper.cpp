#include "platform/Beeper.h"

#include <algorithm>
#include <string_view>

#include "platform/MciWaveOutput.h"

namespace tamber {

namespace {

// The canonical 44-byte header of a PCM WAVE file.
constexpr uint32_t kRiffHeaderSize = 8;       // "RIFF", size of the rest
constexpr uint32_t kFormatChunkSize = 16;     // the "fmt " payload
constexpr uint32_t kWaveHeaderSize = 44;
constexpr uint16_t kPcmFormat = 1;
constexpr uint16_t kChannels = 1;
constexpr uint16_t kBitsPerSample = 16;
constexpr int16_t kAmplitude = 6000;
constexpr int32_t kFadeSamples = 200;          // avoids clicks at both ends

void PutTag(std::vector<uint8_t>& out, std::string_view tag)
{
    out.insert(out.end(), tag.begin(), tag.end());
}

void PutLittle(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

ToneBeeper::ToneBeeper(MciWaveOutput& output) : m_output(output), m_wave(ToneWave())
{
}

void ToneBeeper::Beep()
{
    m_output.Play(kSound, m_wave);
}

std::vector<uint8_t> ToneBeeper::ToneWave()
{
    const uint32_t samples = static_cast<uint32_t>(kSampleRate) * kMilliseconds / 1000;
    const uint32_t blockAlign = kChannels * kBitsPerSample / 8;
    const uint32_t dataSize = samples * blockAlign;
    std::vector<uint8_t> out;
    out.reserve(kWaveHeaderSize + dataSize);
    PutTag(out, "RIFF");
    PutLittle(out, kWaveHeaderSize - kRiffHeaderSize + dataSize, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLittle(out, kFormatChunkSize, 4);
    PutLittle(out, kPcmFormat, 2);
    PutLittle(out, kChannels, 2);
    PutLittle(out, kSampleRate, 4);
    PutLittle(out, kSampleRate * blockAlign, 4);
    PutLittle(out, blockAlign, 2);
    PutLittle(out, kBitsPerSample, 2);
    PutTag(out, "data");
    PutLittle(out, dataSize, 4);
    const uint32_t halfPeriod = kSampleRate / (2 * kFrequency);
    for (uint32_t i = 0; i < samples; ++i) {
        int32_t level = ((i / halfPeriod) % 2 == 0) ? kAmplitude : -kAmplitude;
        uint32_t edge = std::min(i, samples - 1 - i);
        if (edge < static_cast<uint32_t>(kFadeSamples))
            level = level * static_cast<int32_t>(edge) / kFadeSamples;
        PutLittle(out, static_cast<uint16_t>(static_cast<int16_t>(level)), 2);
    }
    return out;
}

}  // namespace tamber
