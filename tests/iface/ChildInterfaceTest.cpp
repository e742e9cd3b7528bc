#include <gtest/gtest.h>

#include "iface/InterfaceWindowFixture.h"

using namespace tamber;
using namespace tamber::test;

namespace {

// A 400 x 300 parent centred on an 800 x 600 screen (client origin (200, 150)) holding a child
// Interface element with id 5 on the given Card (of cards).
struct ChildFixture : InterfaceFixture {
    explicit ChildFixture(InterfaceObject::Display display, bool modal = false, int cards = 1, int32_t card = 0)
        : InterfaceFixture(800, 600)
    {
        parent = Open(Record(cards, [](InterfaceObject& self) {
            SetLong(self, "CardWidth", 400);
            SetLong(self, "CardHeight", 300);
        }));
        auto element = std::make_unique<InterfaceObject>();
        element->SetId(5);
        element->SetFrame({20, 30, 100, 80});
        element->SetAttribute("Display", ValueType::Enum, AttributeValue::OfEnum(static_cast<uint16_t>(display)));
        element->SetAttribute("Modal", ValueType::Boolean, AttributeValue::OfBoolean(modal));
        SetLong(*element, "WinLeft", 15);
        SetLong(*element, "WinTop", 25);
        element->SetAttribute("Caption", ValueType::String, AttributeValue::OfString("Notes"));
        child = static_cast<InterfaceObject*>(parent->AddElement(card, std::move(element)));
        host.events.clear();
    }
    bool Opened() const
    {
        AttributeValue v;
        child->GetAttribute("Opened", ValueType::Boolean, v);
        return v.Boolean();
    }
    std::unique_ptr<InterfaceWindow> parent;
    InterfaceObject* child = nullptr;
};

}  // namespace

TEST(ChildInterface, FloatingChildOpensClosesAndReopensTheSameWindow)
{
    ChildFixture f(InterfaceObject::kFloating);
    EXPECT_EQ(f.child->ChildWindow(), nullptr);
    EXPECT_FALSE(f.Opened());

    EXPECT_EQ(Invoke(*f.child, "Open"), 1);
    InterfaceWindow* window = f.child->ChildWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(f.Opened());
    EXPECT_EQ(window->Parent(), nullptr);
    EXPECT_EQ(window->Interface(), f.child);
    EXPECT_EQ(window->Caption(), "Notes");
    EXPECT_EQ(window->ClientWidth(), InterfaceObject::kDefaultCardWidth);
    EXPECT_EQ(window->RectInParent().left, 200 + 15);
    EXPECT_EQ(window->RectInParent().top, 150 + 25);
    EXPECT_EQ(f.ui.app.ActiveWindow(), window);
    EXPECT_EQ(f.Count(f.child, "Opened"), 1);
    AttributeValue size;
    f.child->GetAttribute("WinWidth", ValueType::Long, size);
    EXPECT_EQ(size.Long(), window->RectInParent().Width());

    EXPECT_EQ(Invoke(*f.child, "Close"), 1);
    EXPECT_FALSE(f.Opened());
    EXPECT_EQ(f.child->ChildWindow(), window);
    EXPECT_FALSE(window->IsShown());
    EXPECT_EQ(f.Count(f.child, "Closed"), 1);

    // Closing a closed child does nothing; opening again reuses the window at its place.
    Invoke(*f.child, "Close");
    EXPECT_EQ(f.Count(f.child, "Closed"), 1);
    SetLong(*f.child, "WinLeft", 40);
    Invoke(*f.child, "Open");
    EXPECT_EQ(f.child->ChildWindow(), window);
    EXPECT_TRUE(window->IsShown());
    EXPECT_EQ(window->RectInParent().left, 240);
    EXPECT_EQ(f.Count(f.child, "Opened"), 2);
}

