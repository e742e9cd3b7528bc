#include "iface/MouseDispatcher.h"

#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"

namespace tamber {

namespace {

bool Holds(const CardRect& frame, CardPoint p)
{
    return p.x >= frame.left && p.y >= frame.top && p.x < frame.left + frame.width && p.y < frame.top + frame.height;
}

}  // namespace

Element* MouseDispatcher::HitTest(CardPoint point) const
{
    for (const Card* card : {m_model.CardAt(m_model.CurrentCard()), &m_model.Background()}) {
        if (!card)
            continue;
        for (const auto& element : card->elements) {
            if (element->IsVisible() && Holds(element->GetFrame(), point))
                return element.get();
        }
    }
    return nullptr;
}

void MouseDispatcher::Raise(Element* target, const char* event, CardPoint point, CardPoint client)
{
    Element* receiver = target ? target : m_model.Interface();
    if (!receiver || !receiver->MouseEvents())
        return;
    CardPoint at = client;
    if (target) {
        CardRect frame = target->GetFrame();
        at = CardPoint {point.x - frame.left, point.y - frame.top};
    }
    const AttributeValue args[] = {AttributeValue::OfLong(at.x), AttributeValue::OfLong(at.y)};
    receiver->RaiseEvent(event, args);
}

void MouseDispatcher::ButtonEvent(Button button, CardPoint point, CardPoint client)
{
    static constexpr const char* kEvents[] = {"MouseDown", "MouseUp", "MouseDoubleClick"};
    Raise(HitTest(point), kEvents[static_cast<int>(button)], point, client);
}

void MouseDispatcher::Move(CardPoint point, CardPoint client)
{
    // An element removed since it was remembered is forgotten without events.
    if (m_remembered && m_model.CardOf(*m_remembered) == InterfaceModel::kNotOnCard)
        m_remembered = nullptr;
    Element* under = HitTest(point);
    if (under) {
        if (under != m_remembered) {
            Raise(m_remembered, "MouseLeave", point, client);
            m_remembered = under;
            Raise(under, "MouseEnter", point, client);
        }
        Raise(m_remembered, "MouseWithin", point, client);
        return;
    }
    if (m_remembered) {
        Raise(m_remembered, "MouseLeave", point, client);
        Raise(nullptr, "MouseEnter", point, client);
        m_remembered = nullptr;
    }
    Raise(nullptr, "MouseWithin", point, client);
}

}  // namespace tamber
