#include "shell/AutomationRunner.h"

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "ui/MessageBox.h"
#include "ui/UiTestSupport.h"

namespace tamber::shell {
namespace {

using ui::test::RecordingWindow;
using ui::test::UiHarness;

struct RunnerHarness : UiHarness {
    RunnerHarness()
        : answers(&log)
        , runner(app, screen, &answers, errors, AutomationRunner::Pacing::Virtual)
    {
        app.SetDialogAnswers(&answers);
        app.SetQuitOnLastWindow(ui::QuitOnLast::Yes);
    }
    void Load(std::string_view script)
    {
        std::vector<AutomationCommand> commands;
        std::string error;
        EXPECT_EQ(AutomationScript::Parse(script, commands, error), 1) << error;
        runner.SetCommands(std::move(commands));
    }
    // Plays the script through the main loop; answers the loop's result.
    int Play(std::string_view script)
    {
        Load(script);
        runner.Install();
        return app.Run();
    }
    std::ostringstream log;
    std::ostringstream errors;
    ui::ScriptedAnswers answers;
    AutomationRunner runner;
};

// A window that logs its messages with the tick at which each arrived.
class TimedWindow : public RecordingWindow {
public:
    intptr_t WindowProc(uint32_t code, uintptr_t wParam, intptr_t lParam) override
    {
        if (code == ui::msg::kTimer)
            ticks.emplace_back(
                static_cast<uint32_t>(wParam), ui::Application::Current()->GetClock().TickCount());
        return RecordingWindow::WindowProc(code, wParam, lParam);
    }
    std::vector<std::pair<uint32_t, uint32_t>> ticks;
};

TEST(AutomationRunner, FeedsPointerAndKeysInScriptOrder)
{
    RunnerHarness h;
    RecordingWindow window;
    window.Create(nullptr, "w", gfx::Rect::FromSize(10, 20, 200, 100), Visibility::Shown);
    h.Play("click 15 25\n"
           "down 30 40 right\n"
           "up 30 40 right\n"
           "dblclick 50 60\n"
           "key Shift+A\n"
           "type b!\n");
    std::vector<uint32_t> codes;
    for (const auto& s : window.seen) {
        if (s.code != ui::msg::kMouseMove && s.code < ui::msg::kFrameworkMouseMove)
            codes.push_back(s.code);
    }
    using namespace ui::msg;
    std::vector<uint32_t> expected
        = { kButtonDown, kButtonUp, kRightButtonDown, kRightButtonUp, kButtonDown, kButtonUp, kDoubleClick,
              kButtonUp, kKeyDown, kChar, kKeyUp, kKeyDown, kChar, kKeyUp, kKeyDown, kChar, kKeyUp };
    EXPECT_EQ(codes, expected);
    const auto* first = &window.seen[0];
    for (const auto& s : window.seen) {
        if (s.code == kButtonDown) {
            first = &s;
            break;
        }
    }
    EXPECT_EQ(first->point, (gfx::Point { 5, 5 }));
    std::string typed;
    for (const auto& s : window.seen) {
        if (s.code == kChar)
            typed += static_cast<char>(s.wParam);
    }
    EXPECT_EQ(typed, "Ab!");
    EXPECT_FALSE(window.IsCreated()) << "the end of the script closes the window";
}

TEST(AutomationRunner, WaitFiresEveryDueTimerInOrder)
{
    RunnerHarness h;
    TimedWindow window;
    window.Create(nullptr, "w", gfx::Rect::FromSize(0, 0, 100, 100), Visibility::Shown);
    window.SetTimer(1, 100);
    window.SetTimer(2, 250);
    uint32_t start = h.clock.TickCount();
    h.Play("wait 520\nquit\n");
    std::vector<std::pair<uint32_t, uint32_t>> expected = { { 1, start + 100 }, { 1, start + 200 },
        { 2, start + 250 }, { 1, start + 300 }, { 1, start + 400 }, { 2, start + 500 }, { 1, start + 500 } };
    EXPECT_EQ(window.ticks, expected);
    EXPECT_EQ(h.clock.TickCount(), start + 520);
    EXPECT_FALSE(window.IsCreated());
}

// Shows a Yes/No box on every click and keeps the answers.
class AskingWindow : public ui::TWindow {
public:
    intptr_t WindowProc(uint32_t code, uintptr_t wParam, intptr_t lParam) override
    {
        if (code == ui::msg::kButtonDown)
            results.push_back(ui::ShowMessageBox(
                this, "Sure?", "Ask", ui::MessageBoxIcon::Question, ui::MessageBoxButtons::YesNo));
        return TWindow::WindowProc(code, wParam, lParam);
    }
    std::vector<ui::MessageBoxResult> results;
};

TEST(AutomationRunner, AnswersTheNextMessageBoxThenDefaults)
{
    RunnerHarness h;
    AskingWindow window;
    window.Create(nullptr, "w", gfx::Rect::FromSize(0, 0, 100, 100), Visibility::Shown);
    h.Play("answer No\nclick 5 5\nclick 5 5\n");
    EXPECT_EQ(window.results,
        (std::vector<ui::MessageBoxResult> { ui::MessageBoxResult::No, ui::MessageBoxResult::Yes }));
    EXPECT_EQ(h.log.str(), "MessageBox [Ask] Sure? -> No\nMessageBox [Ask] Sure? -> Yes\n");
}

// Ignores the user's attempts to close it.
class StubbornWindow : public ui::TWindow {
public:
    int closes = 0;

protected:
    void Close() override { ++closes; }
};

TEST(AutomationRunner, GivesUpOnWindowsThatRefuseToClose)
{
    RunnerHarness h;
    StubbornWindow window;
    window.Create(nullptr, "w", gfx::Rect::FromSize(0, 0, 100, 100), Visibility::Shown);
    EXPECT_EQ(h.Play("quit\n"), 0);
    EXPECT_EQ(window.closes, 1 + AutomationRunner::kMaxCloseAttempts);
    EXPECT_TRUE(window.IsCreated());
}

TEST(AutomationRunner, QuitUsesTheQuitAction)
{
    RunnerHarness h;
    RecordingWindow main, other;
    main.Create(nullptr, "main", gfx::Rect::FromSize(0, 0, 100, 100), Visibility::Shown);
    other.Create(nullptr, "other", gfx::Rect::FromSize(200, 0, 100, 100), Visibility::Shown);
    h.runner.SetQuitAction([&] { main.PostMessage(ui::msg::kClose); });
    h.Load("quit\n");
    h.runner.Install();
    // Only the quit runs here; the loop would go on to close the rest.
    h.runner.Step();
    h.app.ProcessPending();
    EXPECT_FALSE(main.IsCreated());
    EXPECT_TRUE(other.IsCreated());
}

TEST(AutomationRunner, TakesCtrlBreakOnlyWhenItIsNext)
{
    RunnerHarness h;
    h.Load("key Ctrl+Break\nkey Escape\nkey Ctrl+Break\n");
    EXPECT_TRUE(h.runner.TakeBreak());
    EXPECT_FALSE(h.runner.TakeBreak());
    EXPECT_EQ(h.runner.NextIndex(), 1u);
}

TEST(AutomationRunner, WritesScreenshotsAndReportsThoseItCannot)
{
    RunnerHarness h;
    RecordingWindow window;
    window.Create(nullptr, "w", gfx::Rect::FromSize(0, 0, 100, 100), Visibility::Shown);
    auto dir = std::filesystem::temp_directory_path()
        / ("runner-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    std::string good = (dir / "shot.png").string();
    h.Play("screenshot " + good + "\nscreenshot " + (dir / "missing" / "x.png").string() + "\n");
    EXPECT_TRUE(std::filesystem::exists(good));
    EXPECT_EQ(h.runner.Failures(), 1);
    EXPECT_NE(h.errors.str().find("line 2: screenshot"), std::string::npos) << h.errors.str();
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace tamber::shell
