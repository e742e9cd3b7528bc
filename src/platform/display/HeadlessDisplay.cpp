#include "platform/display/HeadlessDisplay.h"

namespace tamber {

void HeadlessDisplay::Output(const std::vector<gfx::Rect>& rects, bool paletteChanged) {
    ++m_presentCount;
    m_lastPresented = rects;
}

}  // namespace tamber
