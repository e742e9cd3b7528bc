#include "elements/ElementHost.h"

#include "iface/Element.h"
#include "iface/InterfaceModel.h"

namespace tamber {

ElementHost* HostOf(const Element& element)
{
    return dynamic_cast<ElementHost*>(element.Parent());
}

bool IsOnShownCard(const Element& element)
{
    InterfaceModel* model = element.Parent();
    if (!model || !element.IsVisible())
        return false;
    int32_t card = model->CardOf(element);
    return card == InterfaceModel::kBackground || card == model->CurrentCard();
}

gfx::Rect ControlRect(const Element& element, const ElementHost& host)
{
    gfx::Rect rect = host.CardToWindow(element.GetFrame());
    rect.right += 1;
    rect.bottom += 1;
    return rect;
}

}  // namespace tamber
