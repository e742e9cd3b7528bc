#include <gtest/gtest.h>

#include "iface/ChunkTags.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/ThreeDElement.h"
#include "iface/RecordingScriptHost.h"

using namespace tamber;
using tamber::test::RecordingScriptHost;

namespace {

// A model with the given number of Cards and its own Interface object, in running mode.
struct ThreeCards {
    explicit ThreeCards(int cards = 3)
    {
        for (int i = 0; i < cards; ++i)
            model.AddCard();
        self = &model.AdoptInterface(std::make_unique<InterfaceObject>());
        model.SetMode(InterfaceModel::Mode::Running);
    }
    InterfaceModel model;
    InterfaceObject* self = nullptr;
};

Element* Add(InterfaceModel& model, int32_t card, int32_t id)
{
    auto element = std::make_unique<ThreeDElement>();
    element->SetId(id);
    return model.AddElement(card, std::move(element));
}

bool Visible(InterfaceObject& object, std::string_view name)
{
    return FindAttribute(object.AttributeTable(), name) != nullptr;
}

}  // namespace

TEST(InterfaceModel, FindElementSearchesOneCardAndChecksTheType)
{
    ThreeCards f;
    Element* onBackground = Add(f.model, InterfaceModel::kBackground, 3);
    Element* onFirst = Add(f.model, 0, 3);
    Element* onSecond = Add(f.model, 1, 5);
    EXPECT_EQ(f.model.FindElement(0, 3), onFirst);
    EXPECT_EQ(f.model.FindElement(InterfaceModel::kBackground, 3), onBackground);
    EXPECT_EQ(f.model.FindElement(0, 5), nullptr);
    EXPECT_EQ(f.model.FindElement(1, 5, "3D"), onSecond);
    EXPECT_EQ(f.model.FindElement(1, 5, "Button"), nullptr);
    EXPECT_EQ(f.model.FindElement(1, 0), nullptr);
    EXPECT_EQ(f.model.FindElement(2, -1), f.self);
    EXPECT_EQ(f.model.FindElement(7, 5), nullptr);

    EXPECT_EQ(f.model.CardOf(*onBackground), InterfaceModel::kBackground);
    EXPECT_EQ(f.model.CardOf(*onSecond), 1);
    EXPECT_EQ(f.model.CardOf(*f.self), f.model.CurrentCard());
    ThreeDElement loose;
    EXPECT_EQ(f.model.CardOf(loose), InterfaceModel::kNotOnCard);
}

TEST(InterfaceModel, ScriptReferencesSearchTheCallersCardOrFromTheBackgroundTheCurrentOne)
{
    ThreeCards f;
    Element* banner = Add(f.model, InterfaceModel::kBackground, 3);
    Element* help = Add(f.model, InterfaceModel::kBackground, 7);
    help->SetName("Help");
    Element* first = Add(f.model, 0, 3);
    Element* second = Add(f.model, 1, 5);
    second->SetName("Five");
    constexpr int32_t caller = InterfaceModel::kCallerCard;

    // From a Card: that Card only, unless the reference names another one or the Background.
    EXPECT_EQ(f.model.FindReferenced(*second, caller, 5, ""), second);
    EXPECT_EQ(f.model.FindReferenced(*second, caller, 7, ""), nullptr);
    EXPECT_EQ(f.model.FindReferenced(*second, 0, 3, ""), first);
    EXPECT_EQ(f.model.FindReferenced(*second, InterfaceModel::kBackground, 7, ""), help);
    EXPECT_EQ(f.model.FindReferencedByName(*second, InterfaceModel::kNotOnCard, "Five", ""), nullptr);
    EXPECT_EQ(f.model.FindReferenced(*second, InterfaceModel::kNotOnCard, 5, ""), nullptr);

    // From the Background: the current Card only; its own neighbours need "Background".
    EXPECT_EQ(f.model.FindReferenced(*banner, caller, 3, ""), first);
    EXPECT_EQ(f.model.FindReferenced(*banner, caller, 7, ""), nullptr);
    EXPECT_EQ(f.model.FindReferenced(*banner, caller, 5, ""), nullptr);
    EXPECT_EQ(f.model.FindReferencedByName(*banner, caller, "HELP", "3d"), nullptr);
    EXPECT_EQ(f.model.FindReferencedByName(*banner, InterfaceModel::kBackground, "HELP", "3d"), help);
    EXPECT_EQ(f.model.FindReferencedByName(*banner, InterfaceModel::kBackground, "Help", "Button"), nullptr);
    f.model.ShowCard(1);
    EXPECT_EQ(f.model.FindReferenced(*banner, caller, 5, "3D"), second);
    EXPECT_EQ(f.model.FindReferencedByName(*banner, caller, "five", ""), second);
    EXPECT_EQ(f.model.FindReferenced(*banner, caller, 3, ""), nullptr);

    // The Interface object stands on the current Card; -1 is the Interface wherever it is asked.
    EXPECT_EQ(f.model.FindReferenced(*f.self, caller, 5, ""), second);
    EXPECT_EQ(f.model.FindReferenced(*f.self, caller, 7, ""), nullptr);
    EXPECT_EQ(f.model.FindReferenced(*help, caller, -1, ""), f.self);
}

