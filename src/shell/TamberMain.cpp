#include "shell/TamberMain.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "elements/ControlElements.h"
#include "iface/ElementFactory.h"
#include "media/ScreenContext.h"
#include "platform/Beeper.h"
#include "platform/DynamicLibraryPosix.h"
#include "platform/LauncherPosix.h"
#include "platform/MciCommands.h"
#include "platform/MciWaveOutputSdl.h"
#include "platform/PosixSystemServices.h"
#include "platform/clock/RealClock.h"
#include "platform/clock/VirtualClock.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/display/SdlDisplay.h"
#include "platform/fonts/FreeTypeFontSource.h"
#include "script/ScriptEngine.h"
#include "shell/AutomationRunner.h"
#include "shell/InterfaceStartWindow.h"
#include "shell/CommandLine.h"
#include "shell/Player.h"
#include "shell/PlayerOptions.h"
#include "ui/MessageBox.h"
#include "text/TextElement.h"

namespace tamber::shell {

namespace {

// Trace lines to standard output, in the order things happen.
class StreamTrace final : public TraceSink {
public:
    explicit StreamTrace(std::ostream& out) : m_out(out) {}
    void TraceLine(std::string_view line) override { m_out << line << '\n' << std::flush; }

private:
    std::ostream& m_out;
};

// Headless: Ctrl+Break comes from the automation script.
class ScriptedBreakKey final : public BreakKey {
public:
    explicit ScriptedBreakKey(AutomationRunner& runner) : m_runner(runner) {}
    bool IsDown() override { return m_runner.TakeBreak(); }

private:
    AutomationRunner& m_runner;
};

// In a window: looks at the platform's pending input for Ctrl+Break while a script runs; the
// other events go back into the queue in their order.
class DisplayBreakKey final : public BreakKey {
public:
    static constexpr uint32_t kPollInterval = 20;

