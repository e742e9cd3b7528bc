#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "elements/ElementHost.h"
#include "iface/AttributeAccessor.h"
#include "iface/ClassDefinition.h"
#include "iface/Element.h"
#include "iface/ElementView.h"
#include "platform/gfx/Dc.h"

namespace tamber {

// The base of the elements that only draw (String, Line, Rectangle, Picture). Derived shows
// itself in an ElementView and provides:
//   static std::span<const AttributeAccessor<Derived>> Accessors();  its own attributes
//   void Paint(gfx::Dc& dc, int32_t width, int32_t height);          drawing at the Dc's origin
//   void ApplyDefaultSize();                                         a frame when it has none
// A write through the accessor table that succeeds marks the element modified and repaints it.
// Show prepares the element as Create does (a derived Create may do more than size it), then
// shows the view when the element stands on the shown Card.
template<class Derived> class PassiveElement : public Element {
public:
    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override
    {
        int result = GetThroughTable(Derived::Accessors(), Self(), name, type, value);
        return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
    }

    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override
    {
        int result = SetThroughTable(Derived::Accessors(), Self(), name, type, value);
        if (result == kNotInTable)
            return Element::SetAttribute(name, type, value);
        if (result == 1) {
            MarkModified();
            m_view.Invalidate();
        }
        return result;
    }

    void Create() override { Self().ApplyDefaultSize(); }

    void Show() override
    {
        if (!IsOnShownCard(*this))
            return;
        Create();
        m_view.Show();
    }

    void Hide() override { m_view.Hide(); }
    void Destroy() override { m_view.Destroy(); }
    intptr_t WindowHandle() const override { return m_view.Handle(); }

protected:
    PassiveElement(InterfaceModel* parent, ClassId classId)
        : Element(parent)
        , m_view(*this, PaintThroughDc([this](gfx::Dc& dc, int32_t width, int32_t height) {
            Self().Paint(dc, width, height);
        }))
    {
        LoadClassDefinition(static_cast<uint16_t>(classId));
    }

    ElementView& View() { return m_view; }

private:
    Derived& Self() { return static_cast<Derived&>(*this); }

    ElementView m_view;
};

} // namespace tamber
