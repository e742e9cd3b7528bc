#pragma once

#include <memory>

#include "platform/gfx/Dc.h"
#include "ui/Painter.h"

namespace tamber::ui {

// A device context of the graphics layer over a window's draw target: its origin is the
// window's client origin and it reaches only the target's clip, so code written against the
// classic drawing calls can paint into a window (inside Paint with the painter's target, or at
// any time with TWindow::ClientDrawTarget). Answers nullptr without a surface or application.
std::unique_ptr<gfx::Dc> CreateWindowDc(const DrawTarget& target);

} // namespace tamber::ui
