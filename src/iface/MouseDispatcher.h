#pragma once

#include <cstdint>

#include "iface/CardGeometry.h"

namespace tamber {

class Element;
class InterfaceModel;

// Turns the mouse over an Interface into element events. The current Card's elements are
// hit-tested first, then the Background's, each in stored order; the first visible element whose
// frame holds the point is the target, else the Interface object. A target raises the event
// only when its "MouseEvents" is true: an element with it false swallows the event. Elements get
// points relative to their frame, the Interface gets client coordinates.
class MouseDispatcher {
public:
    enum class Button : uint8_t { Down, Up, DoubleClick };

    explicit MouseDispatcher(InterfaceModel& model) : m_model(model) { }

    // The element under a card point, or null for none.
    Element* HitTest(CardPoint point) const;
    // A button event at a card point; client is the same point in the window's client area.
    void ButtonEvent(Button button, CardPoint point, CardPoint client);
    // A pointer move: "MouseLeave" / "MouseEnter" when the element under the pointer changes,
    // then "MouseWithin".
    void Move(CardPoint point, CardPoint client);
    // Forgets the element under the pointer (its Card went away).
    void Forget() { m_remembered = nullptr; }
    Element* Remembered() const { return m_remembered; }

private:
    void Raise(Element* target, const char* event, CardPoint point, CardPoint client);

    InterfaceModel& m_model;
    Element* m_remembered = nullptr;
};

}  // namespace tamber
