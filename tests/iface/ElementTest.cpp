#include <gtest/gtest.h>

#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/ThreeDElement.h"
#include "iface/RecordingScriptHost.h"

using namespace tamber;
using tamber::test::RecordingScriptHost;

namespace {

int32_t ReadLong(Element& element, std::string_view name)
{
    AttributeValue value;
    EXPECT_EQ(element.GetAttribute(name, ValueType::Long, value), 1) << name;
    return value.Long();
}

bool ReadBool(Element& element, std::string_view name)
{
    AttributeValue value;
    EXPECT_EQ(element.GetAttribute(name, ValueType::Boolean, value), 1) << name;
    return value.Boolean();
}

}  // namespace

TEST(Element, NewElementHasTheDocumentedDefaults)
{
    Element bare;
    EXPECT_EQ(bare.GetTypeName(), "Unknown");
    ThreeDElement element;
    EXPECT_EQ(element.GetTypeName(), "3d");
    EXPECT_TRUE(ReadBool(element, "Visible"));
    EXPECT_TRUE(ReadBool(element, "Enabled"));
    EXPECT_TRUE(ReadBool(element, "SpawnPopups"));
    EXPECT_FALSE(ReadBool(element, "MouseEvents"));
    EXPECT_FALSE(ReadBool(element, "AttachBottom"));
    EXPECT_EQ(ReadLong(element, "hWnd"), 0);
    EXPECT_TRUE(element.GetMedia().IsNone());
    AttributeValue type;
    ASSERT_EQ(element.GetAttribute("type", ValueType::String, type), 1);
    EXPECT_EQ(type.String(), "3d");
}

TEST(Element, IdBelowOneIsStoredAsOneAndNameIsCut)
{
    ThreeDElement element;
    EXPECT_EQ(element.SetAttribute("ID", ValueType::Long, AttributeValue::OfLong(-5)), 1);
    EXPECT_EQ(ReadLong(element, "ID"), 1);
    element.SetAttribute("ID", ValueType::Long, AttributeValue::OfLong(17));
    EXPECT_EQ(element.GetId(), 17);
    element.SetAttribute("Name", ValueType::String, AttributeValue::OfString(std::string(40, 'q')));
    EXPECT_EQ(element.GetName(), std::string(31, 'q'));
}

TEST(Element, WrongTypesAndReadOnlyNamesAreRefused)
{
    ThreeDElement element;
    AttributeValue value;
    EXPECT_EQ(element.GetAttribute("ID", ValueType::Short, value), 0);
    EXPECT_EQ(element.SetAttribute("Visible", ValueType::Long, AttributeValue::OfLong(0)), 0);
    EXPECT_TRUE(element.IsVisible());
    EXPECT_EQ(element.SetAttribute("Type", ValueType::String, AttributeValue::OfString("Button")), 0);
    EXPECT_EQ(element.GetTypeName(), "3d");
    EXPECT_EQ(element.SetAttribute("hWnd", ValueType::Long, AttributeValue::OfLong(5)), 0);
    EXPECT_EQ(element.GetAttribute("NoSuchThing", ValueType::Long, value), 0);
    EXPECT_EQ(element.GetAttribute("Media", ValueType::Long, value), 0);
}

TEST(Element, FrameChangesRaiseMovedAndSizedOnlyWhenTheyChange)
{
    RecordingScriptHost host;
    ThreeDElement element;
    element.SetFrame(CardRect {10, 10, 50, 40});

    element.SetAttribute("RectLeft", ValueType::Long, AttributeValue::OfLong(10));
    element.SetAttribute("RectHeight", ValueType::Long, AttributeValue::OfLong(40));
    EXPECT_TRUE(host.events.empty());

    element.SetAttribute("RectTop", ValueType::Long, AttributeValue::OfLong(25));
    ASSERT_EQ(host.Names(), std::vector<std::string>({"Moved"}));
    EXPECT_EQ(host.events[0].longs, std::vector<int32_t>({10, 25}));

    host.events.clear();
    element.SetAttribute("RectWidth", ValueType::Long, AttributeValue::OfLong(0));
    EXPECT_EQ(element.GetFrame().width, 50);
    ASSERT_EQ(host.Names(), std::vector<std::string>({"Sized"}));
    EXPECT_EQ(host.events[0].longs, std::vector<int32_t>({50, 40}));

    host.events.clear();
    element.SetAttribute("RectWidth", ValueType::Long, AttributeValue::OfLong(70));
    EXPECT_EQ(element.GetFrame(), (CardRect {10, 25, 70, 40}));
    EXPECT_EQ(host.events.at(0).longs, std::vector<int32_t>({70, 40}));
}

