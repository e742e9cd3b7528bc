#include <gtest/gtest.h>

#include "elements/ButtonElement.h"
#include "elements/ComboBoxElement.h"
#include "elements/EditBoxElement.h"
#include "elements/ListBoxElement.h"
#include "elements/ScrollBarElement.h"
#include "iface/InterfaceWindowFixture.h"
#include "ui/TControl.h"

using namespace tamber;
using namespace tamber::test;

namespace {

// A 320 x 240 card centred on the 640 x 480 screen: card (x, y) is screen (x + 160, y + 120).
constexpr int32_t kLeft = 160;
constexpr int32_t kTop = 120;

struct ControlCase {
    const char* name;
    std::unique_ptr<ControlElement> (*make)(InterfaceModel* parent);
    CardRect frame;
    // How much wider and taller than the frame the control's window is.
    int32_t growth;
};

template<class E> std::unique_ptr<ControlElement> Make(InterfaceModel* parent)
{
    return std::make_unique<E>(parent);
}

std::unique_ptr<ControlElement> MakeHotArea(InterfaceModel* parent)
{
    auto button = std::make_unique<ButtonElement>(parent);
    button->SetAttribute("Style", ValueType::Enum, AttributeValue::OfEnum(ButtonElement::kTransparent));
    return button;
}

const ControlCase kCases[] = {
    { "Button", Make<ButtonElement>, {10, 10, 80, 20}, 1 },
    { "HotArea", MakeHotArea, {10, 150, 80, 20}, 0 },
    { "EditBox", Make<EditBoxElement>, {10, 40, 80, 20}, 1 },
    { "ListBox", Make<ListBoxElement>, {10, 70, 80, 60}, 0 },
    { "ComboBox", Make<ComboBoxElement>, {200, 10, 80, 20}, 0 },
    { "ScrollBar", Make<ScrollBarElement>, {100, 40, 100, 16}, 1 },
};

struct ControlsFixture : InterfaceFixture {
    ControlsFixture()
    {
        window = Open(Record(1, [](InterfaceObject& self) {
            SetLong(self, "CardWidth", 320);
            SetLong(self, "CardHeight", 240);
        }));
    }
    ControlElement* Place(const ControlCase& c)
    {
        std::unique_ptr<ControlElement> element = c.make(window.get());
        element->SetId(1);
        element->SetFrame(c.frame);
        element->SetAttribute("MouseEvents", ValueType::Boolean, AttributeValue::OfBoolean(true));
        auto* placed = static_cast<ControlElement*>(window->AddElement(0, std::move(element)));
        placed->Show();
        ui.app.ProcessPending();
        host.events.clear();
        return placed;
    }
    // The element's button events as "name(x,y)".
    std::vector<std::string> ButtonEvents(const Element* element) const
    {
        std::vector<std::string> out;
        for (const auto& raised : EventsOf(element)) {
            if (raised.name == "MouseDown" || raised.name == "MouseUp" || raised.name == "MouseDoubleClick")
                out.push_back(raised.name + "(" + std::to_string(raised.longs.at(0)) + ","
                    + std::to_string(raised.longs.at(1)) + ")");
        }
        return out;
    }
    std::unique_ptr<InterfaceWindow> window;
};

using Lines = std::vector<std::string>;

class ControlsInWindow : public ::testing::TestWithParam<ControlCase> { };

TEST_P(ControlsInWindow, MouseButtonEventsReachTheElementUnderItsControl)
{
    ControlsFixture f;
    const ControlCase& c = GetParam();
    ControlElement* element = f.Place(c);
    ASSERT_NE(element->Control(), nullptr);
    const int32_t x = c.frame.left + 4, y = c.frame.top + 5;
    f.ui.Click(kLeft + x, kTop + y);
    f.ui.Move(kLeft + 2, kTop + 235); // away from every control, closing nothing
    EXPECT_EQ(f.ButtonEvents(element), (Lines {"MouseDown(4,5)", "MouseUp(4,5)"}));
    EXPECT_EQ(f.Count(element, "MouseEnter"), 1);
    EXPECT_EQ(f.Count(element, "MouseLeave"), 1);
}

TEST_P(ControlsInWindow, MovedAndSizedControlsKeepTheirGeometry)
{
    ControlsFixture f;
    const ControlCase& c = GetParam();
    ControlElement* element = f.Place(c);
    const int32_t g = c.growth;
    // The window holds just the card: card and client coordinates agree.
    auto placed = [&](int32_t x, int32_t y, int32_t w, int32_t h) { return gfx::Rect::FromSize(x, y, w + g, h + g); };
    ASSERT_NE(element->Control(), nullptr);
    EXPECT_EQ(
        element->Control()->RectInParent(), placed(c.frame.left, c.frame.top, c.frame.width, c.frame.height));

    Invoke(*element, "Move", {AttributeValue::OfLong(30), AttributeValue::OfLong(180)});
    EXPECT_EQ(element->Control()->RectInParent(), placed(30, 180, c.frame.width, c.frame.height));
    Invoke(*element, "Size", {AttributeValue::OfLong(50), AttributeValue::OfLong(40)});
    EXPECT_EQ(element->Control()->RectInParent(), placed(30, 180, 50, 40));
    SetLong(*element, "RectLeft", 31);
    EXPECT_EQ(element->Control()->RectInParent(), placed(31, 180, 50, 40));

    // Made again, the control comes back where the moves left it.
    Invoke(*element, "Reconstruct");
    ASSERT_NE(element->Control(), nullptr);
    EXPECT_EQ(element->Control()->RectInParent(), placed(31, 180, 50, 40));
}

INSTANTIATE_TEST_SUITE_P(EveryControl, ControlsInWindow, ::testing::ValuesIn(kCases),
    [](const ::testing::TestParamInfo<ControlCase>& info) { return std::string(info.param.name); });

TEST(ControlsInWindowDoubleClick, ButtonRaisesItsOwnAndTheMouseEvent)
{
    ControlsFixture f;
    ControlElement* button = f.Place(kCases[0]);
    f.ui.DoubleClick(kLeft + 12, kTop + 13);
    EXPECT_EQ(f.ButtonEvents(button),
        (Lines {"MouseDown(2,3)", "MouseUp(2,3)", "MouseDoubleClick(2,3)", "MouseUp(2,3)"}));
    EXPECT_EQ(f.Count(button, "DoubleClicked"), 1);
}

}  // namespace
