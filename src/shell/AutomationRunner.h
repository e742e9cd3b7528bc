#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "platform/display/Display.h"
#include "shell/AutomationScript.h"
#include "ui/Application.h"
#include "ui/ScriptedAnswers.h"

namespace tamber::shell {

// Plays an automation script into a running application. It is the application's idle
// handler: each time the loop has nothing left to do it takes the next command, so everything a
// command caused (messages, paints, timers up to the clock) is handled before the next one.
// Input goes into the display's event queue, as the platform's would. `wait` moves the clock
// one due timer at a time, so every timer that falls due fires, in order.
//
// When the script is done, the runner closes the windows as a user would (the close of the
// active top-level window, again while windows remain), then reports the input exhausted.
class AutomationRunner {
public:
    // How `wait` lets time pass: a virtual clock jumps; on a real clock the loop keeps taking
    // the platform's events while the time passes.
    enum class Pacing : uint8_t { Virtual, Real };
    // Closing attempts at the end before giving up on windows that refuse to close.
    static constexpr int kMaxCloseAttempts = 8;
    static constexpr uint32_t kRealSleepSlice = 10;

    // answers may be null (dialogs are then not answered from the script); errors receives
    // the runner's own failures (a screenshot that cannot be written).
    AutomationRunner(ui::Application& app, Display& display, ui::ScriptedAnswers* answers, std::ostream& errors,
                     Pacing pacing);

    void SetCommands(std::vector<AutomationCommand> commands);
    // What `quit` does: closes the top-level Interface window. Unset, the active window is
    // closed as by the platform's close button.
    void SetQuitAction(std::function<void()> quit) { m_quit = std::move(quit); }
    // Makes this runner the application's idle handler.
    void Install();
    // One step; what the idle handler does.
    ui::IdleResult Step();
    // Asked while a script handler runs: takes a `key Ctrl+Break` that is next in the script.
    bool TakeBreak();

    bool Finished() const { return m_next >= m_commands.size() && !m_waiting; }
    size_t NextIndex() const { return m_next; }
    int32_t Failures() const { return m_failures; }

private:
    void Execute(const AutomationCommand& command);
    // Advances the pending wait by one step; answers true while it is not over.
    bool ContinueWait();
    void PostMouse(EventType type, const AutomationCommand& command, int32_t clicks);
    void PostKey(const KeyStroke& stroke, uint8_t character);

    ui::Application& m_app;
    Display& m_display;
    ui::ScriptedAnswers* m_answers;
    std::ostream& m_errors;
    Pacing m_pacing;
    std::function<void()> m_quit;
    std::vector<AutomationCommand> m_commands;
    size_t m_next = 0;
    bool m_waiting = false;
    uint32_t m_waitEnd = 0;
    int32_t m_closeAttempts = 0;
    int32_t m_failures = 0;
};

}  // namespace tamber::shell