TEST(ChildInterface, AnOpenFloatingChildFollowsItsCardAndAClosedOneStaysClosed)
{
    ChildFixture f(InterfaceObject::kFloating, false, 2);
    InterfaceObject& self = *f.parent->Interface();
    // Showing the child's Card does not open it.
    Invoke(self, "NextCard");
    Invoke(self, "PreviousCard");
    EXPECT_FALSE(f.Opened());

    Invoke(*f.child, "Open");
    InterfaceWindow* window = f.child->ChildWindow();
    ASSERT_NE(window, nullptr);
    Invoke(self, "NextCard");
    EXPECT_FALSE(window->IsShown());
    Invoke(self, "PreviousCard");
    EXPECT_TRUE(f.Opened());
    EXPECT_EQ(f.child->ChildWindow(), window);
    EXPECT_EQ(f.Count(f.child, "Opened"), 1);

    // Closed by a script while its Card is away: it does not come back with the Card.
    Invoke(self, "NextCard");
    Invoke(*f.child, "Close");
    Invoke(self, "PreviousCard");
    EXPECT_FALSE(f.Opened());

    // Closed by the user: hidden, not destroyed, and it stays closed until the next "Open".
    Invoke(*f.child, "Open");
    ASSERT_TRUE(f.Opened());
    window->SendMessage(ui::msg::kClose);
    EXPECT_TRUE(window->IsCreated());
    EXPECT_FALSE(window->IsShown());
    EXPECT_EQ(f.Count(f.child, "Closed"), 1);
    EXPECT_TRUE(f.parent->IsCreated());
    Invoke(self, "NextCard");
    Invoke(self, "PreviousCard");
    EXPECT_FALSE(f.Opened());
    Invoke(*f.child, "Open");
    EXPECT_TRUE(f.Opened());
    EXPECT_EQ(f.child->ChildWindow(), window);
    EXPECT_EQ(f.Count(f.child, "Opened"), 3);
}

TEST(ChildInterface, LoadCardMakesTheWindowOfAChildOnThatCardWithoutShowingIt)
{
    ChildFixture f(InterfaceObject::kEmbedded, false, 3, 1);
    InterfaceObject& self = *f.parent->Interface();
    // Card 1 holds no child; 0, -1 and 4 name no Card.
    for (int32_t number : {0, -1, 4, 1})
        Invoke(self, "LoadCard", {AttributeValue::OfLong(number)});
    EXPECT_EQ(f.child->ChildWindow(), nullptr);

    Invoke(self, "LoadCard", {AttributeValue::OfLong(2)});
    InterfaceWindow* window = f.child->ChildWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Interface(), f.child);
    EXPECT_FALSE(window->IsShown());
    EXPECT_EQ(f.parent->CurrentCard(), 0);
    EXPECT_EQ(f.Count(&self, "CurrentCardChanged"), 0);

    Invoke(self, "NextCard");
    EXPECT_EQ(f.child->ChildWindow(), window);
    EXPECT_TRUE(window->IsShown());
}

TEST(ChildInterface, CentredAndFullScreenPositions)
{
    ChildFixture f(InterfaceObject::kFloating);
    f.child->SetAttribute("Position", ValueType::Enum, AttributeValue::OfEnum(InterfaceObject::kCentered));
    Invoke(*f.child, "Open");
    InterfaceWindow* window = f.child->ChildWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->RectInParent(), gfx::Rect::FromSize(80, 60, 640, 480));
    Invoke(*f.child, "Close");
    f.child->SetAttribute("Position", ValueType::Enum, AttributeValue::OfEnum(InterfaceObject::kFullscreen));
    Invoke(*f.child, "Open");
    EXPECT_TRUE(window->IsFullScreen());
    EXPECT_EQ(window->RectInParent(), gfx::Rect::FromSize(0, 0, 800, 600));
}

TEST(ChildInterface, ModalChildIsOnTheModalStackOnlyWhileOpen)
{
    ChildFixture f(InterfaceObject::kFloating, true, 2);
    // Showing or loading its Card makes no window, which would block the parent.
    Invoke(*f.parent->Interface(), "NextCard");
    Invoke(*f.parent->Interface(), "PreviousCard");
    Invoke(*f.parent->Interface(), "LoadCard", {AttributeValue::OfLong(1)});
    EXPECT_EQ(f.ui.app.TopModal(), nullptr);
    Invoke(*f.child, "Open");
    ASSERT_NE(f.child->ChildWindow(), nullptr);
    EXPECT_EQ(f.ui.app.TopModal(), f.child->ChildWindow());
    Invoke(*f.child, "Close");
    EXPECT_EQ(f.ui.app.TopModal(), nullptr);
    Invoke(*f.child, "Open");
    EXPECT_TRUE(f.Opened());
    EXPECT_EQ(f.ui.app.TopModal(), f.child->ChildWindow());
}

