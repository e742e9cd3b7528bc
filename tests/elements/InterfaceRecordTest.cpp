#include <gtest/gtest.h>

#include "elements/ButtonElement.h"
#include "elements/ControlElements.h"
#include "elements/ListBoxElement.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "ElementTestSupport.h"

using namespace tamber;
using namespace tamber::test;

namespace {

using V = AttributeValue;

MemoryBlock Text(std::string_view text)
{
    MemoryBlock block;
    block.AppendString(text, Nul::Include);
    return block;
}

Element* Add(InterfaceModel& model, int32_t card, std::string_view type, int32_t id)
{
    return model.AddElement(card, CreateElement(&model, type, CardRect {10 * id, 5, 40, 20}, id));
}

class InterfaceRecordTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterControlElements(ElementFactory::Process()); }

    // An Interface of two Cards with elements of several classes and every trailing chunk.
    void Build(InterfaceModel& model)
    {
        model.AddCard();
        model.AddCard();
        InterfaceObject& self = model.AdoptInterface(std::make_unique<InterfaceObject>());
        self.Script() = Text("Sub Opened\r\nEnd Sub");
        self.Tokens() = Text("tokens");
        self.AddUserAttribute("Score", ValueType::Long);
        self.SetAttribute("Score", ValueType::Long, V::OfLong(5));
        self.AddUserEvent(EventDef {"Won", {ParamDef {ValueType::Long, "Points"}, {}, {}, {}}});
        self.SetAttribute("CardWidth", ValueType::Long, V::OfLong(800));
        self.SetAttribute("BackColor", ValueType::Color, V::OfColor(0x00336699));

        Element* button = Add(model, InterfaceModel::kBackground, "Button", 1);
        button->SetAttribute("Interface : Next Card", ValueType::Id, V::OfLong(-1));
        Element* list = Add(model, 0, "ListBox", 2);
        V ignored;
        list->CallMethod("AppendItem", std::vector<V> {V::OfString("first")}, ignored);
        Add(model, 0, "String", 3)->SetAttribute("Text", ValueType::String, V::OfString("Hello"));
        Add(model, 1, "Graphic", 4);
        Element* child = Add(model, 1, "Interface", 5);
        child->SetAttribute("Caption", ValueType::String, V::OfString("Help"));
        Add(model, 1, "3D", 6)->SetMedia(nullptr, 12);

        model.Guides().push_back({1, 100, 0, 0});
        model.Guides().push_back({0, 0, 240, InterfaceModel::kBackground});
        model.SetGrid(false, 10);
        model.SetEffect(3, 250);
    }
};

}  // namespace

