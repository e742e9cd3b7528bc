#include <gtest/gtest.h>

#include "iface/ClassRegistry.h"
#include "iface/ClassTableResources.h"
#include "media/TransitionEffect.h"

using namespace tamber;

namespace {

struct Expected {
    uint16_t id;
    const char* typeName;
    size_t attributes;
    size_t methods;
    size_t events;
};

const Expected kExpected[] = {
    {9250, "3d", 1, 0, 0},
    {9251, "Audio", 11, 2, 2},
    {9252, "Button", 28, 0, 5},
    {9253, "ComboBox", 9, 6, 9},
    {9254, "EditBox", 12, 0, 6},
    {9255, "Graphic", 8, 9, 3},
    {9256, "Interface", 34, 13, 4},
    {9257, "ListBox", 11, 9, 7},
    {9258, "ScrollBar", 8, 0, 5},
    {9259, "Text", 30, 18, 8},
    {9260, "Video", 8, 8, 3},
    {9261, "Picture", 3, 0, 0},
    {9262, "String", 9, 0, 0},
    {9263, "Line", 3, 0, 0},
    {9264, "Rectangle", 5, 0, 0},
    {9265, "Database", 12, 7, 4},
};

ClassDefinition LoadClass(ClassId id)
{
    ClassDefinition def;
    EXPECT_EQ(ClassRegistry::Process().Load(static_cast<uint16_t>(id), def), 1);
    return def;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    return std::vector<uint8_t>(values.begin(), values.end());
}

}  // namespace

TEST(ClassRegistry, EveryTableParsesToItsLastByteWithTheExpectedEntries)
{
    Resources resources;
    resources.Add(ClassTableResources());
    for (const Expected& expected : kExpected) {
        SCOPED_TRACE(expected.typeName);
        std::span<const uint8_t> bytes = resources.Find(Resources::kRawData, expected.id);
        ASSERT_FALSE(bytes.empty());
        ClassDefinition def;
        EXPECT_EQ(ClassRegistry::Parse(bytes, def), static_cast<int32_t>(bytes.size()));
        EXPECT_EQ(def.attributes.size(), expected.attributes);
        EXPECT_EQ(def.methods.size(), expected.methods);
        EXPECT_EQ(def.events.size(), expected.events);
        EXPECT_EQ(ClassTypeName(expected.id), expected.typeName);
    }
    EXPECT_TRUE(resources.Find(Resources::kRawData, 9266).empty());
    EXPECT_TRUE(resources.Find(3, 9252).empty());
}

TEST(ClassRegistry, TablesCarryEnumValuesParametersAndFlagsAsWritten)
{
    ClassDefinition button = LoadClass(ClassId::Button);
    EXPECT_EQ(button.typeName, "Button");
    const AttributeDef* style = FindAttribute(button.attributes, "Style");
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->type, ValueType::Enum);
    ASSERT_EQ(style->enumValues.size(), 9u);
    EXPECT_EQ(style->enumValues.front(), "PushButton");
    EXPECT_EQ(style->enumValues.back(), "Transparent");
    const AttributeDef* textStyle = FindAttribute(button.attributes, "TextStyle");
    ASSERT_NE(textStyle, nullptr);
    ASSERT_EQ(textStyle->enumValues.size(), 16u);
    EXPECT_EQ(textStyle->enumValues[5], "Bold Underline");
    EXPECT_EQ(textStyle->enumValues[15], "Bold Italic Underline StrikeOut");
    EXPECT_EQ(FindAttribute(button.attributes, "BitmapUp")->flags, 0x020F);
    EXPECT_EQ(button.attributes.back().name, "Interface : Previous Card");

    ClassDefinition iface = LoadClass(ClassId::Interface);
    const MethodDef* fade = FindMethod(iface.methods, "PaletteFadeIn");
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->params[0].type, ValueType::Long);
    EXPECT_EQ(fade->params[0].name, "Steps(recommend 30)");
    EXPECT_EQ(fade->params[1].type, ValueType::Void);
    const AttributeDef* frame = FindAttribute(iface.attributes, "Frame");
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->enumValues.size(), 12u);
    EXPECT_EQ(frame->enumValues[3], "Border, Caption, Closebox");
    const EventDef* changed = FindEvent(iface.events, "CurrentCardChanged");
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->params[1].name, "To");

    ClassDefinition graphic = LoadClass(ClassId::Graphic);
    EXPECT_EQ(FindAttribute(graphic.attributes, "OptimizeSpace")->flags, 0xFFFF);
    EXPECT_EQ(FindAttribute(graphic.attributes, "TransitionEffect")->enumValues.size(), 23u);
    const MethodDef* step = FindMethod(graphic.methods, "StepAnimation");
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->result, ValueType::Boolean);
    EXPECT_EQ(step->params[1].name, "FrameNo");

    ClassDefinition database = LoadClass(ClassId::Database);
    const MethodDef* search = FindMethod(database.methods, "Search");
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->params[1].type, ValueType::Boolean);
}

TEST(ClassRegistry, LookupsIgnoreAsciiCaseOnly)
{
    ClassDefinition button = LoadClass(ClassId::Button);
    const AttributeDef* a = FindAttribute(button.attributes, "textstyle");
    EXPECT_NE(a, nullptr);
    EXPECT_EQ(a, FindAttribute(button.attributes, "TEXTSTYLE"));
    EXPECT_EQ(a, FindAttribute(button.attributes, "TextStyle"));
    EXPECT_EQ(FindAttribute(button.attributes, "TextStyles"), nullptr);
    EXPECT_NE(FindEvent(button.events, "CLICKED"), nullptr);
    ClassDefinition list = LoadClass(ClassId::ListBox);
    EXPECT_NE(FindMethod(list.methods, "finditem"), nullptr);
    EXPECT_FALSE(NamesEqual("\xe9", "\xc9"));
}

