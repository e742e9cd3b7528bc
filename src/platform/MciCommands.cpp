#include "platform/MciCommands.h"

#include <string_view>

#include "base/AsciiCase.h"
#include "base/QuotedWords.h"
#include "platform/FileSystem.h"
#include "platform/MciWaveOutput.h"

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
        return m_output.Play(device->sound, device->wave);
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
    device.sound = m_nextSound++;
    m_devices.emplace(key, std::move(device));
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
