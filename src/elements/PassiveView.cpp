#include "elements/PassiveView.h"

#include "elements/ElementHost.h"
#include "iface/Element.h"

namespace tamber {

PassiveView::PassiveView(Element& owner, ElementPane::PaintFunction paint)
    : m_owner(owner), m_paint(std::move(paint))
{
}

PassiveView::~PassiveView() = default;

bool PassiveView::Create()
{
    if (Exists())
        return true;
    ElementHost* host = HostOf(m_owner);
    ui::TWindow* parent = host ? host->ElementParentWindow() : nullptr;
    if (!parent || !parent->IsCreated())
        return false;
    m_pane = std::make_unique<ElementPane>(m_paint);
    if (!m_pane->Create(parent, m_owner.GetTypeName(), host->CardToWindow(m_owner.GetFrame()))) {
        m_pane.reset();
        return false;
    }
    return true;
}

void PassiveView::Show()
{
    if (!IsOnShownCard(m_owner))
        return;
    ElementHost* host = HostOf(m_owner);
    if (!host)
        return;
    gfx::Rect rect = host->CardToWindow(m_owner.GetFrame());
    if (ui::TWindow* parent = host->ElementParentWindow(); parent && parent->IsCreated())
        parent->Invalidate(rect);
    if (!Create())
        return;
    m_pane->SetRect(rect);
    m_pane->Show();
    m_pane->Invalidate();
}

void PassiveView::Hide()
{
    if (Exists())
        m_pane->Hide();
}

void PassiveView::Destroy()
{
    if (m_pane)
        m_pane->Destroy();
    m_pane.reset();
}

void PassiveView::Redraw()
{
    if (Exists() && m_pane->IsShown())
        m_pane->Invalidate();
}

}  // namespace tamber
