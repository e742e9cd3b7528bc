#pragma once

#include <cstdint>
#include <functional>

#include "iface/ElementView.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/Rect.h"

namespace tamber {

class Element;
namespace ui {
class TWindow;
}

// How the element classes reach the window that shows their Card.

// The window the element's own windows go in, or nullptr (a model without a display).
ui::TWindow* HostWindowOf(const Element& element);

// Whether the element is visible on the Background or the current Card of its Interface.
bool IsOnShownCard(const Element& element);

// A painter for ElementView that draws with the classic calls through a device context whose
// origin is the view's client origin.
using DcPaintFunction = std::function<void(gfx::Dc& dc, int32_t width, int32_t height)>;
ElementView::PaintFunction PaintThroughDc(DcPaintFunction paint);

}  // namespace tamber
