#pragma once

#include <cstdint>
#include <memory>

#include "elements/ElementPane.h"

namespace tamber {

class Element;

// The visible representation of a passive element: its pane while the element is shown on the
// current Card (or the Background) of an Interface that has a window.
class PassiveView {
public:
    PassiveView(Element& owner, ElementPane::PaintFunction paint);
    ~PassiveView();
    PassiveView(const PassiveView&) = delete;
    PassiveView& operator=(const PassiveView&) = delete;

    // Makes the pane at the element's frame, hidden. Answers whether the pane exists.
    bool Create();
    // Invalidates the frame on the parent, makes the pane when needed and shows it, when the
    // element is visible on a shown Card.
    void Show();
    void Hide();
    void Destroy();
    // Repaints the pane when it is shown.
    void Redraw();

    bool Exists() const { return m_pane && m_pane->IsCreated(); }
    intptr_t Handle() const { return Exists() ? m_pane->Handle() : 0; }
    ElementPane* Pane() const { return m_pane.get(); }

private:
    Element& m_owner;
    ElementPane::PaintFunction m_paint;
    std::unique_ptr<ElementPane> m_pane;
};

}  // namespace tamber