TEST(InterfaceModel, RemovingAnElementClearsLinksToIt)
{
    ThreeCards f;
    Element* target = Add(f.model, 0, 8);
    target->SetName("target");
    f.self->Links().SetId(0, 8);
    f.self->Links().ResolveAll(*f.self);
    ASSERT_EQ(f.self->Links().Target(0), nullptr);  // not a Button
    auto removed = f.model.RemoveElement(*target);
    EXPECT_EQ(removed.get(), target);
    EXPECT_EQ(f.model.FindElement(0, 8), nullptr);
}

TEST(InterfaceObject, RoleDecidesWhichAttributesExist)
{
    ThreeCards f;
    EXPECT_TRUE(f.self->IsSelfRole());
    EXPECT_TRUE(Visible(*f.self, "TimerInterval"));
    EXPECT_FALSE(Visible(*f.self, "Caption"));
    AttributeValue value;
    EXPECT_EQ(f.self->GetAttribute("Caption", ValueType::String, value), 0);
    EXPECT_EQ(f.self->GetAttribute("TimerInterval", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 1000);
    EXPECT_EQ(f.self->GetAttribute("MouseEvents", ValueType::Boolean, value), 1);
    EXPECT_EQ(f.self->GetAttribute("RectLeft", ValueType::Long, value), 0);
    EXPECT_TRUE(f.self->CommonAttributeTable().empty());

    InterfaceObject child;
    EXPECT_FALSE(child.IsSelfRole());
    EXPECT_FALSE(Visible(child, "TimerInterval"));
    EXPECT_TRUE(Visible(child, "Caption"));
    EXPECT_EQ(child.GetAttribute("TimerInterval", ValueType::Long, value), 0);
    ASSERT_EQ(child.SetAttribute("Caption", ValueType::String, AttributeValue::OfString("Help")), 1);
    EXPECT_EQ(child.GetAttribute("caption", ValueType::String, value), 1);
    EXPECT_EQ(value.String(), "Help");
    EXPECT_EQ(child.GetAttribute("RectLeft", ValueType::Long, value), 1);
}

TEST(InterfaceObject, NavigationWrapsClampsAndAlwaysReportsTheChange)
{
    RecordingScriptHost host;
    ThreeCards f;
    AttributeValue result;
    auto current = [&] {
        AttributeValue v;
        f.self->GetAttribute("CurrentCard", ValueType::Long, v);
        return v.Long();
    };
    f.self->CallMethod("LastCard", {}, result);
    EXPECT_EQ(current(), 3);
    f.self->CallMethod("NextCard", {}, result);
    EXPECT_EQ(current(), 1);
    f.self->CallMethod("PreviousCard", {}, result);
    EXPECT_EQ(current(), 3);
    f.self->SetAttribute("CurrentCard", ValueType::Long, AttributeValue::OfLong(0));
    EXPECT_EQ(current(), 1);
    f.self->SetAttribute("CurrentCard", ValueType::Long, AttributeValue::OfLong(7));
    EXPECT_EQ(current(), 3);
    f.self->CallMethod("LastCard", {}, result);
    EXPECT_EQ(f.model.CurrentCard(), 2);

    std::vector<std::vector<int32_t>> changes;
    for (const auto& raised : host.events) {
        EXPECT_EQ(raised.name, "CurrentCardChanged");
        changes.push_back(raised.longs);
    }
    const std::vector<std::vector<int32_t>> expected = {{1, 3}, {3, 1}, {1, 3}, {3, 1}, {1, 3}, {3, 3}};
    EXPECT_EQ(changes, expected);
}

TEST(InterfaceObject, WithoutAWindowOnlyTheIndexIsRecorded)
{
    RecordingScriptHost host;
    InterfaceObject child;
    child.SetAttribute("CurrentCard", ValueType::Long, AttributeValue::OfLong(-4));
    AttributeValue value;
    child.GetAttribute("NumCards", ValueType::Long, value);
    EXPECT_EQ(value.Long(), 0);
    EXPECT_EQ(child.CurrentCardNumber(), 1);
    child.SetCurrentCard(5);
    EXPECT_EQ(child.CurrentCardNumber(), 5);
    EXPECT_TRUE(host.events.empty());
}

TEST(InterfaceObject, BackBitmapDecidesTheBackgroundAndReadsAsBoolean)
{
    ThreeCards f;
    auto background = [&] {
        AttributeValue v;
        f.self->GetAttribute("Background", ValueType::Enum, v);
        return v.Enum();
    };
    f.self->SetAttribute("Background", ValueType::Enum, AttributeValue::OfEnum(1));
    MemoryBlock picture("BM....", 6);
    f.self->SetAttribute("BackBitmap", ValueType::Picture, AttributeValue::OfBlock(picture));
    EXPECT_EQ(background(), 2);
    f.self->SetAttribute("Background", ValueType::Enum, AttributeValue::OfEnum(3));
    f.self->SetAttribute("BackBitmap", ValueType::Picture, AttributeValue::OfBlock(picture));
    EXPECT_EQ(background(), 3);
    AttributeValue present;
    ASSERT_EQ(f.self->GetAttribute("BackBitmap", ValueType::Boolean, present), 1);
    EXPECT_TRUE(present.Boolean());
    f.self->SetAttribute("BackBitmap", ValueType::Picture, AttributeValue::OfBlock(MemoryBlock()));
    EXPECT_EQ(background(), 0);
    f.self->GetAttribute("BackBitmap", ValueType::Boolean, present);
    EXPECT_FALSE(present.Boolean());
}

TEST(InterfaceObject, ChildDefnRoundTrips)
{
    InterfaceObject child;
    child.SetAttribute("Caption", ValueType::String, AttributeValue::OfString("Glossary"));
    child.SetAttribute("Border", ValueType::Boolean, AttributeValue::OfBoolean(true));
    child.SetAttribute("Display", ValueType::Enum, AttributeValue::OfEnum(1));
    child.SetAttribute("Frame", ValueType::Enum, AttributeValue::OfEnum(11));
    child.SetAttribute("Position", ValueType::Enum, AttributeValue::OfEnum(2));
    child.SetAttribute("Modal", ValueType::Boolean, AttributeValue::OfBoolean(true));
    child.SetAttribute("WinLeft", ValueType::Long, AttributeValue::OfLong(-20));
    child.SetAttribute("WinTop", ValueType::Long, AttributeValue::OfLong(30));
    child.SetAttribute("Button : Next Card", ValueType::Id, AttributeValue::OfLong(14));
    child.SetAttribute("Button : First Card", ValueType::Id, AttributeValue::OfLong(12));
    MemoryBlock chunks;
    ASSERT_EQ(child.WriteClassChunks(chunks), 1);
    std::string tag;
    MemoryBlock defn;
    chunks.ReadChunk(0, tag, defn);
    EXPECT_EQ(tag, "Defn");
    EXPECT_EQ(defn.Size(), 4 + 4 + 1 + 4 * 5 + 10 + 1 + 16);

    InterfaceObject copy;
    ASSERT_TRUE(copy.ReadClassChunk(tag, defn));
    MemoryBlock again;
    copy.WriteClassChunks(again);
    EXPECT_EQ(again, chunks);
    AttributeValue value;
    copy.GetAttribute("Button : Next Card", ValueType::Id, value);
    EXPECT_EQ(value.Long(), 14);
    EXPECT_EQ(copy.Links().IdOf("Button : Last Card"), 0);
}

TEST(InterfaceObject, SelfChunksRoundTripAndCutThePaletteAt256Colours)
{
    ThreeCards f;
    f.self->SetAttribute("CardWidth", ValueType::Long, AttributeValue::OfLong(800));
    f.self->SetAttribute("TimerInterval", ValueType::Long, AttributeValue::OfLong(250));
    f.self->SetAttribute("TimerCycles", ValueType::Boolean, AttributeValue::OfBoolean(true));
    f.self->SetAttribute("BackColor", ValueType::Color, AttributeValue::OfColor(0x00123456));
    f.self->SetAttribute("BackGradient", ValueType::Color, AttributeValue::OfColor(0x00ABCDEF));
    f.self->SetAttribute("Background", ValueType::Enum, AttributeValue::OfEnum(1));
    MemoryBlock palette(300 * 3);
    palette.WriteInt(767, 0x7F, 1);
    f.self->SetAttribute("BackPalette", ValueType::Palette, AttributeValue::OfBlock(palette));

    MemoryBlock chunks;
    ASSERT_EQ(f.self->WriteClassChunks(chunks), 3);
    std::string tag;
    MemoryBlock payload;
    int32_t at = chunks.ReadChunk(0, tag, payload);
    EXPECT_EQ(tag, "Defi");
    EXPECT_EQ(payload.Size(), 4 + 4 + 4 + 1 + 4 + 12 + 12);
    EXPECT_EQ(payload.ReadInt(17, 4), 0x56);  // red of the back colour
    ThreeCards g;
    ASSERT_TRUE(g.self->ReadClassChunk(tag, payload));
    at += chunks.ReadChunk(at, tag, payload);
    EXPECT_EQ(tag, "BPic");
    EXPECT_EQ(payload.Size(), 0);
    chunks.ReadChunk(at, tag, payload);
    EXPECT_EQ(tag, "BPal");
    ASSERT_EQ(payload.Size(), 768);
    EXPECT_EQ(payload.ReadInt(767, 1), 0x7F);
    EXPECT_TRUE(g.self->ReadClassChunk(tag, payload));
    EXPECT_FALSE(g.self->ReadClassChunk("Entr", payload));

    AttributeValue value;
    g.self->GetAttribute("BackColor", ValueType::Color, value);
    EXPECT_EQ(value.Color(), 0x00123456u);
    g.self->GetAttribute("BackGradient", ValueType::Color, value);
    EXPECT_EQ(value.Color(), 0x00ABCDEFu);
    g.self->GetAttribute("CardWidth", ValueType::Long, value);
    EXPECT_EQ(value.Long(), 800);
    g.self->GetAttribute("TimerCycles", ValueType::Boolean, value);
    EXPECT_TRUE(value.Boolean());
    EXPECT_EQ(g.self->BackPalette().Size(), 768);
}
