#include "shell/AutomationRunner.h"

#include <algorithm>

#include "ui/MessageBox.h"
#include "ui/TWindow.h"

namespace tamber::shell {

namespace {

// Decodes UTF-8 into Windows-1252 bytes; characters outside Latin-1 become '?'. Bytes that are
// not valid UTF-8 are taken as they are.
std::vector<uint8_t> ToWindows1252(const std::string& text)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < text.size();) {
        auto c = static_cast<uint8_t>(text[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<uint8_t>(text[i + k]) & 0xC0) == 0x80;
        if (!valid) {
            out.push_back(c);
            ++i;
            continue;
        }
        if (length == 1) {
            out.push_back(c);
        } else if (length == 2) {
            uint32_t code = (c & 0x1Fu) << 6 | (static_cast<uint8_t>(text[i + 1]) & 0x3Fu);
            out.push_back(code <= 0xFF ? static_cast<uint8_t>(code) : '?');
        } else {
            out.push_back('?');
        }
        i += length;
    }
    return out;
}

bool HasShownWindow(const ui::Application& app)
{
    for (ui::TWindow* top : app.TopLevels()) {
        if (top->IsShown() && top->GetLayer() == ui::Layer::Normal)
            return true;
    }
    return false;
}

}  // namespace

AutomationRunner::AutomationRunner(ui::Application& app, Display& display, ui::ScriptedAnswers* answers,
                                   std::ostream& errors, Pacing pacing)
    : m_app(app), m_display(display), m_answers(answers), m_errors(errors), m_pacing(pacing)
{
}

void AutomationRunner::SetCommands(std::vector<AutomationCommand> commands)
{
    m_commands = std::move(commands);
    m_next = 0;
    m_waiting = false;
    m_closeAttempts = 0;
}

void AutomationRunner::Install()
{
    m_app.SetIdleHandler([this] { return Step(); });
}

ui::IdleResult AutomationRunner::Step()
{
    if (m_waiting && ContinueWait())
        return ui::IdleResult::Continue;
    if (m_next < m_commands.size()) {
        Execute(m_commands[m_next++]);
        return ui::IdleResult::Continue;
    }
    // The script is over: close what is still open, as a user would.
    if (HasShownWindow(m_app) && m_closeAttempts < kMaxCloseAttempts) {
        ++m_closeAttempts;
        InputEvent close;
        close.type = EventType::Quit;
        m_display.PostEvent(close);
        return ui::IdleResult::Continue;
    }
    return ui::IdleResult::Exhausted;
}

bool AutomationRunner::TakeBreak()
{
    if (m_next < m_commands.size() && m_commands[m_next].kind == CommandKind::Key &&
        m_commands[m_next].stroke.IsBreak()) {
        ++m_next;
        return true;
    }
    return false;
}

bool AutomationRunner::ContinueWait()
{
    Clock& clock = m_app.GetClock();
    uint32_t now = clock.TickCount();
    int32_t left = static_cast<int32_t>(m_waitEnd - now);
    if (left <= 0) {
        m_waiting = false;
        return false;
    }
    // Stop at the next timer that falls due within the wait, so the loop fires it before time
    // moves on; the loop calls again once it has handled everything.
    uint32_t step = static_cast<uint32_t>(left);
    uint32_t due = 0;
    if (m_app.NextTimerDue(due)) {
        int32_t untilDue = static_cast<int32_t>(due - now);
        if (untilDue >= 0 && untilDue < left)
            step = static_cast<uint32_t>(untilDue);
    }
    if (m_pacing == Pacing::Real)
        step = std::min(step, kRealSleepSlice);
    clock.Sleep(std::max<uint32_t>(step, m_pacing == Pacing::Real ? 1 : 0));
    return true;
}

void AutomationRunner::PostMouse(EventType type, const AutomationCommand& command, int32_t clicks)
{
    InputEvent event;
    event.type = type;
    event.x = command.x;
    event.y = command.y;
    event.button = type == EventType::MouseMove ? MouseButton::None : command.button;
    event.clicks = clicks;
    m_display.PostEvent(event);
}

void AutomationRunner::PostKey(const KeyStroke& stroke, uint8_t character)
{
    InputEvent event;
    event.modifiers = stroke.modifiers;
    event.key = stroke.key;
    if (stroke.key != 0) {
        event.type = EventType::KeyDown;
        m_display.PostEvent(event);
    }
    if (character != 0) {
        InputEvent ch = event;
        ch.type = EventType::Char;
        ch.ch = character;
        m_display.PostEvent(ch);
    }
    if (stroke.key != 0) {
        event.type = EventType::KeyUp;
        m_display.PostEvent(event);
    }
}

void AutomationRunner::Execute(const AutomationCommand& command)
{
    switch (command.kind) {
    case CommandKind::Wait:
        m_waitEnd = m_app.GetClock().TickCount() + command.milliseconds;
        m_waiting = true;
        ContinueWait();
        break;
    case CommandKind::Move:
        PostMouse(EventType::MouseMove, command, 1);
        break;
    case CommandKind::Down:
        PostMouse(EventType::MouseDown, command, 1);
        break;
    case CommandKind::Up:
        PostMouse(EventType::MouseUp, command, 1);
        break;
    case CommandKind::Click:
        PostMouse(EventType::MouseDown, command, 1);
        PostMouse(EventType::MouseUp, command, 1);
        break;
    case CommandKind::DoubleClick:
        PostMouse(EventType::MouseDown, command, 1);
        PostMouse(EventType::MouseUp, command, 1);
        PostMouse(EventType::MouseDown, command, 2);
        PostMouse(EventType::MouseUp, command, 2);
        break;
    case CommandKind::Key:
        PostKey(command.stroke, KeyNames::CharacterOf(command.stroke));
        break;
    case CommandKind::Type:
        for (uint8_t ch : ToWindows1252(command.text))
            PostKey(KeyNames::StrokeFor(ch), ch);
        break;
    case CommandKind::Answer:
        if (m_answers)
            m_answers->Answer(ui::ButtonName(command.answer));
        break;
    case CommandKind::Choose:
        if (m_answers)
            m_answers->Choose(command.text);
        break;
    case CommandKind::Screenshot: {
        std::string error;
        if (m_app.Screenshot(command.text, &error) != 1) {
            ++m_failures;
            m_errors << "tamber: line " << command.line << ": screenshot " << command.text << ": "
                     << (error.empty() ? "cannot be written" : error) << "\n";
        }
        break;
    }
    case CommandKind::Quit: {
        if (m_quit) {
            m_quit();
            break;
        }
        InputEvent close;
        close.type = EventType::Quit;
        m_display.PostEvent(close);
        break;
    }
    }
}

}  // namespace tamber::shell
