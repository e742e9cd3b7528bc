#include "iface/ElementView.h"

#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "ui/TWindow.h"

namespace tamber {

class ElementView::View : public ui::TWindow {
public:
    explicit View(ElementView& owner) : m_owner(owner)
    {
        SetNoBackground();
        SetTransparency(ui::Transparency::MouseOnly);
    }

protected:
    void Paint(ui::Painter& painter) override
    {
        if (m_owner.m_paint)
            m_owner.m_paint(painter, ClientRect());
    }

private:
    ElementView& m_owner;
};

ElementView::ElementView(Element& element, PaintFunction paint) : m_element(element), m_paint(std::move(paint)) { }

ElementView::~ElementView() = default;

gfx::Rect ElementView::ClientRect(const Element& element)
{
    CardRect frame = element.GetFrame();
    if (InterfaceModel* model = element.Parent())
        frame = model->CardToClient(frame);
    return gfx::Rect::FromSize(frame.left, frame.top, frame.width, frame.height);
}

void ElementView::Show()
{
    InterfaceModel* model = m_element.Parent();
    ui::TWindow* host = model ? model->HostWindow() : nullptr;
    if (!host || !host->IsCreated())
        return;
    if (m_window && m_window->IsCreated() && m_window->Parent() != host)
        m_window->Destroy();
    if (!m_window)
        m_window = std::make_unique<View>(*this);
    if (!m_window->IsCreated()) {
        if (!m_window->Create(host, "", ClientRect(m_element), Visibility::Hidden))
            return;
    } else {
        m_window->SetRect(ClientRect(m_element));
    }
    m_window->Show();
    m_window->Invalidate();
}

void ElementView::Hide()
{
    if (m_window && m_window->IsCreated())
        m_window->Hide();
}

void ElementView::Destroy()
{
    if (m_window)
        m_window->Destroy();
}

void ElementView::Invalidate()
{
    if (m_window && m_window->IsCreated())
        m_window->Invalidate();
}

bool ElementView::IsShown() const
{
    return m_window && m_window->IsCreated() && m_window->IsShown();
}

intptr_t ElementView::Handle() const
{
    return m_window && m_window->IsCreated() ? static_cast<intptr_t>(m_window->Handle()) : 0;
}

ui::TWindow* ElementView::Window() const
{
    return m_window && m_window->IsCreated() ? m_window.get() : nullptr;
}

}  // namespace tamber
