#pragma once

#include <cstdint>

namespace tamber {

class InterfaceWindow;

// The Interface timer: an interval timer on the Interface's window, started by "TimerStart" and
// stopped by "TimerStop", by closing the Interface or after one tick when "TimerCycles" is
// false. The start tick and the id given to "TimerStart" are process-wide: the last call sets
// them for every Interface, and each "Timer" event reports them.
class InterfaceTimer {
public:
    // Starts the window's timer when none runs; records the start tick and id. Answers 1, or 0
    // when a timer runs already or there is no window.
    static int Start(InterfaceWindow* window, int32_t intervalMs, int32_t timerId);
    static void Stop(InterfaceWindow* window);
    static bool Running(const InterfaceWindow* window);
    // Restarts a running timer with a new interval.
    static void Restart(InterfaceWindow* window, int32_t intervalMs);

    static uint32_t StartTick() { return s_startTick; }
    static int32_t TimerId() { return s_timerId; }
    // Milliseconds since the last start, on the application's clock.
    static uint32_t Elapsed();

private:
    static uint32_t s_startTick;
    static int32_t s_timerId;
};

}  // namespace tamber
