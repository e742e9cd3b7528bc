#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "ScriptFixture.h"
#include "platform/FakeSystemServices.h"
#include "platform/MciCommands.h"
#include "platform/MciWaveOutput.h"
#include "platform/MemoryFileSystem.h"

namespace tamber::test {

namespace {

constexpr uint32_t kRate = 8000;
constexpr uint32_t kFrameBytes = 4;  // 16-bit stereo
constexpr uint32_t kFrames = kRate;  // one second

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, std::string_view tag)
{
    out.insert(out.end(), tag.begin(), tag.end());
}

uint32_t Get(const std::vector<uint8_t>& in, size_t at, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | in[at + static_cast<size_t>(i)];
    return value;
}

// One second of 16-bit stereo PCM whose left sample of frame i is i, with an odd-sized chunk
// (padded) between the format and the samples.
std::vector<uint8_t> Tone()
{
    std::vector<uint8_t> wave;
    PutTag(wave, "RIFF");
    Put(wave, 0, 4);
    PutTag(wave, "WAVEfmt ");
    Put(wave, 16, 4);
    Put(wave, 1, 2);
    Put(wave, 2, 2);
    Put(wave, kRate, 4);
    Put(wave, kRate * kFrameBytes, 4);
    Put(wave, kFrameBytes, 2);
    Put(wave, 16, 2);
    PutTag(wave, "note");
    Put(wave, 3, 4);
    PutTag(wave, "abc");
    wave.push_back(0);
    PutTag(wave, "data");
    Put(wave, kFrames * kFrameBytes, 4);
    for (uint32_t i = 0; i < kFrames; ++i) {
        Put(wave, i, 2);
        Put(wave, 0, 2);
    }
    uint32_t riff = static_cast<uint32_t>(wave.size() - 8);
    for (int i = 0; i < 4; ++i)
        wave[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(riff >> (8 * i));
    return wave;
}

constexpr size_t kHeaderBytes = 56;  // up to the first sample of Tone()

// Keeps what it was last asked to play.
class KeepingOutput final : public MciWaveOutput {
public:
    int32_t Play(int32_t, const std::vector<uint8_t>& wave) override
    {
        last = wave;
        ++plays;
        return 1;
    }
    void Stop(int32_t) override { }

    // The frames of the last sound: first left sample and count; the headers must agree.
    std::pair<uint32_t, uint32_t> Frames() const
    {
        EXPECT_EQ(Get(last, 4, 4), last.size() - 8);
        EXPECT_EQ(Get(last, kHeaderBytes - 4, 4), last.size() - kHeaderBytes);
        return { Get(last, kHeaderBytes, 2),
            static_cast<uint32_t>((last.size() - kHeaderBytes) / kFrameBytes) };
    }

    std::vector<uint8_t> last;
    int plays = 0;
};

struct MciFixture {
    MciFixture()
        : mci(files, system, output)
    {
        system.AddFile("/tone.wav");
        files.SetContents("/tone.wav", Tone());
        mci.SetClock(&script.clock);
        script.engine.GetSettings().mci = &mci;
    }
    uint32_t Elapsed()
    {
        uint32_t now = script.clock.TickCount();
        uint32_t elapsed = now - start;
        start = now;
        return elapsed;
    }

    MemoryFileSystem files;
    FakeSystemServices system;
    KeepingOutput output;
    ScriptFixture script;
    MciCommands mci;
    uint32_t start = script.clock.TickCount();
};

}  // namespace

TEST(MciCommand, PlaysTheChosenPartAndWaitsForItOnTheScriptsClock)
{
    MciFixture f;
    f.script.Run(
        "\tMCICommand( \"open /tone.wav alias t\" )\r\tMCICommand( \"play t from 250 to 750 wait\" )\r"
        "\tA = 1");
    EXPECT_TRUE(f.script.boxes.empty());
    EXPECT_EQ(f.script.A(), 1);
    EXPECT_EQ(f.output.Frames(), std::make_pair(2000u, 4000u));
    EXPECT_EQ(f.Elapsed(), 500u);

    struct Case {
        const char* command;
        int32_t answer;
        std::pair<uint32_t, uint32_t> frames;  // of the sound played
        uint32_t waited;
    };
    const Case cases[] = {
        { "play t", 1, { 0, kFrames }, 0 },
        { "play T from 500 notify", 1, { 4000, 4000 }, 0 },
        { "play t to 1 wait", 1, { 0, 8 }, 1 },
        { "play t from 999 wait", 1, { 7992, 8 }, 1 },
        { "play t wait", 1, { 0, kFrames }, 1000 },
        { "set t time format samples", 1, {}, 0 },
        { "play t from 6000 wait", 1, { 6000, 2000 }, 250 },
        { "play t from 1 to 3", 1, { 1, 2 }, 0 },
        { "set t time format bytes", 1, {}, 0 },
        { "play t from 7 to 16 wait", 1, { 1, 3 }, 1 },  // rounded down to whole frames
        { "set t time format ms", 1, {}, 0 },
        // Nothing to play, or nothing that can be: the sound stays as it was.
        { "play t from 300 to 300 wait", 1, {}, 0 },
        { "play t from 800 to 200", 0, {}, 0 },
        { "play t to 1001", 0, {}, 0 },
        { "play t from -5", 0, {}, 0 },
        { "play t from", 0, {}, 0 },
        { "play t from 99999999999", 0, {}, 0 },
        { "play t backwards", 0, {}, 0 },
        { "set t time format frames", 0, {}, 0 },
        { "set t door open", 0, {}, 0 },
    };
    for (const Case& c : cases) {
        int before = f.output.plays;
        EXPECT_EQ(f.mci.Execute(c.command), c.answer) << c.command;
        if (c.frames.second != 0) {
            EXPECT_EQ(f.output.plays, before + 1) << c.command;
            EXPECT_EQ(f.output.Frames(), c.frames) << c.command;
        } else {
            EXPECT_EQ(f.output.plays, before) << c.command;
        }
        EXPECT_EQ(f.Elapsed(), c.waited) << c.command;
    }
}

TEST(MciCommand, DataThatIsNoWaveFilePlaysWholeWithoutPositions)
{
    MciFixture f;
    f.files.SetContents("/tone.wav", std::vector<uint8_t>(100, 7));
    ASSERT_EQ(f.mci.Execute("open /tone.wav alias t"), 1);
    EXPECT_EQ(f.mci.Execute("play t from 0 wait"), 1);
    EXPECT_EQ(f.output.last.size(), 100u);
    EXPECT_EQ(f.Elapsed(), 0u);
    EXPECT_EQ(f.mci.Execute("play t from 10"), 0);
    EXPECT_EQ(f.mci.Execute("play t to 10"), 0);
    EXPECT_EQ(f.output.plays, 1);

    // A format chunk after the samples, a truncated data chunk, no data chunk at all.
    std::vector<uint8_t> late = Tone();
    std::vector<uint8_t> truncated(late.begin(), late.begin() + static_cast<long>(kHeaderBytes + 10));
    std::vector<uint8_t> noData(late.begin(), late.begin() + 36);
    std::vector<uint8_t> moved(late.begin(), late.begin() + 12);
    moved.insert(moved.end(), late.begin() + 48, late.end());
    moved.insert(moved.end(), late.begin() + 12, late.begin() + 36);
    f.system.AddFile("/other.wav");
    int32_t n = 0;
    for (const std::vector<uint8_t>* bytes : { &moved, &noData }) {
        f.files.SetContents("/other.wav", *bytes);
        std::string alias = "o" + std::to_string(n++);
        ASSERT_EQ(f.mci.Execute("open /other.wav alias " + alias), 1);
        EXPECT_EQ(f.mci.Execute("play " + alias + " from 1"), 0) << alias;
    }
    f.files.SetContents("/other.wav", truncated);
    ASSERT_EQ(f.mci.Execute("open /other.wav alias cut"), 1);
    EXPECT_EQ(f.mci.Execute("play cut from 1"), 0);  // 1 ms is past the two frames there are
    EXPECT_EQ(f.mci.Execute("play cut wait"), 1);
    EXPECT_EQ(f.output.last, truncated);
    EXPECT_EQ(f.Elapsed(), 1u);
}

}  // namespace tamber::test
