#include "ui/HeadlessScreen.h"

namespace tamber::ui {

HeadlessScreen::HeadlessScreen(int32_t width, int32_t height, gfx::PixelFormat format)
    : m_width(width > 0 ? width : 1024)
    , m_height(height > 0 ? height : 768)
    , m_format(format == gfx::PixelFormat::Indexed8 ? format : gfx::PixelFormat::Rgb32)
{
}

void HeadlessScreen::Present(const gfx::Surface&, const std::vector<gfx::Rect>& dirty, const std::array<uint32_t, 256>&)
{
    if (!dirty.empty())
        ++m_presents;
}

int HeadlessScreen::WaitInput(InputEvent& event, uint32_t)
{
    if (m_input.empty())
        return 0;
    event = m_input.front();
    m_input.pop_front();
    return 1;
}

} // namespace tamber::ui
