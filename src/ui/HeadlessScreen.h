#pragma once

#include <deque>

#include "ui/ScreenPort.h"

namespace tamber::ui {

// A screen in memory. Input is queued by the caller (tests, the automation player) and handed
// out without waiting; presentation only counts.
class HeadlessScreen : public ScreenPort {
public:
    HeadlessScreen(int32_t width = 1024, int32_t height = 768, gfx::PixelFormat format = gfx::PixelFormat::Rgb32);

    int32_t Width() const override { return m_width; }
    int32_t Height() const override { return m_height; }
    gfx::PixelFormat Format() const override { return m_format; }
    void Present(const gfx::Surface& screen, const std::vector<gfx::Rect>& dirty,
                 const std::array<uint32_t, 256>& palette) override;
    int WaitInput(InputEvent& event, uint32_t timeoutMs) override;
    void SetCursor(CursorShape shape) override { m_cursor = shape; }
    Interactive IsInteractive() const override { return Interactive::No; }

    void Queue(const InputEvent& event) { m_input.push_back(event); }
    bool HasInput() const { return !m_input.empty(); }
    int PresentCount() const { return m_presents; }
    CursorShape Cursor() const { return m_cursor; }

private:
    int32_t m_width;
    int32_t m_height;
    gfx::PixelFormat m_format;
    std::deque<InputEvent> m_input;
    int m_presents = 0;
    CursorShape m_cursor = CursorShape::Arrow;
};

} // namespace tamber::ui