TEST(Element, MoveAndSizeMethodsAlwaysRaiseTheirEvents)
{
    RecordingScriptHost host;
    ThreeDElement element;
    element.SetFrame(CardRect {10, 10, 5, 5});
    AttributeValue result;
    const AttributeValue same[] = {AttributeValue::OfLong(10), AttributeValue::OfLong(10)};
    EXPECT_EQ(element.CallMethod("move", same, result), 1);
    ASSERT_EQ(host.Names(), std::vector<std::string>({"Moved"}));
    EXPECT_EQ(host.events[0].longs, std::vector<int32_t>({10, 10}));

    host.events.clear();
    const AttributeValue size[] = {AttributeValue::OfLong(-3), AttributeValue::OfLong(30)};
    EXPECT_EQ(element.CallMethod("Size", size, result), 1);
    EXPECT_EQ(element.GetFrame(), (CardRect {10, 10, 5, 30}));
    EXPECT_EQ(host.Names(), std::vector<std::string>({"Sized"}));

    EXPECT_EQ(element.CallMethod("NoSuchMethod", {}, result), 0);
}

TEST(Element, VisibilityAndEnablingRaiseOnlyOnChange)
{
    RecordingScriptHost host;
    ThreeDElement element;
    element.SetAttribute("Visible", ValueType::Boolean, AttributeValue::OfBoolean(true));
    element.SetAttribute("Enabled", ValueType::Boolean, AttributeValue::OfBoolean(true));
    EXPECT_TRUE(host.events.empty());
    AttributeValue result;
    element.CallMethod("Hide", {}, result);
    element.CallMethod("Hide", {}, result);
    element.CallMethod("Show", {}, result);
    element.SetAttribute("Enabled", ValueType::Boolean, AttributeValue::OfBoolean(false));
    EXPECT_EQ(host.Names(), std::vector<std::string>({"Hidden", "Shown", "Disabled"}));
    EXPECT_FALSE(element.IsEnabled());
}

TEST(Element, ScriptGoesThroughTheScriptHost)
{
    RecordingScriptHost host;
    ThreeDElement element;
    MemoryBlock text;
    text.AppendString("Sub Clicked\r\nEnd Sub\r\n", Nul::Include);
    ASSERT_EQ(element.SetAttribute("Script", ValueType::Script, AttributeValue::OfBlock(text)), 1);
    EXPECT_EQ(host.tokenRebuilds, 1);
    AttributeValue value;
    ASSERT_EQ(element.GetAttribute("Script", ValueType::Script, value), 1);
    EXPECT_EQ(host.stubRequests, 1);
    EXPECT_EQ(value.Block(), text);
}

TEST(Element, EventsWithoutAScriptHostDoNothing)
{
    ThreeDElement element;
    bool handled = true;
    EXPECT_EQ(element.ExecuteEvent("Clicked", -1, {}, &handled), 0);
    EXPECT_FALSE(handled);
}

