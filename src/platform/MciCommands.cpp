#include "platform/MciCommands.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "base/AsciiCase.h"
#include "base/QuotedWords.h"
#include "platform/FileSystem.h"
#include "platform/MciWaveOutput.h"
#include "platform/clock/Clock.h"

namespace tamber {

namespace {

constexpr std::string_view kWaveDevice = "waveaudio";
constexpr std::string_view kWaveExtension = ".wav";
constexpr char kDeviceSeparator = '!';   // "waveaudio!file.wav"

bool Is(const std::string& word, std::string_view keyword)
{
    return EqualFolded(word, keyword);
}

bool EndsWith(const std::string& text, std::string_view end)
{
    return text.size() >= end.size() && EqualFolded(std::string_view(text).substr(text.size() - end.size()), end);
}

uint32_t Little(const std::vector<uint8_t>& bytes, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<size_t>(i)];
    return value;
}

void PutLittle32(std::vector<uint8_t>& bytes, size_t at, uint64_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

bool HasTag(const std::vector<uint8_t>& bytes, size_t at, std::string_view tag)
{
    return at + tag.size() <= bytes.size() && std::equal(tag.begin(), tag.end(), bytes.begin() + static_cast<long>(at));
}

// A position written in a command: decimal digits that fit 32 bits.
std::optional<uint64_t> Position(const std::string& word)
{
    if (word.empty() || word.size() > 10)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value <= UINT32_MAX ? std::optional<uint64_t>(value) : std::nullopt;
}

}  // namespace

MciCommands::MciCommands(FileSystem& files, const SystemServices& system, MciWaveOutput& output)
    : m_files(files), m_resolver(system), m_output(output)
{
}

MciCommands::~MciCommands()
{
    for (auto& [alias, device] : m_devices)
        m_output.Stop(device.sound);
}

std::vector<std::string> MciCommands::Words(const std::string& command)
{
    return SplitQuotedWords(command, " \t\r\n");
}

int32_t MciCommands::Execute(const std::string& command)
{
    std::vector<std::string> words = Words(command);
    if (words.size() < 2)
        return 0;
    const std::string& verb = words[0];
    if (Is(verb, "open"))
        return Open(words);
    if (Is(verb, "close"))
        return Close(words[1]);
    Device* device = Find(words[1]);
    if (!device)
        return 0;
    if (Is(verb, "play"))
        return Play(*device, words);
    if (Is(verb, "set"))
        return Set(*device, words);
    if (Is(verb, "stop")) {
        m_output.Stop(device->sound);
        return 1;
    }
    return 0;
}

int32_t MciCommands::Open(const std::vector<std::string>& words)
{
    std::string file = words[1];
    std::string alias;
    std::string type;
    size_t bang = file.find(kDeviceSeparator);
    if (bang != std::string::npos) {
        type = file.substr(0, bang);
        file = file.substr(bang + 1);
    }
    for (size_t i = 2; i < words.size(); ++i) {
        if (Is(words[i], "type") && i + 1 < words.size())
            type = words[++i];
        else if (Is(words[i], "alias") && i + 1 < words.size())
            alias = words[++i];
    }
    // Only sound files: a named type must be waveaudio, an unnamed one is told by the extension.
    if (type.empty() ? !EndsWith(file, kWaveExtension) : !Is(type, kWaveDevice))
        return 0;
    std::string key = LowerAscii(alias.empty() ? file : alias);
    if (file.empty() || m_devices.count(key) != 0 || static_cast<int32_t>(m_devices.size()) >= kMaxDevices)
        return 0;
    Device device;
    device.file = file;
    std::string path = m_resolver.Resolve(file, m_baseFolder);
    if (path.empty() || !ReadWave(path, device.wave))
        return 0;
    device.layout = Layout(device.wave);
    device.sound = m_nextSound++;
    m_devices.emplace(key, std::move(device));
    return 1;
}

MciCommands::WaveLayout MciCommands::Layout(const std::vector<uint8_t>& wave)
{
    constexpr size_t kChunkHeader = 8;
    constexpr size_t kMinFormatSize = 16;
    WaveLayout layout;
    if (!HasTag(wave, 0, "RIFF") || !HasTag(wave, 8, "WAVE"))
        return layout;
    uint32_t bytesPerSecond = 0;
    uint32_t blockAlign = 0;
    for (size_t at = 12; at + kChunkHeader <= wave.size();) {
        const size_t size = Little(wave, at + 4, 4);
        const size_t payload = at + kChunkHeader;
        if (HasTag(wave, at, "fmt ") && size >= kMinFormatSize && payload + kMinFormatSize <= wave.size()) {
            bytesPerSecond = Little(wave, payload + 8, 4);
            blockAlign = Little(wave, payload + 12, 2);
        } else if (HasTag(wave, at, "data")) {
            if (bytesPerSecond == 0 || blockAlign == 0)
                return layout;
            layout.dataStart = payload;
            layout.dataSize = std::min(size, wave.size() - payload) / blockAlign * blockAlign;
            layout.bytesPerSecond = bytesPerSecond;
            layout.blockAlign = blockAlign;
            return layout;
        }
        at = payload + size + (size & 1);  // chunks are padded to even sizes
    }
    return layout;
}

int32_t MciCommands::Play(Device& device, const std::vector<std::string>& words)
{
    std::optional<uint64_t> from;
    std::optional<uint64_t> to;
    bool wait = false;
    for (size_t i = 2; i < words.size(); ++i) {
        if ((Is(words[i], "from") || Is(words[i], "to")) && i + 1 < words.size()) {
            std::optional<uint64_t> position = Position(words[i + 1]);
            if (!position)
                return 0;
            (Is(words[i], "from") ? from : to) = position;
            ++i;
        } else if (Is(words[i], "wait")) {
            wait = true;
        } else if (!Is(words[i], "notify")) {
            return 0;
        }
    }
    const WaveLayout& layout = device.layout;
    if (layout.bytesPerSecond == 0) {
        // Data that is no PCM WAVE file plays whole, as the output sees fit.
        if ((from && *from != 0) || to)
            return 0;
        return m_output.Play(device.sound, device.wave);
    }
    auto bytes = [&](uint64_t position) {
        uint64_t offset = position;
        if (device.format == TimeFormat::Milliseconds)
            offset = position * layout.bytesPerSecond / 1000;
        else if (device.format == TimeFormat::Samples)
            offset = position * layout.blockAlign;
        return offset / layout.blockAlign * layout.blockAlign;
    };
    const uint64_t begin = from ? bytes(*from) : 0;
    const uint64_t end = to ? bytes(*to) : layout.dataSize;
    if (begin > end || end > layout.dataSize)
        return 0;
    if (begin == end)
        return 1;
    int32_t played = 0;
    if (begin == 0 && end == layout.dataSize) {
        played = m_output.Play(device.sound, device.wave);
    } else {
        // The same file with only the chosen samples in its data chunk.
        std::vector<uint8_t> part(
            device.wave.begin(), device.wave.begin() + static_cast<long>(layout.dataStart));
        part.insert(part.end(), device.wave.begin() + static_cast<long>(layout.dataStart + begin),
            device.wave.begin() + static_cast<long>(layout.dataStart + end));
        PutLittle32(part, 4, part.size() - 8);
        PutLittle32(part, layout.dataStart - 4, end - begin);
        played = m_output.Play(device.sound, part);
    }
    if (played && wait && m_clock) {
        const uint64_t milliseconds
            = ((end - begin) * 1000 + layout.bytesPerSecond - 1) / layout.bytesPerSecond;
        m_clock->Sleep(static_cast<uint32_t>(std::min<uint64_t>(milliseconds, UINT32_MAX)));
    }
    return played;
}

int32_t MciCommands::Set(Device& device, const std::vector<std::string>& words)
{
    if (words.size() != 5 || !Is(words[2], "time") || !Is(words[3], "format"))
        return 0;
    const std::string& unit = words[4];
    if (Is(unit, "milliseconds") || Is(unit, "ms"))
        device.format = TimeFormat::Milliseconds;
    else if (Is(unit, "samples"))
        device.format = TimeFormat::Samples;
    else if (Is(unit, "bytes"))
        device.format = TimeFormat::Bytes;
    else
        return 0;
    return 1;
}

MciCommands::Device* MciCommands::Find(const std::string& name)
{
    auto found = m_devices.find(LowerAscii(name));
    return found == m_devices.end() ? nullptr : &found->second;
}

int32_t MciCommands::Close(const std::string& name)
{
    if (Is(name, "all")) {
        for (auto& [alias, device] : m_devices)
            m_output.Stop(device.sound);
        m_devices.clear();
        return 1;
    }
    auto found = m_devices.find(LowerAscii(name));
    if (found == m_devices.end())
        return 0;
    m_output.Stop(found->second.sound);
    m_devices.erase(found);
    return 1;
}

bool MciCommands::ReadWave(const std::string& path, std::vector<uint8_t>& out)
{
    std::unique_ptr<File> file = m_files.Open(path, FileMode::ReadOnly);
    if (!file)
        return false;
    int64_t length = file->Length();
    if (length <= 0 || length > kMaxWaveSize)
        return false;
    out.resize(static_cast<size_t>(length));
    if (file->Read(0, out.data(), length) != length) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace tamber
