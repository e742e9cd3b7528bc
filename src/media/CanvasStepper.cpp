#include "media/CanvasStepper.h"

#include "media/Canvas.h"
#include "platform/Beeper.h"

namespace tamber {

int32_t CanvasStepper::Step()
{
    m_redraw = false;
    if (Done()) {
        if (m_beeper != nullptr)
            m_beeper->Beep();
        return 0;
    }
    int32_t ran = 0;
    do {
        const CanvasCommand& command = m_commands[m_next++];
        if (command.type == CanvasCommandType::MacroBegin)
            ++m_depth;
        else if (command.type == CanvasCommandType::MacroEnd && m_depth > 0)
            --m_depth;
        m_canvas.Execute(command);
        ++ran;
    } while (m_depth > 0 && !Done());
    m_redraw = m_depth == 0;
    return ran;
}

} // namespace tamber
