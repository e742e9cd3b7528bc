#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include "shell/PlayerOptions.h"
#include "shell/StartRecord.h"

namespace tamber::shell {
namespace {

PlayerOptions Parsed(std::vector<std::string> args)
{
    PlayerOptions options;
    std::string error;
    EXPECT_EQ(ParsePlayerOptions(args, options, error), 1) << error;
    return options;
}

std::string ErrorOf(std::vector<std::string> args)
{
    PlayerOptions options;
    std::string error;
    EXPECT_EQ(ParsePlayerOptions(args, options, error), 0);
    return error;
}

TEST(PlayerOptions, TakesOptionsOutWhereverTheyStandAndLeavesTheWords)
{
    PlayerOptions o = Parsed({ "--trace", "demo.db", "--screen", "800x600x8", "--headless", "--drive",
        "d=/media/cd", "--drive=E=/mnt/e", "--time", "2024-02-29 23:59:58", "--no-launch", "--data-dir",
        "/tmp/zd", "--script-timeout", "2.5", "--events", "-", "extra" });
    EXPECT_EQ(o.mode, RunMode::Headless);
    EXPECT_TRUE(o.trace);
    EXPECT_TRUE(o.noLaunch);
    ASSERT_TRUE(o.screen);
    EXPECT_EQ(o.screen->width, 800);
    EXPECT_EQ(o.screen->height, 600);
    EXPECT_EQ(o.screen->depth, ScreenDepth::Palette8);
    ASSERT_EQ(o.drives.size(), 2u);
    EXPECT_EQ(o.drives[0].letter, 'D');
    EXPECT_EQ(o.drives[0].root, "/media/cd");
    EXPECT_EQ(o.drives[1].letter, 'E');
    ASSERT_TRUE(o.time);
    EXPECT_EQ(o.time->day, 29);
    EXPECT_EQ(o.time->second, 58);
    EXPECT_EQ(o.dataDir, "/tmp/zd");
    EXPECT_EQ(o.eventsPath, "-");
    EXPECT_DOUBLE_EQ(o.TimeoutSeconds(), 2.5);
    EXPECT_EQ(o.words, (std::vector<std::string> { "demo.db", "extra" }));
}

TEST(PlayerOptions, DefaultsAndTheEndOfTheOptions)
{
    // The script timeout defaults to ten seconds, for headless runs only.
    EXPECT_DOUBLE_EQ(Parsed({ "--headless" }).TimeoutSeconds(), 10);
    EXPECT_DOUBLE_EQ(Parsed({}).TimeoutSeconds(), 0);
    EXPECT_DOUBLE_EQ(Parsed({ "--headless", "--script-timeout", "0" }).TimeoutSeconds(), 0);
    PlayerOptions o = Parsed({ "--headless", "--", "--trace" });
    EXPECT_FALSE(o.trace);
    EXPECT_EQ(o.words, (std::vector<std::string> { "--trace" }));
}

TEST(PlayerOptions, RefusesBadOptionsWithTheReason)
{
    EXPECT_NE(ErrorOf({ "--fullscreen" }).find("unknown option --fullscreen"), std::string::npos);
    EXPECT_NE(ErrorOf({ "--screen" }).find("needs a value"), std::string::npos);
    EXPECT_NE(ErrorOf({ "--trace=yes" }).find("takes no value"), std::string::npos);
    EXPECT_NE(ErrorOf({ "--headless", "--time", "2024-13-01 00:00:00" }).find("--time"), std::string::npos);
    EXPECT_NE(ErrorOf({ "--time", "2024-01-01 00:00:00" }).find("needs --headless"), std::string::npos);
    EXPECT_NE(ErrorOf({ "--drive", "/media/cd" }).find("--drive"), std::string::npos);
    for (const char* bad : { "-1", "abc", "1e999", "3s" })
        EXPECT_NE(ErrorOf({ "--script-timeout", bad }).find("--script-timeout"), std::string::npos) << bad;
}

TEST(PlayerOptions, ScreenSpecsWithinLimits)
{
    ScreenSpec spec;
    EXPECT_EQ(ParseScreenSpec("1280x1024", spec), 1);
    EXPECT_EQ(spec.depth, ScreenDepth::Direct24);
    EXPECT_EQ(ParseScreenSpec("640X480x24", spec), 1);
    EXPECT_EQ(spec.width, 640);
    for (const char* bad :
        { "", "800", "800x", "x600", "800x600x16", "0x600", "800x-1", "9000x600", "800x600x8x8", "800 x600" })
        EXPECT_EQ(ParseScreenSpec(bad, spec), 0) << bad;
}

TEST(CommandLine, SplitsAtRunsOfBlanksAndKeepsThirtyTwoWords)
{
    EXPECT_EQ(CommandLine::Split("  a   b c  "), (std::vector<std::string> { "a", "b", "c" }));
    EXPECT_TRUE(CommandLine::Split("    ").empty());
    std::string many;
    for (int i = 0; i < 40; ++i)
        many += "w" + std::to_string(i) + " ";
    auto words = CommandLine::Split(many);
    ASSERT_EQ(words.size(), CommandLine::kMaxWords);
    EXPECT_EQ(words.back(), "w31");
}

TEST(CommandLine, ExactlyOneWordNamesTheDatabaseElseTheProgramFile)
{
    std::string path;
    using R = CommandLine::PathResult;
    EXPECT_EQ(CommandLine::DatabasePath({ "demo.db" }, "/bin/player", path), R::Ok);
    EXPECT_EQ(path, "demo.db");
    EXPECT_EQ(CommandLine::DatabasePath({}, "/bin/player", path), R::Ok);
    EXPECT_EQ(path, "/bin/player");
    // A path with a blank is two words once the arguments are joined.
    auto words = CommandLine::Words({ "My Show.db" });
    EXPECT_EQ(words.size(), 2u);
    EXPECT_EQ(CommandLine::DatabasePath(words, "/bin/player", path), R::Ok);
    EXPECT_EQ(path, "/bin/player");
    EXPECT_EQ(CommandLine::DatabasePath({}, "", path), R::Empty);
    EXPECT_EQ(CommandLine::DatabasePath({ std::string(255, 'a') }, "", path), R::Ok);
    EXPECT_EQ(CommandLine::DatabasePath({ std::string(256, 'a') }, "", path), R::TooLong);
    EXPECT_TRUE(path.empty());
}

TEST(StartRecord, ReadsEveryFieldAndRoundTrips)
{
    StartRecord record;
    record.frameStyle = -3;
    record.caption = "Tour";
    record.startName = "Main";
    record.name800 = "Small";
    record.name1280 = "Huge";
    MemoryBlock block;
    record.Write(block);
    StartRecord back = StartRecord::Parse(block);
    EXPECT_EQ(back.frameStyle, -3);
    EXPECT_EQ(back.caption, "Tour");
    EXPECT_EQ(back.startName, "Main");
    EXPECT_EQ(back.name800, "Small");
    EXPECT_EQ(back.name1024, "");
    EXPECT_EQ(back.name1280, "Huge");
}

TEST(StartRecord, MissingOrCutRecordsReadAsEmpty)
{
    StartRecord empty = StartRecord::Parse(MemoryBlock());
    EXPECT_EQ(empty.frameStyle, 0);
    EXPECT_EQ(empty.startName, "");
    // Cut inside the start name: what was read stays, the rest is empty.
    MemoryBlock block;
    block.AppendInt(5, 2);
    block.AppendPString("Caption");
    block.AppendInt(10, 1);
    block.AppendString("Mai", Nul::Exclude);
    StartRecord cut = StartRecord::Parse(block);
    EXPECT_EQ(cut.frameStyle, 5);
    EXPECT_EQ(cut.caption, "Caption");
    EXPECT_EQ(cut.startName, "Mai");
    EXPECT_EQ(cut.name800, "");
}

TEST(StartRecord, ScreenWidthChoosesTheStartInterface)
{
    StartRecord record;
    record.startName = "Main";
    record.name1024 = "Big";
    record.name800 = "Small";
    EXPECT_EQ(record.NameForScreen(1024), "Big");
    EXPECT_EQ(record.NameForScreen(800), "Small");
    EXPECT_EQ(record.NameForScreen(1152), "Main");
    EXPECT_EQ(record.NameForScreen(1280), "Main"); // empty specific name
    record.name1024.clear();
    EXPECT_EQ(record.NameForScreen(1024), "Main");
}

} // namespace
} // namespace tamber::shell
