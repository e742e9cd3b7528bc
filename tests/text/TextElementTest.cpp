#include <gtest/gtest.h>

#include "elements/ElementTestSupport.h"
#include "iface/ElementFactory.h"
#include "text/TextElement.h"

using namespace tamber;
using namespace tamber::test;

namespace {

using V = AttributeValue;

}  // namespace

TEST(TextElement, DefnKeepsEveryStoredAttribute)
{
    TextElement text;
    Set(text, "BackBitmapXOffset", ValueType::Long, V::OfLong(-3));
    Set(text, "BackBitmapYOffset", ValueType::Long, V::OfLong(4));
    Set(text, "BackColor", ValueType::Color, V::OfColor(0x00203040));
    Set(text, "Border", ValueType::Boolean, V::OfBoolean(false));
    Set(text, "ColumnSpacing", ValueType::Long, V::OfLong(12));
    Set(text, "HotLinkCursor", ValueType::Boolean, V::OfBoolean(false));
    Set(text, "Layer", ValueType::Long, V::OfLong(2));
    Set(text, "Mode", ValueType::Enum, V::OfEnum(TextElement::kHotword));
    Set(text, "NumColumns", ValueType::Long, V::OfLong(3));
    Set(text, "ScrollBars", ValueType::Boolean, V::OfBoolean(false));
    Set(text, "ScrollWidth", ValueType::Long, V::OfLong(900));
    Set(text, "Transparent", ValueType::Boolean, V::OfBoolean(true));
    Set(text, "ZoomFactor", ValueType::Long, V::OfLong(150));
    Set(text, "Wrap", ValueType::Boolean, V::OfBoolean(true));
    Set(text, "WrapStandOff", ValueType::Long, V::OfLong(6));
    Set(text, "Button : Last Page", ValueType::Id, V::OfLong(21));
    Set(text, "ScrollBar : Navigate", ValueType::Id, V::OfLong(22));
    Set(text, "BackBitmap", ValueType::Picture, V::OfBlock(FakeBitmap(16, 16)));

    TextElement copy;
    std::vector<Chunk> chunks = RoundTrip(text, copy);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].payload.Size(), 8 + 12 + 1 + 4 + 1 + 4 + 2 + 4 + 1 + 4 + 1 + 4 + 1 + 4 + 20);
    EXPECT_EQ(chunks[1].tag, "BPic");
    EXPECT_EQ(Get(copy, "Mode", ValueType::Enum).Enum(), TextElement::kHotword);
    EXPECT_EQ(Get(copy, "ZoomFactor", ValueType::Long).Long(), 150);
    EXPECT_EQ(Get(copy, "Button : Last Page", ValueType::Id).Long(), 21);
    EXPECT_TRUE(Get(copy, "BackBitmap", ValueType::Boolean).Boolean());

    // Without a back picture only "Defn" is written, and reading it drops an old picture.
    TextElement plain;
    MemoryBlock out;
    EXPECT_EQ(plain.WriteClassChunks(out), 1);
    ASSERT_TRUE(copy.ReadClassChunk("Defn", SplitChunks(out)[0].payload));
    EXPECT_FALSE(Get(copy, "BackBitmap", ValueType::Boolean).Boolean());
    EXPECT_EQ(Get(copy, "ZoomFactor", ValueType::Long).Long(), TextElement::kDefaultZoom);
}

TEST(TextElement, ViewStateIsReadOnlyAndEmptyWithoutAView)
{
    TextElement text;
    EXPECT_EQ(Get(text, "NumPages", ValueType::Long).Long(), 0);
    EXPECT_EQ(Get(text, "Selection", ValueType::String).String(), "");
    EXPECT_EQ(text.SetAttribute("ScrollMax", ValueType::Long, V::OfLong(3)), 0);
    Set(text, "PageNum", ValueType::Long, V::OfLong(4));
    EXPECT_EQ(Get(text, "PageNum", ValueType::Long).Long(), 4);
}

TEST(TextElement, RegistersUnderBothNames)
{
    ElementFactory factory;
    RegisterTextElement(factory);
    for (const char* name : {"Text", "GT"}) {
        std::unique_ptr<Element> element = factory.Create(nullptr, name, CardRect {}, 1);
        ASSERT_NE(element, nullptr) << name;
        EXPECT_EQ(element->GetTypeName(), "Text");
        EXPECT_EQ(element->GetName(), "Text");
    }
}
