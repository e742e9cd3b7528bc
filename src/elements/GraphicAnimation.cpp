#include "elements/GraphicAnimation.h"

#include "media/Canvas.h"
#include "media/CanvasStepper.h"

namespace tamber {

GraphicAnimation::GraphicAnimation() = default;
GraphicAnimation::~GraphicAnimation() = default;

bool GraphicAnimation::Start(Canvas& canvas, std::string_view name, Beeper* beeper)
{
    if (Running())
        return false;
    const CanvasEventGroup* group = canvas.FindEventGroup(name);
    if (!group)
        return false;
    m_group = group;
    m_stepper = std::make_unique<CanvasStepper>(canvas, group->commands, beeper);
    m_steps = 0;
    m_ended = false;
    return true;
}

bool GraphicAnimation::Step()
{
    if (!m_stepper)
        return false;
    // An empty group ends at its first step without running anything (and without a beep).
    if (!m_stepper->Done()) {
        m_stepper->Step();
        ++m_steps;
    }
    if (!m_stepper->Done())
        return false;
    m_ended = true;
    m_stepper.reset();
    return true;
}

bool GraphicAnimation::RedrawNow() const
{
    if (m_ended)
        return true;
    return m_group && m_group->flag && m_stepper && m_stepper->RedrawNeeded();
}

void GraphicAnimation::Stop()
{
    m_stepper.reset();
    m_group = nullptr;
}

}  // namespace tamber
