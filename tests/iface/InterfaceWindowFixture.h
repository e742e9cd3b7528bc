#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"
#include "iface/ElementView.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "iface/InterfaceWindow.h"
#include "iface/RecordingScriptHost.h"
#include "ui/UiTestSupport.h"

namespace tamber::test {

// An element drawn in a plain child window: a solid block of its colour.
class BlockElement : public Element {
public:
    explicit BlockElement(uint32_t colorRef, std::string_view type = "Block")
        : m_color(colorRef), m_view(*this, [this](ui::Painter& p, const gfx::Rect& r) { p.FillRect(r, m_color); })
    {
        SetTypeName(type);
    }
    void Show() override { m_view.Show(); }
    void Hide() override { m_view.Hide(); }
    intptr_t WindowHandle() const override { return m_view.Handle(); }
    ElementView& View() { return m_view; }

private:
    uint32_t m_color;
    ElementView m_view;
};

inline std::unique_ptr<Element> MakeElement(int32_t id, CardRect frame, bool mouseEvents = true,
    uint32_t color = 0x0000FF, std::string_view type = "Block")
{
    auto element = std::make_unique<BlockElement>(color, type);
    element->SetId(id);
    element->SetFrame(frame);
    element->SetAttribute("MouseEvents", ValueType::Boolean, AttributeValue::OfBoolean(mouseEvents));
    return element;
}

// A headless application, a recording script host and a way to open Interfaces in it.
struct InterfaceFixture {
    explicit InterfaceFixture(int32_t width = 640, int32_t height = 480,
        ScreenDepth depth = ScreenDepth::Direct24)
        : ui(width, height, depth)
    {
    }

    // A record of an Interface with the given number of empty Cards, set up by setup.
    static MemoryBlock Record(int cards, const std::function<void(InterfaceObject&)>& setup = {})
    {
        InterfaceModel model;
        InterfaceObject& self = model.AdoptInterface(std::make_unique<InterfaceObject>());
        for (int i = 0; i < cards; ++i)
            model.AddCard();
        if (setup)
            setup(self);
        MemoryBlock out;
        InterfaceRecord::Write(model, out);
        return out;
    }

    std::unique_ptr<InterfaceWindow> Open(const MemoryBlock& record, int32_t frameStyle = 0,
        ScreenContext* screen = nullptr)
    {
        InterfaceWindow::TopLevelOptions options;
        options.frameStyle = frameStyle;
        options.caption = "Tour";
        options.screen = screen;
        auto window = InterfaceWindow::OpenTopLevel(nullptr, record, options);
        if (window) {
            window->Show();
            ui.app.ProcessPending();
        }
        return window;
    }

    // Events of one element, by name, in order.
    std::vector<RecordingScriptHost::Raised> EventsOf(const Element* element) const
    {
        std::vector<RecordingScriptHost::Raised> out;
        for (const auto& raised : host.events) {
            if (raised.element == element)
                out.push_back(raised);
        }
        return out;
    }
    int Count(const Element* element, const std::string& name) const
    {
        int n = 0;
        for (const auto& raised : host.events)
            n += raised.element == element && raised.name == name;
        return n;
    }

    ui::test::UiHarness ui;
    RecordingScriptHost host;
};

inline void SetLong(Element& element, std::string_view name, int32_t value)
{
    element.SetAttribute(name, ValueType::Long, AttributeValue::OfLong(value));
}

// Answers CallMethod's own result. (Named apart from the elements' Call, which expects 1: two
// inline functions differing only in return type would silently share one definition.)
inline int Invoke(Element& element, std::string_view method, std::vector<AttributeValue> params = {})
{
    AttributeValue result;
    return element.CallMethod(method, params, result);
}

}  // namespace tamber::test
