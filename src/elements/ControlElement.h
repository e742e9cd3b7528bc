#pragma once

#include <cstdint>
#include <memory>

#include "iface/Element.h"
#include "platform/gfx/Rect.h"

namespace tamber {

namespace ui {
class TControl;
class TWindow;
}  // namespace ui

// The common part of the elements that sit on a framework control (Button, EditBox, ListBox,
// ComboBox, ScrollBar). The control exists only while the element is visible on the shown
// Card: Show creates it, Hide and Destroy retire it (safely, also from inside the control's own
// notice). The control's window covers the frame, one pixel wider and taller where the class
// says so, both when it is created and when the element moves.
class ControlElement : public Element {
public:
    ~ControlElement() override;

    // The common attributes; "Enabled" also enables or disables the control.
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;

    void Show() override;
    void Hide() override;
    void Destroy() override;
    intptr_t WindowHandle() const override;
    CardRect WindowFrame() const override;

    // The control while the element is shown, else nullptr.
    ui::TControl* Control() const { return m_control.get(); }
    // Without a width or height the frame becomes the class's default size, placed by its
    // offsets from the placement point.
    void ApplyDefaultSize();

protected:
    enum class Growth : uint8_t {None = 0, OnePixel = 1};

    // defaultSize: the offsets from the placement point and the size of a new element.
    ControlElement(InterfaceModel* parent, ClassId classId, CardRect defaultSize);

    // How much wider and taller than the frame the control is.
    virtual Growth ControlGrowth() const { return Growth::OnePixel; }
    // The control is about to go: the class takes back what it holds (text, state, selection).
    virtual void ControlGoing() { }

    // The window the control goes in, with the control's place invalidated, or null while the
    // element is not on screen. Applies the default size first.
    ui::TWindow* PrepareHost();
    // The control's rectangle in the host window's client area.
    gfx::Rect ControlRect() const;
    // Invalidates the control's place in the host window.
    void InvalidateControlRect() const;
    // Keeps a created control; companion is a window that lives and goes with it.
    void AdoptControl(std::unique_ptr<ui::TControl> control, std::unique_ptr<ui::TWindow> companion = {});
    // Enables or disables the control as the element is.
    void ApplyEnabled();
    // After a class attribute was stored: marks the element modified and, when the attribute
    // carries AF_RECONSTRUCT, makes a shown control again. Answers whether a control is left
    // for the class to update.
    bool ClassAttributeStored(std::string_view name);

private:
    CardRect m_defaultSize;
    std::unique_ptr<ui::TControl> m_control;
    std::unique_ptr<ui::TWindow> m_companion;
};

}  // namespace tamber
