#pragma once

#include "iface/CardGeometry.h"
#include "platform/gfx/Rect.h"

namespace tamber {

class Element;
class ScreenContext;
namespace ui {
class TWindow;
}

// What an element needs from the window that shows its Card: the window its own windows go in,
// where a Card rectangle lies in that window, and the screen context that images are converted
// against.
class ElementHost {
public:
    virtual ~ElementHost() = default;
    virtual ui::TWindow* ElementParentWindow() = 0;
    virtual gfx::Rect CardToWindow(const CardRect& frame) const = 0;
    virtual ScreenContext* ElementScreen() = 0;
};

// The host of the element's Interface, or nullptr when it has none (a model without a window).
ElementHost* HostOf(const Element& element);

// Whether the element is visible on the Background or the current Card of its Interface.
bool IsOnShownCard(const Element& element);

// Where a control of the element goes: its frame one pixel wider and taller, in the host window.
gfx::Rect ControlRect(const Element& element, const ElementHost& host);

}  // namespace tamber
