#include "iface/InterfaceTimer.h"

#include "iface/InterfaceWindow.h"
#include "iface/ScriptHost.h"
#include "ui/Application.h"

namespace tamber {

uint32_t InterfaceTimer::s_startTick = 0;
int32_t InterfaceTimer::s_timerId = 0;

namespace {

uint32_t Now()
{
    ui::Application* app = ui::Application::Current();
    return app ? app->GetClock().TickCount() : 0;
}

uint32_t Interval(int32_t ms)
{
    return ms < 1 ? 1u : static_cast<uint32_t>(ms);
}

}  // namespace

int InterfaceTimer::Start(InterfaceWindow* window, int32_t intervalMs, int32_t timerId)
{
    if (!window || !window->IsCreated() || window->TimerRunning())
        return 0;
    window->StartTimer(Interval(intervalMs));
    s_startTick = Now();
    s_timerId = timerId;
    if (ScriptHost* host = ScriptHost::Installed())
        host->SetTimerBase(s_startTick);
    return 1;
}

void InterfaceTimer::Stop(InterfaceWindow* window)
{
    if (window)
        window->StopTimer();
}

bool InterfaceTimer::Running(const InterfaceWindow* window)
{
    return window && window->TimerRunning();
}

void InterfaceTimer::Restart(InterfaceWindow* window, int32_t intervalMs)
{
    if (!Running(window))
        return;
    window->StopTimer();
    window->StartTimer(Interval(intervalMs));
}

uint32_t InterfaceTimer::Elapsed()
{
    return Now() - s_startTick;
}

}  // namespace tamber