TEST(ClassRegistry, SelfRoleExposesExactlyTheSelfRoleAttributes)
{
    ClassDefinition self = LoadClass(ClassId::Interface);
    self.ApplySelfRole();
    std::vector<std::string> visible;
    for (const AttributeDef& def : self.attributes) {
        if (def.Visible())
            visible.push_back(def.name);
    }
    const std::vector<std::string> expected = {"BackBitmap", "BackColor", "BackGradient", "Background",
        "BackPalette", "CardHeight", "CardWidth", "CurrentCard", "hWnd", "hPalette", "MouseDown",
        "MouseEvents", "MouseX", "MouseY", "NumCards", "Script", "TimerCycles", "TimerInterval"};
    EXPECT_EQ(visible, expected);
    EXPECT_EQ(FindAttribute(self.attributes, "CardWidth")->flags, 0x00DD);
    EXPECT_EQ(FindAttribute(self.attributes, "BackBitmap")->flags, 0x04FF);
    EXPECT_EQ(FindAttribute(self.attributes, "Caption"), nullptr);
    // Hidden entries stay in place, so later entries remain reachable.
    EXPECT_EQ(self.attributes.size(), 34u);
}

TEST(ClassRegistry, ParsingStopsAtTheEndOfTheBytesAndDropsACutEntry)
{
    // One Long attribute, then an Enum whose value list is cut off.
    std::vector<uint8_t> bytes = Bytes({'A', 0, 2, 0, 0x0F, 0, 'E', 0, 6, 0, 0x0F, 0, 'x', 0});
    ClassDefinition def;
    EXPECT_EQ(ClassRegistry::Parse(bytes, def), static_cast<int32_t>(bytes.size()));
    ASSERT_EQ(def.attributes.size(), 1u);
    EXPECT_EQ(def.attributes[0].name, "A");
    EXPECT_TRUE(def.methods.empty());

    // A method whose third slot is missing.
    bytes = Bytes({0, 'M', 0, 2, 0, 'a', 0, 0, 0, 0});
    EXPECT_EQ(ClassRegistry::Parse(bytes, def), static_cast<int32_t>(bytes.size()));
    EXPECT_TRUE(def.attributes.empty());
    EXPECT_TRUE(def.methods.empty());

    EXPECT_EQ(ClassRegistry::Parse({}, def), 0);
}

TEST(ClassRegistry, NamesAreCutTo31Characters)
{
    std::string longName(40, 'n');
    std::vector<uint8_t> bytes(longName.begin(), longName.end());
    for (int b : {0, 2, 0, 0x0F, 0, 0, 0})
        bytes.push_back(static_cast<uint8_t>(b));
    ClassDefinition def;
    ClassRegistry::Parse(bytes, def);
    ASSERT_EQ(def.attributes.size(), 1u);
    EXPECT_EQ(def.attributes[0].name, std::string(31, 'n'));
}

TEST(ClassRegistry, MissingResourceGivesEmptyTablesAndAnswersZero)
{
    Resources empty;
    ClassRegistry registry(empty);
    ClassDefinition def;
    def.attributes.push_back(AttributeDef {"Stale", ValueType::Long, 0x000F, {}});
    EXPECT_EQ(registry.Load(9252, def), 0);
    EXPECT_TRUE(def.attributes.empty());
    EXPECT_EQ(def.typeName, "Button");
}

TEST(ClassRegistry, EachLoadIsAPrivateCopy)
{
    ClassDefinition first = LoadClass(ClassId::Rectangle);
    first.attributes.clear();
    ClassDefinition second = LoadClass(ClassId::Rectangle);
    EXPECT_EQ(second.attributes.size(), 5u);
}

TEST(ValueType, NamesFollowTheCodes)
{
    EXPECT_EQ(TypeName(0), "Void");
    EXPECT_EQ(TypeName(ValueType::Picture), "Picture");
    EXPECT_EQ(TypeName(16), "Media");
    EXPECT_EQ(TypeName(17), "");
    EXPECT_EQ(TypeName(0xFFFF), "");
}

TEST(EventDef, RecordsAre168BytesAndRoundTrip)
{
    EventDef def {"Scored", {ParamDef {ValueType::Long, "Points"}, ParamDef {ValueType::String, "Who"}, {}, {}}};
    MemoryBlock block;
    def.AppendRecord(block);
    ASSERT_EQ(block.Size(), EventDef::kRecordSize);
    EXPECT_EQ(block.ReadInt(32, 2), 2);
    EXPECT_EQ(block.ReadCString(34), "Points");
    EXPECT_EQ(EventDef::ReadRecord(block, 0), def);
    // A record cut short reads its missing slots as unused.
    block.Resize(40);
    EventDef cut = EventDef::ReadRecord(block, 0);
    EXPECT_EQ(cut.name, "Scored");
    EXPECT_EQ(cut.params[1].type, ValueType::Void);
}

TEST(ClassRegistry, TransitionEffectNamesAreTheDrawingRoutinesEffects)
{
    const ClassDefinition graphic = LoadClass(ClassId::Graphic);
    const AttributeDef* transition = FindAttribute(graphic.attributes, "TransitionEffect");
    ASSERT_NE(transition, nullptr);
    ASSERT_EQ(transition->enumValues.size(), TransitionEffect::All().size());
    for (const TransitionEffect& effect : TransitionEffect::All())
        EXPECT_EQ(transition->enumValues[static_cast<size_t>(effect.number)], effect.name);
}
