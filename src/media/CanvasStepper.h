#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/CanvasCommand.h"

namespace tamber {

class Beeper;
class Canvas;

// Runs a list of canvas commands (the edit history, or an animation's event group) one step at
// a time. MACROBEGIN and MACROEND bracket commands that show as one change: while the nesting
// depth is above 0 the next command runs within the same step. A step asked for when no command
// is left beeps and does nothing else.
class CanvasStepper {
public:
    // The commands must outlive the stepper; beeper may be null.
    CanvasStepper(Canvas& canvas, const std::vector<CanvasCommand>& commands, Beeper* beeper)
        : m_canvas(canvas)
        , m_commands(commands)
        , m_beeper(beeper)
    {
    }

    // Answers the number of commands the step ran (0: none was left).
    int32_t Step();
    // Whether the last step ended outside any macro, so the canvas is to be redrawn now.
    bool RedrawNeeded() const { return m_redraw; }
    bool Done() const { return m_next >= m_commands.size(); }
    size_t Position() const { return m_next; }
    int32_t Depth() const { return m_depth; }

private:
    Canvas& m_canvas;
    const std::vector<CanvasCommand>& m_commands;
    Beeper* m_beeper;
    size_t m_next = 0;
    int32_t m_depth = 0;
    bool m_redraw = false;
};

} // namespace tamber
