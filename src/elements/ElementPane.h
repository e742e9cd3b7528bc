#pragma once

#include <cstdint>
#include <functional>

#include "platform/gfx/Dc.h"
#include "ui/TWindow.h"

namespace tamber {

// The plain child window a passive element shows in, at the element's frame. It paints no
// background (the Card shows through) and lets the mouse fall through to the interface window,
// which hit-tests the elements itself. The content comes from the element's painter, which
// draws with the classic calls in the pane's client coordinates.
class ElementPane : public ui::TWindow {
public:
    using PaintFunction = std::function<void(gfx::Dc& dc, int32_t width, int32_t height)>;

    explicit ElementPane(PaintFunction paint);

protected:
    void Paint(ui::Painter& painter) override;

private:
    PaintFunction m_paint;
};

}  // namespace tamber