TEST(ChildInterface, EmbeddedChildSitsInTheParentAtItsFrameAndIgnoresOpenAndClose)
{
    ChildFixture f(InterfaceObject::kEmbedded);
    EXPECT_EQ(Invoke(*f.child, "Open"), 1);
    EXPECT_EQ(f.child->ChildWindow(), nullptr);
    f.child->Show();
    InterfaceWindow* window = f.child->ChildWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Parent(), f.parent.get());
    EXPECT_EQ(window->RectInParent(), gfx::Rect::FromSize(20, 30, 101, 81));
    Invoke(*f.child, "Move", {AttributeValue::OfLong(40), AttributeValue::OfLong(10)});
    EXPECT_EQ(window->RectInParent(), gfx::Rect::FromSize(40, 10, 101, 81));
    Invoke(*f.child, "Move", {AttributeValue::OfLong(20), AttributeValue::OfLong(30)});
    EXPECT_FALSE(f.Opened());
    Invoke(*f.child, "Close");
    EXPECT_TRUE(window->IsShown());
    EXPECT_EQ(f.Count(f.child, "Closed"), 0);
    // A white child card shows in the parent.
    EXPECT_EQ(f.ui.Pixel(200 + 25, 150 + 35), 0xFFFFFFu);
}

TEST(ChildInterface, EventsRunInTheChildThenArePostedToTheParentOldestFirst)
{
    ChildFixture f(InterfaceObject::kFloating);
    Invoke(*f.child, "Open");
    ASSERT_NE(f.child->ChildWindow(), nullptr);
    // "Opened" itself was posted as well.
    EXPECT_EQ(f.parent->PendingEvents(), 1u);
    f.ui.app.ProcessPending();
    EXPECT_EQ(f.Count(f.child, "Opened"), 2);
    f.host.events.clear();
    const AttributeValue args[] = {AttributeValue::OfLong(3), AttributeValue::OfLong(4)};
    f.child->RaiseEvent("MouseDown", args);
    f.child->RaiseEvent("MouseUp", args);
    EXPECT_EQ(f.host.Names(), (std::vector<std::string> {"MouseDown", "MouseUp"}));
    EXPECT_EQ(f.parent->PendingEvents(), 2u);
    f.ui.app.ProcessPending();
    EXPECT_EQ(f.parent->PendingEvents(), 0u);
    EXPECT_EQ(f.host.Names(), (std::vector<std::string> {"MouseDown", "MouseUp", "MouseDown", "MouseUp"}));
    EXPECT_EQ(f.host.events[2].longs, (std::vector<int32_t> {3, 4}));
}

TEST(ChildInterface, EmbeddedChildDispatchesItsOwnClicks)
{
    ChildFixture f(InterfaceObject::kEmbedded);
    const AttributeValue on = AttributeValue::OfBoolean(true);
    f.parent->Interface()->SetAttribute("MouseEvents", ValueType::Boolean, on);
    f.child->SetAttribute("MouseEvents", ValueType::Boolean, on);
    f.child->Show();
    ASSERT_NE(f.child->ChildWindow(), nullptr);
    f.host.events.clear();
    // Inside the child's frame: the child's window hit-tests it, the parent stays out.
    f.ui.Down(200 + 40, 150 + 50);
    f.ui.app.ProcessPending();
    EXPECT_EQ(f.Count(f.parent->Interface(), "MouseDown"), 0);
    // Once in the child's own script, once posted to the parent's.
    EXPECT_EQ(f.Count(f.child, "MouseDown"), 2);
    f.ui.Down(200 + 300, 150 + 200);
    EXPECT_EQ(f.Count(f.parent->Interface(), "MouseDown"), 1);
}
