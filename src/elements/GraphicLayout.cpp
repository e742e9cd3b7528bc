#include "elements/GraphicLayout.h"

#include <algorithm>

namespace tamber {

namespace {

// Steps needed to bring the far edge of a picture into view.
int32_t StepsOver(int32_t picture, int32_t area)
{
    return (picture - area + GraphicLayout::kScrollStep - 1) / GraphicLayout::kScrollStep;
}

}  // namespace

void GraphicLayout::Update(int32_t clientWidth, int32_t clientHeight, int32_t pictureWidth, int32_t pictureHeight,
    uint16_t display, bool editMode)
{
    m_pictureWidth = std::max(pictureWidth, 0);
    m_pictureHeight = std::max(pictureHeight, 0);
    m_display = display;
    int32_t left = editMode ? std::min(kToolStripWidth, clientWidth) : 0;
    m_area = gfx::Rect { left, 0, std::max(clientWidth, left), std::max(clientHeight, 0) };
    int32_t areaWidth = m_area.Width();
    int32_t areaHeight = m_area.Height();

    const bool fitted = !editMode && (display == kStretch || display == kBestFit);
    m_scaled = fitted;
    m_center = display == kCenter || display == kBestFit;
    if (fitted || m_pictureWidth == 0 || m_pictureHeight == 0) {
        m_horizontal = Bar {};
        m_vertical = Bar {};
        if (display == kStretch && fitted) {
            m_picture = m_area;
            return;
        }
        int64_t width = m_pictureWidth;
        int64_t height = m_pictureHeight;
        if (width > areaWidth && width > 0) {
            height = height * areaWidth / width;
            width = areaWidth;
        }
        if (height > areaHeight && height > 0) {
            width = width * areaHeight / height;
            height = areaHeight;
        }
        int32_t w = static_cast<int32_t>(width);
        int32_t h = static_cast<int32_t>(height);
        m_picture = gfx::Rect::FromSize(m_area.left + (areaWidth - w) / 2, m_area.top + (areaHeight - h) / 2, w, h);
        return;
    }

    // Unscaled: a bar wherever the picture is larger; the horizontal bar's height may in turn
    // make the picture taller than what is left, and the vertical bar's width wider.
    bool across = m_pictureWidth > areaWidth;
    bool down = m_pictureHeight > areaHeight;
    if (across && !down)
        down = m_pictureHeight > areaHeight - kBarThickness;
    if (down && !across)
        across = m_pictureWidth > areaWidth - kBarThickness;
    if (across)
        m_area.bottom = std::max(m_area.top, m_area.bottom - kBarThickness);
    if (down)
        m_area.right = std::max(m_area.left, m_area.right - kBarThickness);
    m_horizontal.shown = across;
    m_horizontal.max = across ? StepsOver(m_pictureWidth, m_area.Width()) : 0;
    m_horizontal.position = across ? std::min(m_horizontal.position, m_horizontal.max) : 0;
    m_vertical.shown = down;
    m_vertical.max = down ? StepsOver(m_pictureHeight, m_area.Height()) : 0;
    m_vertical.position = down ? std::min(m_vertical.position, m_vertical.max) : 0;
    Place();
}

void GraphicLayout::Place()
{
    int32_t x = m_area.left;
    int32_t y = m_area.top;
    if (m_horizontal.shown)
        x -= m_horizontal.position * kScrollStep;
    else if (m_center)
        x += (m_area.Width() - m_pictureWidth) / 2;
    if (m_vertical.shown)
        y -= m_vertical.position * kScrollStep;
    else if (m_center)
        y += (m_area.Height() - m_pictureHeight) / 2;
    m_picture = gfx::Rect::FromSize(x, y, m_pictureWidth, m_pictureHeight);
}

bool GraphicLayout::ScrollTo(int32_t x, int32_t y)
{
    if (m_scaled)
        return false;
    auto set = [](Bar& bar, int32_t pixels) {
        if (!bar.shown)
            return false;
        int32_t position = std::clamp(pixels / kScrollStep, 0, bar.max);
        bool changed = position != bar.position;
        bar.position = position;
        return changed;
    };
    bool changedX = set(m_horizontal, x);
    bool changedY = set(m_vertical, y);
    if (changedX || changedY)
        Place();
    return changedX || changedY;
}

bool GraphicLayout::ToPicture(gfx::Point client, gfx::Point& picture) const
{
    if (!m_area.Contains(client) || !m_picture.Contains(client))
        return false;
    int64_t dx = client.x - m_picture.left;
    int64_t dy = client.y - m_picture.top;
    if (m_scaled) {
        dx = dx * m_pictureWidth / std::max(m_picture.Width(), 1);
        dy = dy * m_pictureHeight / std::max(m_picture.Height(), 1);
    }
    picture = gfx::Point { static_cast<int32_t>(dx), static_cast<int32_t>(dy) };
    return true;
}

}  // namespace tamber
