#pragma once

#include "platform/display/Display.h"

namespace tamber {

// A display in memory: nothing is shown, events come only from PostEvent, and waiting never
// blocks (time in a headless run moves through the virtual clock, not here).
class HeadlessDisplay : public Display {
public:
    HeadlessDisplay(int32_t width, int32_t height, ScreenDepth depth) : Display(width, height, depth) {}

    // How many times something was shown, and the rectangles of the last time.
    int32_t PresentCount() const { return m_presentCount; }
    const std::vector<gfx::Rect>& LastPresented() const { return m_lastPresented; }

protected:
    void Output(const std::vector<gfx::Rect>& rects, bool paletteChanged) override;
    void Pump(uint32_t timeoutMs) override {}

private:
    int32_t m_presentCount = 0;
    std::vector<gfx::Rect> m_lastPresented;
};

}  // namespace tamber
