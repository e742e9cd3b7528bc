#include "elements/ElementHost.h"

#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "ui/TWindow.h"
#include "ui/WindowDc.h"

namespace tamber {

ui::TWindow* HostWindowOf(const Element& element)
{
    InterfaceModel* model = element.Parent();
    ui::TWindow* host = model ? model->HostWindow() : nullptr;
    return host && host->IsCreated() ? host : nullptr;
}

bool IsOnShownCard(const Element& element)
{
    InterfaceModel* model = element.Parent();
    if (!model || !element.IsVisible())
        return false;
    int32_t card = model->CardOf(element);
    return card == InterfaceModel::kBackground || card == model->CurrentCard();
}

ElementView::PaintFunction PaintThroughDc(DcPaintFunction paint)
{
    return [paint = std::move(paint)](ui::Painter& painter, const gfx::Rect& client) {
        if (std::unique_ptr<gfx::Dc> dc = ui::CreateWindowDc(painter.Target()))
            paint(*dc, client.Width(), client.Height());
    };
}

}  // namespace tamber