TEST_F(InterfaceRecordTest, RoundTripsByteForByte)
{
    InterfaceModel source;
    Build(source);
    MemoryBlock record;
    InterfaceRecord::Write(source, record);
    EXPECT_EQ(record.ReadInt(InterfaceRecord::kCardCountOffset, 4), 2);
    EXPECT_EQ(record.ReadInt(InterfaceRecord::kBackgroundCountOffset, 4), 1);

    InterfaceModel loaded;
    loaded.AdoptInterface(std::make_unique<InterfaceObject>());
    ASSERT_EQ(InterfaceRecord::Load(loaded, nullptr, record), 1);
    MemoryBlock again;
    InterfaceRecord::Write(loaded, again);
    EXPECT_EQ(again, record);

    ASSERT_EQ(loaded.NumCards(), 2);
    ASSERT_EQ(loaded.CardAt(1)->elements.size(), 3u);
    EXPECT_EQ(loaded.CardAt(1)->elements[1]->GetTypeName(), "Interface");
    EXPECT_EQ(loaded.CardAt(1)->elements[2]->GetMedia().mediaId, 12);
    EXPECT_EQ(loaded.FindElement(0, 3, "String")->GetName(), "String");
    EXPECT_EQ(loaded.Guides(), source.Guides());
    EXPECT_FALSE(loaded.ShowGrid());
    EXPECT_EQ(loaded.GridStep(), 10);
    EXPECT_EQ(loaded.Effect().parameter, 250);

    InterfaceObject& self = *loaded.Interface();
    V value;
    ASSERT_EQ(self.GetAttribute("CardWidth", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 800);
    ASSERT_EQ(self.GetAttribute("Score", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 5);
    EXPECT_NE(FindEvent(self.EventTable(), "Won"), nullptr);
    EXPECT_EQ(self.Script(), Text("Sub Opened\r\nEnd Sub"));
    EXPECT_EQ(self.RemoveUserAttribute("Score"), 1);
}

TEST_F(InterfaceRecordTest, TrailingChunksReadInAnyOrderWithUnknownTagsBetween)
{
    InterfaceModel source;
    Build(source);
    MemoryBlock record;
    InterfaceRecord::Write(source, record);

    // The trailing chunks begin with "Guid", right after the last Card's entries.
    const int32_t start = record.Find(0, "Guid", 4, Exact::Yes, Direction::Forward);
    ASSERT_GT(start, 0);
    std::vector<Chunk> chunks = SplitChunks(MemoryBlock(record.Data(start), record.Size() - start));
    ASSERT_EQ(chunks.size(), 8u);
    MemoryBlock reordered(record.Data(), start);
    for (int i : {7, 3, 0, 6, 5, 2, 1, 4}) {
        reordered.WriteChunk(chunks[i].tag, chunks[i].payload);
        reordered.WriteChunk("Zzzz", Text("ignored"));
    }
    InterfaceModel probe;
    probe.AdoptInterface(std::make_unique<InterfaceObject>());
    ASSERT_EQ(InterfaceRecord::Load(probe, nullptr, reordered), 1);
    MemoryBlock again;
    InterfaceRecord::Write(probe, again);
    EXPECT_EQ(again, record);
}

TEST_F(InterfaceRecordTest, UnknownTypesAreSkippedByTheirBlock)
{
    InterfaceModel source;
    source.AddCard();
    ButtonElement* button = static_cast<ButtonElement*>(Add(source, 0, "Button", 3));
    button->SetAttribute("Group", ValueType::String, V::OfString("kept"));
    MemoryBlock record;
    InterfaceRecord::Write(source, record);

    // Put an entry of an unknown type, with chunks of its own, in front of the Button.
    MemoryBlock sprite;
    ChunkWriter w(sprite);
    w.Int32(7);
    w.Int32(0);
    w.PString("");
    w.PString("Sprite");
    for (int i = 0; i < 4; ++i)
        w.Int32(0);
    sprite.AppendInt(2, 2);
    sprite.WriteChunk("Objt", Text("whatever"));
    sprite.WriteChunk("Defn", Text("frames"));
    const int32_t firstEntry = InterfaceRecord::kHeaderSize + 4 + 4 + 6;  // Card header with "Card"
    record.Insert(firstEntry, sprite.Data(), sprite.Size());
    record.WriteInt(InterfaceRecord::kHeaderSize, 2, 4);  // the Card now holds two entries

    InterfaceModel loaded;
    InterfaceRecord::Load(loaded, nullptr, record);
    ASSERT_EQ(loaded.CardAt(0)->elements.size(), 1u);
    V group;
    loaded.CardAt(0)->elements[0]->GetAttribute("Group", ValueType::String, group);
    EXPECT_EQ(group.String(), "kept");
}

TEST_F(InterfaceRecordTest, DamagedRecordsNeverCrashAndKeepOneCard)
{
    InterfaceModel source;
    Build(source);
    MemoryBlock record;
    InterfaceRecord::Write(source, record);
    for (int32_t size = 0; size < record.Size(); size += 7) {
        MemoryBlock cut(record.Data(), size);
        InterfaceModel loaded;
        loaded.AdoptInterface(std::make_unique<InterfaceObject>());
        ASSERT_EQ(InterfaceRecord::Load(loaded, nullptr, cut), 1);
        EXPECT_GE(loaded.NumCards(), 1);
        EXPECT_LE(loaded.NumCards(), 2);
    }

    MemoryBlock huge(InterfaceRecord::kHeaderSize);
    huge.WriteInt(InterfaceRecord::kCardCountOffset, 0x7FFFFFFF, 4);
    huge.WriteInt(InterfaceRecord::kBackgroundCountOffset, -1, 4);
    InterfaceModel loaded;
    InterfaceRecord::Load(loaded, nullptr, huge);
    EXPECT_EQ(loaded.NumCards(), 1);
    EXPECT_TRUE(loaded.Background().elements.empty());
}

TEST_F(InterfaceRecordTest, ChildWindowKeepsTheRecordScriptApartAndItsAttributesFixed)
{
    InterfaceModel source;
    Build(source);
    MemoryBlock record;
    InterfaceRecord::Write(source, record);

    InterfaceModel parent;
    parent.AddCard();
    auto* child = static_cast<InterfaceObject*>(Add(parent, 0, "Interface", 9));
    child->Script() = Text("the element's own script");
    InterfaceModel childWindow;
    childWindow.ShowInterfaceOf(child);
    InterfaceRecord::Load(childWindow, nullptr, record);

    EXPECT_EQ(child->Script(), Text("the element's own script"));
    EXPECT_EQ(child->OwnScript(), Text("Sub Opened\r\nEnd Sub"));
    EXPECT_EQ(child->OwnTokens(), Text("tokens"));
    V value;
    ASSERT_EQ(child->GetAttribute("Score", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 5);
    EXPECT_EQ(child->RemoveUserAttribute("Score"), 0);
    EXPECT_NE(FindEvent(child->EventTable(), "Won"), nullptr);
    EXPECT_EQ(child->UserEvents().Size(), 0);
    EXPECT_EQ(childWindow.NumCards(), 2);
}

TEST_F(InterfaceRecordTest, ClipboardCarriesTypesFramesAndBlocks)
{
    InterfaceModel source;
    source.AddCard();
    Element* list = Add(source, 0, "ListBox", 2);
    V ignored;
    list->CallMethod("AppendItem", std::vector<V> {V::OfString("pasted")}, ignored);
    Element* bar = Add(source, 0, "HScroll", 3);
    const Element* copied[] = {list, bar};
    MemoryBlock clip;
    InterfaceRecord::WriteClipboard(copied, clip);
    EXPECT_EQ(clip.ReadInt(0, 4), 2);

    InterfaceModel target;
    std::vector<std::unique_ptr<Element>> pasted = InterfaceRecord::ReadClipboard(target, clip);
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(pasted[0]->GetTypeName(), "ListBox");
    EXPECT_EQ(pasted[1]->GetTypeName(), "ScrollBar");
    EXPECT_EQ(pasted[1]->GetFrame(), bar->GetFrame());
    EXPECT_EQ(static_cast<ListBoxElement&>(*pasted[0]).Items(), std::vector<std::string>({"pasted"}));
    MemoryBlock again;
    const Element* recopied[] = {pasted[0].get(), pasted[1].get()};
    InterfaceRecord::WriteClipboard(recopied, again);
    EXPECT_EQ(again, clip);
}