    DisplayBreakKey(Display& display, Clock& clock) : m_display(display), m_clock(clock) {}
    bool IsDown() override
    {
        uint32_t now = m_clock.TickCount();
        if (static_cast<int32_t>(now - m_lastPoll) < static_cast<int32_t>(kPollInterval))
            return false;
        m_lastPoll = now;
        bool pressed = false;
        std::vector<InputEvent> kept;
        InputEvent event;
        while (m_display.PollEvent(event)) {
            if (event.type == EventType::KeyDown && event.key == key::kCancel)
                pressed = true;
            else
                kept.push_back(event);
        }
        for (const auto& e : kept)
            m_display.PostEvent(e);
        return pressed;
    }

private:
    Display& m_display;
    Clock& m_clock;
    uint32_t m_lastPoll = 0;
};

// In a window, dialogs are answered from the script only when it queued an answer; otherwise
// they are shown to the person at the screen.
class QueuedAnswers final : public ui::DialogAnswers {
public:
    explicit QueuedAnswers(ui::ScriptedAnswers& script) : m_script(script) {}
    int AnswerMessageBox(const ui::MessageBoxRequest& request, ui::MessageBoxResult& answer) override
    {
        return m_script.PendingAnswers() ? m_script.AnswerMessageBox(request, answer) : 0;
    }
    int AnswerFileDialog(const ui::FileDialogRequest& request, std::string& path) override
    {
        return m_script.PendingChoices() ? m_script.AnswerFileDialog(request, path) : 0;
    }
    int AnswerPrintDialog(const ui::PrintRequest&, ui::PrintSettings&) override { return 0; }

private:
    ui::ScriptedAnswers& m_script;
};

int ReadScript(const std::string& path, std::istream* in, std::vector<AutomationCommand>& commands,
               std::ostream& err)
{
    std::string text;
    if (path == "-") {
        if (!in) {
            err << "tamber: no standard input for --events -\n";
            return 0;
        }
        text.assign(std::istreambuf_iterator<char>(*in), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            err << "tamber: " << path << ": cannot read the automation script\n";
            return 0;
        }
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::string error;
    if (!AutomationScript::Parse(text, commands, error)) {
        err << "tamber: " << (path == "-" ? "standard input" : path) << ": " << error << "\n";
        return 0;
    }
    return 1;
}

}  // namespace

StartWindowFactory DefaultStartWindows(ScreenContext* screen)
{
    return [screen] { return std::make_unique<InterfaceStartWindow>(screen); };
}

int RunTamber(const std::vector<std::string>& args, const TamberContext& context)
{
    std::ostringstream discard;
    std::ostream& out = context.out ? *context.out : discard;
    std::ostream& err = context.err ? *context.err : discard;

    PlayerOptions options;
    std::string error;
    if (!ParsePlayerOptions(args, options, error)) {
        err << "tamber: " << error << "\n";
        return kExitUsage;
    }
    if (options.help) {
        PrintUsage(out);
        return 0;
    }
    if (options.version) {
        out << "tamber " << kTamberVersion << "\n";
        return 0;
    }
    std::vector<AutomationCommand> commands;
    if (!options.eventsPath.empty() && !ReadScript(options.eventsPath, context.in, commands, err))
        return kExitUsage;
    bool headless = options.mode == RunMode::Headless;

    // The screen and the clock.
    std::unique_ptr<Display> display;
    std::unique_ptr<Clock> clock;
    if (headless) {
        ScreenSpec screen = options.screen.value_or(
            ScreenSpec{PlayerOptions::kDefaultHeadlessWidth, PlayerOptions::kDefaultHeadlessHeight});
        display = std::make_unique<HeadlessDisplay>(screen.width, screen.height, screen.depth);
        clock = options.time ? std::make_unique<VirtualClock>(*options.time) : std::make_unique<VirtualClock>();
    } else {
        ScreenSpec screen;
        SdlDisplayOptions sdl;
        sdl.title = "Tamber";
        if (options.screen) {
            screen = *options.screen;
        } else if (SdlDisplay::DesktopSize(screen.width, screen.height)) {
            // The real screen: the window covers it.
            sdl.fullScreen = FullScreen::Yes;
        } else {
            screen = ScreenSpec{PlayerOptions::kDefaultHeadlessWidth, PlayerOptions::kDefaultHeadlessHeight};
        }
        std::string why;
        display = SdlDisplay::Create(screen.width, screen.height, screen.depth, sdl, &why);
        if (!display) {
            err << "tamber: no display: " << (why.empty() ? "cannot open a window" : why)
                << " (use --headless to run without one)\n";
            return kExitNoDisplay;
        }
        clock = std::make_unique<RealClock>();
    }

    RegisterControlElements(ElementFactory::Process());
    RegisterTextElement(ElementFactory::Process());

    FreeTypeFontSource fonts;
    ui::Application app(*display, *clock, &fonts);
    ScreenContext screenContext(*display);
    screenContext.SetClock(clock.get());
    screenContext.SetMessageBoxHandler([](const std::string& text, const std::string& caption, MessageButtons buttons) {
        auto answer = ui::ShowMessageBox(nullptr, text, caption, ui::MessageBoxIcon::Information,
            buttons == MessageButtons::OkCancel ? ui::MessageBoxButtons::OkCancel : ui::MessageBoxButtons::Ok);
        return answer == ui::MessageBoxResult::Cancel ? MessageAnswer::Cancel : MessageAnswer::Ok;
    });
    app.SetArguments(args);
    ui::ScriptedAnswers scripted(&out);
    QueuedAnswers queued(scripted);
    app.SetDialogAnswers(headless ? static_cast<ui::DialogAnswers*>(&scripted) : &queued);

    PosixSystemServices system(options.dataDir);
    system.SetDriveMappings(options.drives);
    AutomationRunner runner(app, *display, &scripted, err,
                            headless ? AutomationRunner::Pacing::Virtual : AutomationRunner::Pacing::Real);
    runner.SetCommands(std::move(commands));
    if (headless || !options.eventsPath.empty())
        runner.Install();

    // The script engine reaches the user and the platform through these settings.
    ScriptEngine& engine = ScriptEngine::Process();
    StreamTrace trace(out);
    ScriptedBreakKey scriptedBreak(runner);
    RealClock watchdog;
    DisplayBreakKey displayBreak(*display, watchdog);
    ScriptEngine::Settings saved = engine.GetSettings();
    ScriptEngine::Settings& settings = engine.GetSettings();
    settings.clock = clock.get();
    settings.trace = options.trace ? &trace : nullptr;
    settings.breakKey = headless ? static_cast<BreakKey*>(&scriptedBreak) : &displayBreak;
    settings.timeoutSeconds = options.TimeoutSeconds();
    settings.watchdogClock = &watchdog;
    settings.dataFolder = system.DataFolder();
    settings.launchEnabled = !options.noLaunch;
    settings.errors = &err;
    // Launch, MCI sounds, beeps and plug-ins ("*.plg" beside the program); headless runs stay silent.
    PosixLauncher launcher(system);
    RecordingMciWaveOutput silence;
    std::unique_ptr<SdlMciWaveOutput> speaker = headless ? nullptr : std::make_unique<SdlMciWaveOutput>();
    MciWaveOutput& sound = speaker ? static_cast<MciWaveOutput&>(*speaker) : silence;
    MciCommands mci(FileSystem::Native(), system, sound);
    CountingBeeper silentBeeper;
    ToneBeeper toneBeeper(sound);
    PosixDynamicLibraryLoader libraries;
    settings.launcher = &launcher;
    settings.mci = &mci;
    settings.beeper = headless ? static_cast<Beeper*>(&silentBeeper) : &toneBeeper;
    settings.system = &system;
    settings.libraries = &libraries;
    size_t slash = context.programPath.find_last_of('/');
    settings.plugInFolder = slash == std::string::npos ? std::string(".") : context.programPath.substr(0, slash);
    engine.Install();

    Player player(app, FileSystem::Native(), system,
                  context.windows ? context.windows : DefaultStartWindows(&screenContext));
    runner.SetQuitAction([&player] { player.CloseStartWindow(); });
    int code = player.Run(CommandLine::Words(options.words), context.programPath);
    app.SetIdleHandler(nullptr);
    settings = saved;
    out.flush();
    return code;
}

}  // namespace tamber::shell
