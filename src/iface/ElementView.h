#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gfx/Rect.h"
#include "ui/Painter.h"

namespace tamber {

class Element;
class InterfaceModel;

namespace ui {
class TWindow;
}

// The plain child window in which a passive element (String, Line, Rectangle, Picture) shows
// itself: a window of the element's interface window at the element's frame, painted by a
// function the element supplies. The window erases nothing (the Interface's background shows
// through wherever the element draws nothing) and lets mouse input fall through to the
// interface window, which hit-tests its elements itself.
//
// The element keeps one ElementView, calls Show/Hide/Destroy from its own Show, Hide and
// Destroy, Invalidate when an attribute changes what it draws, and answers Handle() from
// WindowHandle(): the interface window moves and resizes the window when the frame changes.
class ElementView {
public:
    // Draws the element's content; client is the window's client rectangle (0, 0, width, height).
    using PaintFunction = std::function<void(ui::Painter& painter, const gfx::Rect& client)>;

    ElementView(Element& element, PaintFunction paint);
    ~ElementView();
    ElementView(const ElementView&) = delete;
    ElementView& operator=(const ElementView&) = delete;

    // Creates the window when there is none (nothing happens when the element's model has no
    // host window), places it at the element's frame and shows it.
    void Show();
    void Hide();
    void Destroy();
    // Repaints the content.
    void Invalidate();
    bool IsShown() const;
    // The window's handle, 0 when it does not exist.
    intptr_t Handle() const;
    ui::TWindow* Window() const;

    // An element's frame in its host window's client coordinates.
    static gfx::Rect ClientRect(const Element& element);

private:
    class View;

    Element& m_element;
    PaintFunction m_paint;
    std::unique_ptr<View> m_window;
};

}  // namespace tamber
