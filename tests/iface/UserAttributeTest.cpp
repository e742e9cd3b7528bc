#include <gtest/gtest.h>

#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/ThreeDElement.h"
#include "iface/UserDefinitions.h"

using namespace tamber;

namespace {

MemoryBlock Picture()
{
    const char bmp[] = "BM-a-tiny-picture";
    return MemoryBlock(bmp, sizeof bmp);
}

}  // namespace

TEST(UserAttributes, AddReadWriteAndRemoveOnce)
{
    ThreeDElement element;
    ASSERT_EQ(element.AddUserAttribute("Score", ValueType::Long), 1);
    AttributeValue value = AttributeValue::OfLong(99);
    ASSERT_EQ(element.GetAttribute("Score", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 0);
    EXPECT_EQ(element.SetAttribute("score", ValueType::Long, AttributeValue::OfLong(42)), 1);
    EXPECT_EQ(element.GetAttribute("SCORE", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 42);
    EXPECT_EQ(element.GetAttribute("Score", ValueType::Short, value), 0);

    EXPECT_EQ(element.AddUserAttribute("Score", ValueType::Double), 0);
    EXPECT_EQ(element.AddUserAttribute("Media", ValueType::Long), 0);    // class table
    EXPECT_EQ(element.AddUserAttribute("visible", ValueType::Long), 0);  // common table

    EXPECT_EQ(element.RemoveUserAttribute("Score"), 1);
    EXPECT_EQ(element.RemoveUserAttribute("Score"), 0);
    EXPECT_EQ(element.GetAttribute("Score", ValueType::Long, value), 0);
    EXPECT_EQ(element.RemoveUserAttribute("Media"), 0);
    EXPECT_EQ(element.UserAttributes().Size(), 0);
}

TEST(UserAttributes, RecordsHaveTheStoredLayoutAndInitialValues)
{
    ThreeDElement element;
    element.AddUserAttribute("Score", ValueType::Long);
    const uint8_t expected[] = {6, 'S', 'c', 'o', 'r', 'e', 0, 2, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(element.UserAttributes().Size(), static_cast<int32_t>(sizeof expected));
    EXPECT_EQ(element.UserAttributes().Compare(0, expected, sizeof expected, Exact::Yes), 0);

    struct Initial {
        const char* name;
        ValueType type;
        int32_t size;
    };
    const Initial initial[] = {{"D", ValueType::Double, 8}, {"S", ValueType::Short, 2},
        {"B", ValueType::Boolean, 1}, {"Y", ValueType::Byte, 1}, {"C", ValueType::Color, 4},
        {"Str", ValueType::String, 128}, {"F", ValueType::Font, 128}, {"T", ValueType::Text, 1},
        {"P", ValueType::Picture, 0}, {"Pal", ValueType::Palette, 0}};
    for (const Initial& i : initial)
        ASSERT_EQ(element.AddUserAttribute(i.name, i.type), 1);
    for (const Initial& i : initial) {
        UserAttributeBlock::Record record = element.UserAttributes().Find(i.name);
        EXPECT_EQ(record.type, i.type) << i.name;
        EXPECT_EQ(record.valueSize, i.size) << i.name;
    }
}

TEST(UserAttributes, BlockValuesResizeTheirRecordWithoutDisturbingTheOthers)
{
    ThreeDElement element;
    element.AddUserAttribute("Before", ValueType::Long);
    element.AddUserAttribute("Photo", ValueType::Picture);
    element.AddUserAttribute("After", ValueType::String);
    element.SetAttribute("Before", ValueType::Long, AttributeValue::OfLong(-7));
    element.SetAttribute("After", ValueType::String, AttributeValue::OfString("tail"));

    AttributeValue present;
    ASSERT_EQ(element.GetAttribute("Photo", ValueType::Boolean, present), 1);
    EXPECT_FALSE(present.Boolean());
    ASSERT_EQ(element.SetAttribute("Photo", ValueType::Picture, AttributeValue::OfBlock(Picture())), 1);
    ASSERT_EQ(element.GetAttribute("Photo", ValueType::Boolean, present), 1);
    EXPECT_TRUE(present.Boolean());
    AttributeValue picture;
    ASSERT_EQ(element.GetAttribute("Photo", ValueType::Picture, picture), 1);
    EXPECT_EQ(picture.Block(), Picture());

    AttributeValue value;
    element.GetAttribute("After", ValueType::String, value);
    EXPECT_EQ(value.String(), "tail");
    element.GetAttribute("Before", ValueType::Long, value);
    EXPECT_EQ(value.Long(), -7);

    ASSERT_EQ(element.RemoveUserAttribute("Photo"), 1);
    element.GetAttribute("After", ValueType::String, value);
    EXPECT_EQ(value.String(), "tail");
    EXPECT_EQ(element.UserAttributes().Records().size(), 2u);
}

TEST(UserAttributes, LongStringsAreCutTo127Characters)
{
    ThreeDElement element;
    element.AddUserAttribute("Note", ValueType::String);
    element.SetAttribute("Note", ValueType::String, AttributeValue::OfString(std::string(300, 'x')));
    AttributeValue value;
    element.GetAttribute("Note", ValueType::String, value);
    EXPECT_EQ(value.String(), std::string(127, 'x'));
}

TEST(UserAttributes, ACutRecordEndsTheWalk)
{
    UserAttributeBlock block;
    block.AppendRecord("One", ValueType::Long);
    block.AppendRecord("Two", ValueType::Long);
    block.WriteInt(block.Size() - 8, 1000, 4);  // the second record claims more than there is
    std::vector<UserAttributeBlock::Record> records = block.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, "One");
    EXPECT_EQ(block.Find("Two").offset, -1);
}

TEST(UserEvents, AddAndRemoveOnceKeepingTheStoredList)
{
    ThreeDElement element;
    EventDef scored {"Scored", {ParamDef {ValueType::Long, "Points"}, {}, {}, {}}};
    ASSERT_EQ(element.AddUserEvent(scored), 1);
    EXPECT_EQ(element.AddUserEvent(scored), 0);
    EXPECT_EQ(element.AddUserEvent(EventDef {"MouseDown", {}}), 0);
    EXPECT_NE(FindEvent(element.EventTable(), "scored"), nullptr);
    EXPECT_EQ(element.UserEvents().Size(), EventDef::kRecordSize);
    EXPECT_EQ(element.RemoveUserEvent("Scored"), 1);
    EXPECT_EQ(element.RemoveUserEvent("Scored"), 0);
    EXPECT_EQ(FindEvent(element.EventTable(), "Scored"), nullptr);
    EXPECT_EQ(element.UserEvents().Size(), 0);
}

TEST(UserAttributes, AddingMarksTheInterfaceModified)
{
    InterfaceModel model;
    model.AddCard();
    Element* element = model.AddElement(0, std::make_unique<ThreeDElement>());
    ASSERT_FALSE(model.Modified());
    element->AddUserAttribute("Score", ValueType::Long);
    EXPECT_TRUE(model.Modified());
}

TEST(UserDefinitions, DialogRulesRefuseBadNames)
{
    ThreeDElement element;
    element.AddUserAttribute("Score", ValueType::Long);
    using namespace user_definitions;
    EXPECT_EQ(CheckAttributeName(element, ""), "You must specify a name for the attribute...");
    EXPECT_EQ(CheckAttributeName(element, "9lives"), "The attribute name may only contain letters and numbers...");
    EXPECT_EQ(CheckAttributeName(element, "high score"), "The attribute name may only contain letters and numbers...");
    EXPECT_EQ(CheckAttributeName(element, "score"), "There is already an attribute with that name...");
    EXPECT_EQ(CheckAttributeName(element, "Name"), "There is already an attribute with that name...");
    EXPECT_EQ(CheckAttributeName(element, "Level2"), "");
    EXPECT_EQ(CheckEventName(""), "You must specify a name for the event...");
    EXPECT_EQ(CheckEventName("on-hit"), "The event and parameter names may only contain letters and numbers...");
    EXPECT_EQ(CheckEventName("OnHit"), "");
    EXPECT_EQ(RemovalLabel("Score", ValueType::Long), "Score (Long)");
    EXPECT_EQ(kAttributeTypes.front(), ValueType::Double);
    EXPECT_EQ(kAttributeTypes.back(), ValueType::Palette);
}

TEST(UserAttributes, SelfRoleBlockIsSearchedAfterTheChildRoleBlock)
{
    InterfaceModel model;
    InterfaceObject& self = model.AdoptInterface(std::make_unique<InterfaceObject>());
    self.SelfUserAttributes().AppendRecord("Level", ValueType::Long);
    self.AddAttributeDefinition("Level", ValueType::Long, kSelfRecordAttributeFlags);
    ASSERT_EQ(self.SetAttribute("Level", ValueType::Long, AttributeValue::OfLong(3)), 1);
    AttributeValue value;
    ASSERT_EQ(self.GetAttribute("Level", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 3);
    // Read from the Interface's own record: not user-removable.
    EXPECT_EQ(self.RemoveUserAttribute("Level"), 0);
}
