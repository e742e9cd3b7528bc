#include <gtest/gtest.h>

#include "iface/InterfaceWindowFixture.h"

using namespace tamber;
using namespace tamber::test;

namespace {

struct Navigation : InterfaceFixture {
    Navigation() { window = Open(Record(3)); }

    // Calls the method and answers the (From, To) of the one "CurrentCardChanged" it raised.
    std::pair<int32_t, int32_t> Step(std::string_view method, std::vector<AttributeValue> params = {})
    {
        host.events.clear();
        if (method == "CurrentCard")
            window->Interface()->SetAttribute("CurrentCard", ValueType::Long, params.at(0));
        else
            Invoke(*window->Interface(), method, params);
        auto changes = EventsOf(window->Interface());
        EXPECT_EQ(changes.size(), 1u);
        if (changes.empty() || changes[0].longs.size() != 2)
            return {-1, -1};
        EXPECT_EQ(changes[0].name, "CurrentCardChanged");
        return {changes[0].longs[0], changes[0].longs[1]};
    }
    int32_t Number()
    {
        AttributeValue v;
        window->Interface()->GetAttribute("CurrentCard", ValueType::Long, v);
        return v.Long();
    }

    std::unique_ptr<InterfaceWindow> window;
};

using Change = std::pair<int32_t, int32_t>;

}  // namespace

TEST(CardNavigation, NextAndPreviousWrapWhileFirstAndLastClamp)
{
    Navigation f;
    ASSERT_EQ(f.window->NumCards(), 3);
    EXPECT_EQ(f.Number(), 1);
    EXPECT_EQ(f.Step("PreviousCard"), (Change {1, 3}));
    EXPECT_EQ(f.window->CurrentCard(), 2);
    EXPECT_EQ(f.Step("NextCard"), (Change {3, 1}));
    EXPECT_EQ(f.Step("NextCard"), (Change {1, 2}));
    EXPECT_EQ(f.Step("LastCard"), (Change {2, 3}));
    EXPECT_EQ(f.Step("FirstCard"), (Change {3, 1}));
    // Raised also when the Card stays.
    EXPECT_EQ(f.Step("FirstCard"), (Change {1, 1}));
}

TEST(CardNavigation, CurrentCardIsClampedToTheCardsThereAre)
{
    Navigation f;
    EXPECT_EQ(f.Step("CurrentCard", {AttributeValue::OfLong(7)}), (Change {1, 3}));
    EXPECT_EQ(f.Number(), 3);
    EXPECT_EQ(f.Step("CurrentCard", {AttributeValue::OfLong(0)}), (Change {3, 1}));
    EXPECT_EQ(f.Step("CurrentCard", {AttributeValue::OfLong(-5)}), (Change {1, 1}));
    EXPECT_EQ(f.Step("CurrentCard", {AttributeValue::OfLong(2)}), (Change {1, 2}));
    AttributeValue count;
    f.window->Interface()->GetAttribute("NumCards", ValueType::Long, count);
    EXPECT_EQ(count.Long(), 3);
}

TEST(CardNavigation, LoadCardChangesNothingAndIgnoresMissingCards)
{
    Navigation f;
    f.host.events.clear();
    EXPECT_EQ(Invoke(*f.window->Interface(), "LoadCard", {AttributeValue::OfLong(2)}), 1);
    EXPECT_EQ(Invoke(*f.window->Interface(), "LoadCard", {AttributeValue::OfLong(9)}), 1);
    EXPECT_EQ(f.window->CurrentCard(), 0);
    EXPECT_TRUE(f.host.events.empty());
}

// The link buttons of a child Interface sit beside it on the parent's Card and follow the
// child's Card.
TEST(CardNavigation, LinkButtonsOfAChildAreEnabledByItsCard)
{
    InterfaceFixture f(800, 600);
    auto parent = f.Open(InterfaceFixture::Record(1));
    ASSERT_NE(parent, nullptr);
    const char* links[] = {"Button : First Card", "Button : Previous Card", "Button : Next Card", "Button : Last Card"};
    Element* buttons[4];
    for (int i = 0; i < 4; ++i)
        buttons[i] = parent->AddElement(0, MakeElement(10 + i, {10 + 30 * i, 400, 20, 20}, false, 0, "Button"));
    auto child = std::make_unique<InterfaceObject>();
    child->SetId(5);
    child->SetFrame({10, 10, 200, 150});
    auto* object = static_cast<InterfaceObject*>(parent->AddElement(0, std::move(child)));
    for (int i = 0; i < 4; ++i)
        object->SetAttribute(links[i], ValueType::Id, AttributeValue::OfLong(10 + i));
    object->Show();
    InterfaceWindow* own = object->ChildWindow();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->Parent(), parent.get());
    own->AddCard();
    own->AddCard();
    ASSERT_EQ(own->NumCards(), 3);

    auto enabled = [&] {
        std::vector<bool> states;
        for (Element* button : buttons)
            states.push_back(button->IsEnabled());
        return states;
    };
    Invoke(*object, "FirstCard");
    EXPECT_EQ(enabled(), (std::vector<bool> {false, false, true, true}));
    Invoke(*object, "NextCard");
    EXPECT_EQ(own->CurrentCard(), 1);
    EXPECT_EQ(enabled(), (std::vector<bool> {true, true, true, true}));
    Invoke(*object, "NextCard");
    EXPECT_EQ(enabled(), (std::vector<bool> {true, true, false, false}));
    // NextCard itself still wraps although its button is off.
    Invoke(*object, "NextCard");
    EXPECT_EQ(own->CurrentCard(), 0);
    EXPECT_EQ(enabled(), (std::vector<bool> {false, false, true, true}));
}

TEST(CardNavigation, WithoutAWindowOnlyTheNumberIsKept)
{
    RecordingScriptHost host;
    InterfaceObject loose;
    Invoke(loose, "NextCard");
    loose.SetAttribute("CurrentCard", ValueType::Long, AttributeValue::OfLong(-4));
    EXPECT_EQ(loose.CurrentCardNumber(), 1);
    loose.SetAttribute("CurrentCard", ValueType::Long, AttributeValue::OfLong(6));
    EXPECT_EQ(loose.CurrentCardNumber(), 6);
    EXPECT_TRUE(host.events.empty());
}
