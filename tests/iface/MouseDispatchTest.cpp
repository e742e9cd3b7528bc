#include <gtest/gtest.h>

#include "iface/InterfaceWindowFixture.h"

using namespace tamber;
using namespace tamber::test;

namespace {

// A 320 x 240 card centred on the 640 x 480 screen: card (x, y) is screen (x + 160, y + 120).
struct MouseFixture : InterfaceFixture {
    MouseFixture()
    {
        window = Open(Record(1, [](InterfaceObject& self) {
            SetLong(self, "CardWidth", 320);
            SetLong(self, "CardHeight", 240);
            self.SetAttribute("MouseEvents", ValueType::Boolean, AttributeValue::OfBoolean(true));
        }));
        self = window->Interface();
        host.events.clear();
    }
    Element* Add(int32_t card, int32_t id, CardRect frame, bool mouseEvents = true)
    {
        Element* e = window->AddElement(card, MakeElement(id, frame, mouseEvents));
        e->Show();
        return e;
    }
    // The events as "who:name(x,y)" lines.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (const auto& raised : host.events) {
            std::string who = raised.element == self ? "I" : std::to_string(raised.element->GetId());
            std::string line = who + ":" + raised.name;
            if (raised.longs.size() == 2)
                line += "(" + std::to_string(raised.longs[0]) + "," + std::to_string(raised.longs[1]) + ")";
            lines.push_back(line);
        }
        return lines;
    }
    std::unique_ptr<InterfaceWindow> window;
    InterfaceObject* self = nullptr;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST(MouseDispatch, ClicksGoToTheFirstElementOfTheCardThenTheBackgroundWithFrameCoordinates)
{
    MouseFixture f;
    f.Add(InterfaceModel::kBackground, 1, {0, 0, 100, 100});
    f.Add(0, 2, {50, 50, 100, 100});
    f.Add(0, 3, {60, 60, 10, 10});
    f.ui.Down(160 + 65, 120 + 65);
    f.ui.Up(160 + 20, 120 + 30);
    f.ui.Down(160 + 300, 120 + 200);
    EXPECT_EQ(f.Lines(), (Lines {"2:MouseDown(15,15)", "1:MouseUp(20,30)", "I:MouseDown(300,200)"}));
}

TEST(MouseDispatch, AnElementWithoutMouseEventsSwallowsClicks)
{
    MouseFixture f;
    f.Add(0, 4, {10, 10, 50, 50}, false);
    f.ui.Click(160 + 20, 120 + 20);
    f.ui.DoubleClick(160 + 20, 120 + 20);
    for (const auto& raised : f.host.events) {
        EXPECT_NE(raised.name, "MouseDown");
        EXPECT_NE(raised.name, "MouseUp");
        EXPECT_NE(raised.name, "MouseDoubleClick");
    }
    // The same click beside it reaches the Interface.
    f.ui.Click(160 + 100, 120 + 100);
    EXPECT_EQ(f.Count(f.self, "MouseDown"), 1);
    EXPECT_EQ(f.Count(f.self, "MouseUp"), 1);
}

TEST(MouseDispatch, EnterLeaveAndWithinComeInOrder)
{
    MouseFixture f;
    f.Add(0, 1, {0, 0, 50, 50});
    f.Add(0, 2, {100, 0, 50, 50});
    f.ui.Move(160 + 200, 120 + 200); // over nothing
    f.ui.Move(160 + 10, 120 + 10);   // onto 1
    f.ui.Move(160 + 11, 120 + 12);   // within 1
    f.ui.Move(160 + 110, 120 + 5);   // straight onto 2
    f.ui.Move(160 + 90, 120 + 5);    // off to the Interface
    EXPECT_EQ(f.Lines(), (Lines {
                             "I:MouseWithin(200,200)",
                             "I:MouseLeave(10,10)", "1:MouseEnter(10,10)", "1:MouseWithin(10,10)",
                             "1:MouseWithin(11,12)",
                             "1:MouseLeave(110,5)", "2:MouseEnter(10,5)", "2:MouseWithin(10,5)",
                             "2:MouseLeave(-10,5)", "I:MouseEnter(90,5)", "I:MouseWithin(90,5)",
                         }));
}

TEST(MouseDispatch, CardChangesForgetTheElementUnderThePointerAndAuthoringDispatchesNothing)
{
    MouseFixture f;
    Element* first = f.Add(0, 1, {0, 0, 50, 50});
    f.ui.Move(160 + 10, 120 + 10);
    EXPECT_EQ(f.window->Mouse().Remembered(), first);
    f.window->AddCard();
    Invoke(*f.self, "NextCard");
    EXPECT_EQ(f.window->Mouse().Remembered(), nullptr);

    f.window->SetMode(InterfaceModel::Mode::Authoring);
    f.host.events.clear();
    f.ui.Click(160 + 10, 120 + 10);
    EXPECT_TRUE(f.host.events.empty());
}

TEST(MouseDispatch, MouseStateIsReadable)
{
    MouseFixture f;
    f.ui.Move(160 + 33, 120 + 44);
    f.ui.Down(160 + 33, 120 + 44);
    AttributeValue v;
    f.self->GetAttribute("MouseDown", ValueType::Boolean, v);
    EXPECT_TRUE(v.Boolean());
    f.self->GetAttribute("MouseX", ValueType::Long, v);
    EXPECT_EQ(v.Long(), 33);
    f.self->GetAttribute("MouseY", ValueType::Long, v);
    EXPECT_EQ(v.Long(), 44);
    f.ui.Up(160 + 33, 120 + 44);
    f.self->GetAttribute("MouseDown", ValueType::Boolean, v);
    EXPECT_FALSE(v.Boolean());
}