TEST(Element, CommonDataRoundTripsAndTheShortFormReadsMouseEventsAsFalse)
{
    ThreeDElement element;
    element.SetId(12);
    element.SetName("Globe");
    element.SetFrame(CardRect {-4, 8, 120, 90});
    element.SetAnchor(CardPoint {3, -9});
    element.SetMedia(nullptr, 77);
    element.SetAttribute("AttachRight", ValueType::Boolean, AttributeValue::OfBoolean(true));
    element.SetAttribute("SpawnPopups", ValueType::Boolean, AttributeValue::OfBoolean(false));
    element.SetAttribute("Enabled", ValueType::Boolean, AttributeValue::OfBoolean(false));
    element.SetAttribute("MouseEvents", ValueType::Boolean, AttributeValue::OfBoolean(true));
    MemoryBlock objt;
    element.WriteCommonData(objt);
    EXPECT_EQ(objt.Size(), 47);  // 42 with an empty name, and "Globe"

    ThreeDElement copy;
    copy.ReadCommonData(objt);
    MemoryBlock again;
    copy.WriteCommonData(again);
    EXPECT_EQ(again, objt);
    EXPECT_EQ(copy.GetFrame(), element.GetFrame());
    EXPECT_EQ(copy.GetAnchor(), element.GetAnchor());
    EXPECT_EQ(copy.GetMedia().mediaId, 77);
    EXPECT_TRUE(copy.MouseEvents());
    EXPECT_TRUE(copy.Attached(Element::kAttachRight));
    EXPECT_FALSE(copy.SpawnPopups());

    ThreeDElement unnamed;
    unnamed.SetAttribute("MouseEvents", ValueType::Boolean, AttributeValue::OfBoolean(true));
    MemoryBlock full;
    unnamed.WriteCommonData(full);
    ASSERT_EQ(full.Size(), 42);
    full.Resize(41);
    ThreeDElement old;
    old.SetAttribute("MouseEvents", ValueType::Boolean, AttributeValue::OfBoolean(true));
    old.ReadCommonData(full);
    EXPECT_FALSE(old.MouseEvents());
    EXPECT_TRUE(old.IsVisible());
}

TEST(Element, MediaFromAnotherDatabaseIsWrittenAsNone)
{
    // id, empty name, rectangle, four attach flags, popups, visible, enabled
    constexpr int32_t kMediaIdOffset = 4 + 2 + 16 + 4 + 3;
    InterfaceModel model;
    model.AddCard();
    Element* element = model.AddElement(0, std::make_unique<ThreeDElement>());
    const auto* otherDatabase = reinterpret_cast<const MediaDatabase*>(&model);
    element->SetMedia(otherDatabase, 5);
    MemoryBlock objt;
    element->WriteCommonData(objt);
    EXPECT_EQ(objt.ReadInt(kMediaIdOffset, 4), -1);
    element->SetMedia(model.Database(), 5);
    objt.Clear();
    element->WriteCommonData(objt);
    EXPECT_EQ(objt.ReadInt(kMediaIdOffset, 4), 5);
}

TEST(ElementFactory, CreatesTheLayerOwnClassesAndRefusesUnknownNames)
{
    InterfaceModel model;
    CardRect frame {1, 2, 3, 4};
    std::unique_ptr<Element> three = CreateElement(&model, "3D", frame, 9);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three->GetTypeName(), "3d");
    EXPECT_EQ(three->GetName(), "3D");
    EXPECT_EQ(three->GetId(), 9);
    EXPECT_EQ(three->GetFrame(), frame);
    std::unique_ptr<Element> child = CreateElement(&model, "interface", frame, 4);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetName(), "interface");
    EXPECT_EQ(child->GetTypeName(), "Interface");
    EXPECT_EQ(CreateElement(&model, "Buton", frame, 1), nullptr);
    EXPECT_EQ(ElementFactory::ClassNameFor("vscroll"), "ScrollBar");
    EXPECT_EQ(ElementFactory::ClassNameFor("TextElement"), "String");
    EXPECT_EQ(ElementFactory().Register("Sprite", [](InterfaceModel*) { return std::unique_ptr<Element>(); }), 0);
}

TEST(ElementFactory, IconIndexesFollowTheClass)
{
    EXPECT_EQ(ElementFactory::IconIndex("GT"), 0);
    EXPECT_EQ(ElementFactory::IconIndex("BMP"), 32);
    EXPECT_EQ(ElementFactory::IconIndex("Audio"), 64);
    EXPECT_EQ(ElementFactory::IconIndex("AVI"), 96);
    EXPECT_EQ(ElementFactory::IconIndex("3D"), 128);
    EXPECT_EQ(ElementFactory::IconIndex("Interface"), 192);
    EXPECT_EQ(ElementFactory::IconIndex("Button"), 160);
}
