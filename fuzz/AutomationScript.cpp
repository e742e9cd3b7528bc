// Automation scripts: parsing any bytes, then playing what parsed into a headless application
// with one window (screenshots left out: they write files).
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "platform/clock/VirtualClock.h"
#include "platform/display/HeadlessDisplay.h"
#include "shell/AutomationRunner.h"
#include "ui/TFramedWindow.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tamber;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<shell::AutomationCommand> commands;
    std::string error;
    if (!shell::AutomationScript::Parse(text, commands, error)) {
        if (error.rfind("line ", 0) != 0)
            std::abort();
        return 0;
    }
    int32_t previous = 0;
    std::vector<shell::AutomationCommand> playable;
    for (const auto& command : commands) {
        if (command.line <= previous)
            std::abort();
        previous = command.line;
        if (command.kind != shell::CommandKind::Screenshot && playable.size() < 200)
            playable.push_back(command);
    }
    HeadlessDisplay display(320, 240, ScreenDepth::Direct24);
    VirtualClock clock;
    ui::Application app(display, clock);
    std::ostringstream log;
    ui::ScriptedAnswers answers(&log);
    app.SetDialogAnswers(&answers);
    app.SetQuitOnLastWindow(ui::QuitOnLast::Yes);
    ui::TFramedWindow window(3);
    window.CreateFramed(nullptr, "Fuzz", gfx::Rect::FromSize(20, 20, 200, 150), ui::Placement::AsGiven, Visibility::Shown);
    window.SetTimer(1, 250);
    shell::AutomationRunner runner(app, display, &answers, log, shell::AutomationRunner::Pacing::Virtual);
    runner.SetCommands(std::move(playable));
    runner.Install();
    app.Run();
    app.SetIdleHandler(nullptr);
    return 0;
}
