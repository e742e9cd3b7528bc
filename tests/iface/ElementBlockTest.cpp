#include <gtest/gtest.h>

#include "iface/ChunkReader.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/ThreeDElement.h"

using namespace tamber;

namespace {

std::vector<std::string> Tags(const MemoryBlock& block, int32_t offset = Element::kChunkCountSize)
{
    std::vector<std::string> tags;
    while (offset <= block.Size() - MemoryBlock::kChunkHeaderSize) {
        std::string tag;
        MemoryBlock payload;
        offset += block.ReadChunk(offset, tag, payload);
        tags.push_back(tag);
    }
    return tags;
}

MemoryBlock Text(std::string_view text)
{
    MemoryBlock block;
    block.AppendString(text, Nul::Include);
    return block;
}

void AppendChunk(MemoryBlock& out, std::string_view tag, const MemoryBlock& payload)
{
    out.WriteChunk(tag, payload);
}

}  // namespace

TEST(ElementBlock, WritesTheStandardChunksFirstAndCountsThem)
{
    ThreeDElement element;
    element.SetId(4);
    element.Script() = Text("Sub Clicked\r\nEnd Sub");
    element.AddUserAttribute("Score", ValueType::Long);
    MemoryBlock block;
    int32_t written = element.WriteElementBlock(block);
    EXPECT_EQ(written, block.Size());
    EXPECT_EQ(block.ReadInt(0, 2), 6);
    EXPECT_EQ(Tags(block), std::vector<std::string>({"Objt", "Scrp", "Tokn", "Tgts", "UAtt", "UEvn"}));

    InterfaceModel model;
    InterfaceObject& self = model.AdoptInterface(std::make_unique<InterfaceObject>());
    MemoryBlock own;
    self.WriteElementBlock(own);
    EXPECT_EQ(own.ReadInt(0, 2), 9);
    EXPECT_EQ(Tags(own), std::vector<std::string>(
                             {"Objp", "Scrp", "Tokn", "Tgts", "UAtt", "UEvn", "Defi", "BPic", "BPal"}));
}

TEST(ElementBlock, RoundTripsUserAttributesEventsAndScript)
{
    ThreeDElement element;
    element.SetId(4);
    element.SetName("Globe");
    element.Script() = Text("script");
    element.Tokens() = Text("tokens");
    element.Targets() = Text("targets");
    element.AddUserAttribute("Score", ValueType::Long);
    element.SetAttribute("Score", ValueType::Long, AttributeValue::OfLong(12));
    element.AddUserEvent(EventDef {"Scored", {ParamDef {ValueType::Long, "Points"}, {}, {}, {}}});
    MemoryBlock block;
    block.Append("xx", 2);  // the block need not start the buffer
    int32_t written = element.WriteElementBlock(block);

    ThreeDElement copy;
    EXPECT_EQ(copy.ReadElementBlock(block, 2), written);
    EXPECT_EQ(copy.GetName(), "Globe");
    EXPECT_EQ(copy.Targets(), element.Targets());
    AttributeValue value;
    ASSERT_EQ(copy.GetAttribute("Score", ValueType::Long, value), 1);
    EXPECT_EQ(value.Long(), 12);
    EXPECT_NE(FindEvent(copy.EventTable(), "Scored"), nullptr);
    EXPECT_EQ(copy.RemoveUserAttribute("Score"), 1);  // read from an element block: removable
    EXPECT_EQ(copy.RemoveUserEvent("Scored"), 1);

    MemoryBlock again;
    ThreeDElement third;
    third.ReadElementBlock(block, 2);
    third.WriteElementBlock(again);
    EXPECT_EQ(again.Size(), written);
    EXPECT_EQ(again.Compare(0, block.Data(2), written, Exact::Yes), 0);
}

TEST(ElementBlock, ReadsChunksInAnyOrderSkipsUnknownOnesAndStopsAtTheEnd)
{
    ThreeDElement source;
    source.SetId(9);
    source.SetFrame(CardRect {1, 2, 3, 4});
    MemoryBlock objt;
    source.WriteCommonData(objt);

    MemoryBlock block;
    block.AppendInt(5, 2);  // promises one more chunk than follows
    AppendChunk(block, "Zzzz", Text("unknown"));
    AppendChunk(block, "Scrp", Text("script"));
    AppendChunk(block, "Objt", objt);
    AppendChunk(block, "Defn", Text("not for a 3d"));

    ThreeDElement element;
    EXPECT_EQ(element.ReadElementBlock(block, 0), block.Size());
    EXPECT_EQ(element.GetId(), 9);
    EXPECT_EQ(element.GetFrame(), (CardRect {1, 2, 3, 4}));
    EXPECT_EQ(element.Script(), Text("script"));

    // A chunk whose length runs past the end reads what is there.
    MemoryBlock cut;
    cut.AppendInt(1, 2);
    cut.Append("Scrp", 4);
    cut.AppendInt(1000, 4);
    cut.Append("abc", 3);
    ThreeDElement partial;
    EXPECT_EQ(partial.ReadElementBlock(cut, 0), cut.Size());
    EXPECT_EQ(partial.Script().Size(), 3);

    ThreeDElement empty;
    EXPECT_EQ(empty.ReadElementBlock(MemoryBlock(), 0), 0);
}

TEST(ElementBlock, WithoutLoadAllChunksOnlyCommonAndClassChunksApply)
{
    InterfaceModel model;
    InterfaceObject& writer = model.AdoptInterface(std::make_unique<InterfaceObject>());
    writer.Script() = Text("inner script");
    writer.SetAttribute("TimerInterval", ValueType::Long, AttributeValue::OfLong(40));
    writer.SetAttribute("MouseEvents", ValueType::Boolean, AttributeValue::OfBoolean(true));
    writer.UserAttributes().AppendRecord("Inner", ValueType::Long);
    MemoryBlock block;
    writer.WriteElementBlock(block);

    InterfaceModel other;
    InterfaceObject& reader = other.AdoptInterface(std::make_unique<InterfaceObject>());
    reader.SetLoadAllChunks(false);
    reader.ReadElementBlock(block, 0);
    EXPECT_TRUE(reader.Script().Empty());
    EXPECT_EQ(reader.UserAttributes().Size(), 0);
    EXPECT_TRUE(reader.MouseEvents());
    AttributeValue value;
    reader.GetAttribute("TimerInterval", ValueType::Long, value);
    EXPECT_EQ(value.Long(), 40);
}
