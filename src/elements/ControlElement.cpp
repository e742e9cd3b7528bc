#include "elements/ControlElement.h"

#include "elements/ControlElements.h"
#include "elements/ElementHost.h"
#include "iface/AttributeFlags.h"
#include "iface/InterfaceModel.h"
#include "ui/TControl.h"
#include "ui/TWindow.h"

namespace tamber {

ControlElement::ControlElement(InterfaceModel* parent, ClassId classId, CardRect defaultSize)
    : Element(parent)
    , m_defaultSize(defaultSize)
{
    LoadClassDefinition(static_cast<uint16_t>(classId));
}

ControlElement::~ControlElement()
{
    // The classes take their state back in their own destructors; only the windows are left.
    RetireControl(std::move(m_control));
    RetireControl(std::move(m_companion));
}

int ControlElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = Element::SetAttribute(name, type, value);
    if (result == 1 && m_control && NamesEqual(name, "Enabled"))
        ApplyEnabled();
    return result;
}

void ControlElement::Show()
{
    if (!IsOnShownCard(*this))
        return;
    if (!m_control || !m_control->IsCreated())
        Create();
    if (m_control)
        m_control->Show();
}

void ControlElement::Hide()
{
    Destroy();
}

void ControlElement::Destroy()
{
    if (!m_control)
        return;
    ControlGoing();
    RetireControl(std::move(m_control));
    RetireControl(std::move(m_companion));
}

intptr_t ControlElement::WindowHandle() const
{
    return m_control && m_control->IsCreated() ? static_cast<intptr_t>(m_control->Handle()) : 0;
}

CardRect ControlElement::WindowFrame() const
{
    CardRect frame = GetFrame();
    const int32_t grow = ControlGrowth() == Growth::OnePixel ? 1 : 0;
    return CardRect {frame.left, frame.top, frame.width + grow, frame.height + grow};
}

void ControlElement::ApplyDefaultSize()
{
    CardRect frame = GetFrame();
    if (frame.width > 0 && frame.height > 0)
        return;
    SetFrame(CardRect {frame.left + m_defaultSize.left, frame.top + m_defaultSize.top, m_defaultSize.width,
        m_defaultSize.height});
}

ui::TWindow* ControlElement::PrepareHost()
{
    ApplyDefaultSize();
    InvalidateControlRect();
    return HostWindowOf(*this);
}

void ControlElement::InvalidateControlRect() const
{
    if (ui::TWindow* host = HostWindowOf(*this))
        host->Invalidate(ControlRect());
}

gfx::Rect ControlElement::ControlRect() const
{
    CardRect frame = WindowFrame();
    if (InterfaceModel* model = Parent())
        frame = model->CardToClient(frame);
    return gfx::Rect::FromSize(frame.left, frame.top, frame.width, frame.height);
}

void ControlElement::AdoptControl(
    std::unique_ptr<ui::TControl> control, std::unique_ptr<ui::TWindow> companion)
{
    m_control = std::move(control);
    m_companion = std::move(companion);
}

bool ControlElement::ClassAttributeStored(std::string_view name)
{
    MarkModified();
    if (!m_control)
        return false;
    const AttributeDef* def = FindAttribute(AttributeTable(), name);
    if (!def || !(def->flags & AF_RECONSTRUCT))
        return true;
    Destroy();
    Show();
    return false;
}

void ControlElement::ApplyEnabled()
{
    if (IsEnabled())
        m_control->Enable();
    else
        m_control->Disable();
}

}  // namespace tamber
