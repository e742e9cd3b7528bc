#include "elements/ElementPane.h"

#include "ui/WindowDc.h"

namespace tamber {

ElementPane::ElementPane(PaintFunction paint) : m_paint(std::move(paint))
{
    SetNoBackground();
    SetTransparency(ui::Transparency::MouseOnly);
}

void ElementPane::Paint(ui::Painter& painter)
{
    std::unique_ptr<gfx::Dc> dc = ui::CreateWindowDc(painter.Target());
    if (dc && m_paint)
        m_paint(*dc, ClientWidth(), ClientHeight());
}

}  // namespace tamber
