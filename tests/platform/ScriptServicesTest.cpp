#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Beeper.h"
#include "platform/FakeSystemServices.h"
#include "platform/LauncherPosix.h"
#include "platform/MciCommands.h"
#include "platform/MciWaveOutput.h"
#include "platform/MemoryFileSystem.h"
#include "platform/PosixSystemServices.h"

using namespace tamber;
namespace fs = std::filesystem;

namespace {

uint32_t Little(const std::vector<uint8_t>& bytes, size_t at, int n)
{
    uint32_t value = 0;
    for (int i = 0; i < n; ++i)
        value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

// A temporary folder of this process, removed at the end.
struct TempFolder {
    TempFolder()
        : path(fs::temp_directory_path() / ("tamber-launch-" + std::to_string(::getpid())))
    {
        fs::remove_all(path);
        fs::create_directory(path);
    }
    ~TempFolder() { fs::remove_all(path); }
    fs::path path;
};

} // namespace

TEST(ToneBeeper, PlaysAWellFormedWaveUnderItsOwnSound)
{
    std::vector<uint8_t> wave = ToneBeeper::ToneWave();
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
    EXPECT_EQ(Little(wave, 4, 4), wave.size() - 8);
    EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Little(wave, 20, 2), 1u); // PCM
    EXPECT_EQ(Little(wave, 22, 2), 1u); // mono
    EXPECT_EQ(Little(wave, 24, 4), static_cast<uint32_t>(ToneBeeper::kSampleRate));
    EXPECT_EQ(Little(wave, 34, 2), 16u);
    EXPECT_EQ(std::string(wave.begin() + 36, wave.begin() + 40), "data");
    EXPECT_EQ(Little(wave, 40, 4), wave.size() - 44);
    EXPECT_EQ(Little(wave, 40, 4),
        static_cast<uint32_t>(ToneBeeper::kSampleRate * ToneBeeper::kMilliseconds / 1000 * 2));
    // Faded in: the first sample is silent, the middle is loud.
    EXPECT_EQ(Little(wave, 44, 2), 0u);
    EXPECT_NE(Little(wave, 44 + (wave.size() - 44) / 2, 2), 0u);

    RecordingMciWaveOutput output;
    ToneBeeper beeper(output);
    beeper.Beep();
    beeper.Beep();
    EXPECT_EQ(output.Log(),
        (std::vector<std::string> { "play -1 " + std::to_string(wave.size()) + " bytes",
            "play -1 " + std::to_string(wave.size()) + " bytes" }));
}

TEST(MciCommands, OpensPlaysStopsAndClosesWaveAudio)
{
    MemoryFileSystem files;
    FakeSystemServices system;
    system.AddFile("/title/Sounds/Chime.WAV");
    system.AddFile("/title/my sound.wav");
    system.AddFile("/title/tune.mid");
    files.SetContents("/title/Sounds/Chime.WAV", std::vector<uint8_t>(100, 1));
    files.SetContents("/title/my sound.wav", std::vector<uint8_t>(50, 2));
    files.SetContents("/title/tune.mid", std::vector<uint8_t>(10, 3));
    RecordingMciWaveOutput output;
    MciCommands mci(files, system, output);
    mci.SetBaseFolder("/title");

    struct Case {
        const char* command;
        int32_t answer;
    };
    const Case cases[] = {
        { "open sounds\\chime.wav type waveaudio alias Bell", 1 },
        { "PLAY bell from 0 wait", 1 },
        { "stop BELL", 1 },
        { "open sounds\\chime.wav alias bell", 0 }, // the alias is taken
        { "open waveaudio!\"my sound.wav\" alias voice", 1 },
        { "play voice notify", 1 },
        { "open tune.mid alias music", 0 }, // not a sound file
        { "open tune.mid type sequencer alias music", 0 },
        { "open missing.wav alias gone", 0 },
        { "play music", 0 },
        { "seek voice to start", 0 },
        { "close voice", 1 },
        { "play voice", 0 },
        { "", 0 },
        { "open", 0 },
        { "open chime.wav", 0 }, // not in the base folder
        { "open Sounds/CHIME.wav", 1 }, // the file name is the alias
        { "play sounds/chime.WAV", 1 },
        { "close all", 1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(mci.Execute(c.command), c.answer) << c.command;
    EXPECT_EQ(mci.OpenDevices(), 0);
    EXPECT_EQ(output.Log(),
        (std::vector<std::string> { "play 1 100 bytes", "stop 1", "play 2 50 bytes", "stop 2",
            "play 3 100 bytes", "stop 1", "stop 3" }));
    EXPECT_EQ(MciCommands::Words("open \"a b\"  c"), (std::vector<std::string> { "open", "a b", "c" }));
}

TEST(PosixLauncher, RunsExecutablesDirectlyAndOpensEverythingElse)
{
    EXPECT_EQ(Launcher::SplitArguments("  one \"two three\"  \"\" four"),
        (std::vector<std::string> { "one", "two three", "", "four" }));
    EXPECT_TRUE(Launcher::SplitArguments("   ").empty());

    TempFolder folder;
    const std::string dir = folder.path.string();
    {
        std::ofstream tool(folder.path / "tool");
        tool << "#!/bin/sh\necho \"$@\" > launched.txt\n";
    }
    fs::permissions(folder.path / "tool", fs::perms::owner_all);
    std::ofstream(folder.path / "Readme.TXT") << "text\n";

    PosixSystemServices system;
    PosixLauncher launcher(system, "opener");
    EXPECT_EQ(launcher.CommandLine("TOOL.EXE", "a \"b c\"", dir),
        (std::vector<std::string> { dir + "/tool", "a", "b c" }));
    EXPECT_EQ(launcher.CommandLine("readme.txt", "ignored", dir),
        (std::vector<std::string> { "opener", dir + "/Readme.TXT" }));
    EXPECT_EQ(launcher.CommandLine("http://example.org/", "", dir),
        (std::vector<std::string> { "opener", "http://example.org/" }));
    std::vector<std::string> shell = launcher.CommandLine("sh", "-c true", dir);
    ASSERT_EQ(shell.size(), 3u);
    EXPECT_EQ(fs::path(shell[0]).filename(), "sh");
    EXPECT_EQ(launcher.Launch("", "", dir), 0);

    // A real start: the program runs in the folder with its arguments.
    ASSERT_EQ(launcher.Launch("tool", "hello there", dir), 1);
    fs::path written = folder.path / "launched.txt";
    for (int i = 0; i < 500 && !(fs::exists(written) && fs::file_size(written) > 0); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(written);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "hello there");
}
