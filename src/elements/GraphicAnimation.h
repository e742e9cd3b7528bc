#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace tamber {

class Beeper;
class Canvas;
class CanvasStepper;
struct CanvasEventGroup;

// One named animation of a canvas played a step at a time. Only one runs at once.
class GraphicAnimation {
public:
    GraphicAnimation();
    ~GraphicAnimation();

    // Starts the event group named so (ASCII case ignored). Answers false, starting nothing,
    // when the name is unknown or an animation is running.
    bool Start(Canvas& canvas, std::string_view name, Beeper* beeper);
    // Runs one step. Answers true when that step was the last; the animation then stops.
    bool Step();
    // Whether the canvas is to be redrawn after the last step: after every step when the
    // group asks for it, else once at the end.
    bool RedrawNow() const;
    void Stop();
    bool Running() const { return m_stepper != nullptr; }
    int32_t StepsDone() const { return m_steps; }

private:
    const CanvasEventGroup* m_group = nullptr;
    std::unique_ptr<CanvasStepper> m_stepper;
    int32_t m_steps = 0;
    bool m_ended = false;
};

}  // namespace tamber
