#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/PathResolver.h"

namespace tamber {

class Clock;
class FileSystem;
class MciWaveOutput;

// The MCI string commands that scripts send for sounds ("waveaudio" devices):
//   open FILE [type waveaudio] [alias NAME] [wait|notify]   (also "open waveaudio!FILE ...")
//   play NAME [from N] [to N] [wait|notify]   plays from N (else the start) to N (else the end);
//                                             with "wait" the command returns when it is done
//   set NAME time format milliseconds|ms|samples|bytes      the unit of positions (ms at first)
//   stop NAME        close NAME        close all
// NAME is the alias, or the file as it was opened. Words are matched without regard to case;
// a file name with blanks is written in double quotes. Everything else (other device types,
// other commands, unknown names) is ignored, and so are the replies, as scripts ignore them.
// Positions need a PCM WAVE file; other data opens and plays whole ("from 0" only), unwaited.
class MciCommands {
public:
    // Sounds larger than this are not read.
    static constexpr int64_t kMaxWaveSize = 64 * 1024 * 1024;
    static constexpr int32_t kMaxDevices = 64;

    MciCommands(FileSystem& files, const SystemServices& system, MciWaveOutput& output);
    ~MciCommands();
    MciCommands(const MciCommands&) = delete;
    MciCommands& operator=(const MciCommands&) = delete;

    // Relative file names are found from this folder (the database's).
    void SetBaseFolder(std::string folder) { m_baseFolder = std::move(folder); }
    // "wait" sleeps on this clock for the sound's length (none: nothing waits).
    void SetClock(Clock* clock) { m_clock = clock; }

    // Runs one command; answers 1 when it was understood and done, 0 when it was ignored.
    int32_t Execute(const std::string& command);
    int32_t OpenDevices() const { return static_cast<int32_t>(m_devices.size()); }

    // The command's words: blanks separate, double quotes group.
    static std::vector<std::string> Words(const std::string& command);

private:
    enum class TimeFormat : uint8_t { Milliseconds, Samples, Bytes };

    // Where the samples of a PCM WAVE image lie; bytesPerSecond 0 when the image is no such file.
    struct WaveLayout {
        size_t dataStart = 0;
        size_t dataSize = 0;
        uint32_t bytesPerSecond = 0;
        uint32_t blockAlign = 1;
    };

    struct Device {
        std::string file;
        int32_t sound = 0;
        std::vector<uint8_t> wave;
        WaveLayout layout;
        TimeFormat format = TimeFormat::Milliseconds;
    };

    static WaveLayout Layout(const std::vector<uint8_t>& wave);
    int32_t Open(const std::vector<std::string>& words);
    int32_t Play(Device& device, const std::vector<std::string>& words);
    int32_t Set(Device& device, const std::vector<std::string>& words);
    Device* Find(const std::string& name);
    int32_t Close(const std::string& name);
    bool ReadWave(const std::string& path, std::vector<uint8_t>& out);

    FileSystem& m_files;
    PathResolver m_resolver;
    MciWaveOutput& m_output;
    std::string m_baseFolder;
    Clock* m_clock = nullptr;
    std::map<std::string, Device> m_devices;  // by lower-case alias
    int32_t m_nextSound = 1;
};

}  // namespace tamber
