#include <gtest/gtest.h>

#include "iface/InterfaceWindowFixture.h"

using namespace tamber;
using namespace tamber::test;

namespace {

constexpr uint32_t kRedRef = 0x0000FF;   // 0x00BBGGRR
constexpr uint32_t kRedPixel = 0xFF0000; // 0x00RRGGBB as the screen answers
constexpr uint32_t kBluePixel = 0x0000FF;

MemoryBlock SmallRedCard(int cards = 1)
{
    return InterfaceFixture::Record(cards, [](InterfaceObject& self) {
        SetLong(self, "CardWidth", 320);
        SetLong(self, "CardHeight", 240);
        self.SetAttribute("BackColor", ValueType::Color, AttributeValue::OfColor(kRedRef));
    });
}

}  // namespace

TEST(InterfaceWindow, TopLevelIsCentredCaptionedAndPaintsItsBackground)
{
    InterfaceFixture f;
    auto window = f.Open(SmallRedCard());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->IsFullScreen());
    EXPECT_EQ(window->Caption(), "Tour");
    EXPECT_EQ(window->RectInParent().left, 160);
    EXPECT_EQ(window->RectInParent().top, 120);
    EXPECT_EQ(window->ClientWidth(), 320);
    EXPECT_EQ(window->ClientHeight(), 240);
    EXPECT_EQ(f.ui.Pixel(200, 200), kRedPixel);
    EXPECT_NE(f.ui.Pixel(100, 100), kRedPixel);
    EXPECT_EQ(f.Count(window->Interface(), "Opened"), 1);
    AttributeValue handle;
    window->Interface()->GetAttribute("hWnd", ValueType::Long, handle);
    EXPECT_EQ(handle.Long(), static_cast<int32_t>(window->Handle()));
}

TEST(InterfaceWindow, FramedWindowGetsAClientAreaOfTheCardSize)
{
    InterfaceFixture f;
    auto window = f.Open(SmallRedCard(), 3);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ClientWidth(), 320);
    EXPECT_EQ(window->ClientHeight(), 240);
    EXPECT_GT(window->RectInParent().Height(), 240);
    // The window is placed by the card size, the frame hanging over.
    EXPECT_EQ(window->RectInParent().left, 160);
}

TEST(InterfaceWindow, MatchingOneScreenDimensionMakesItFullScreenWithTheCardCentred)
{
    InterfaceFixture f;
    auto window = f.Open(InterfaceFixture::Record(1, [](InterfaceObject& self) {
        SetLong(self, "CardWidth", 500);
        SetLong(self, "CardHeight", 480);
        self.SetAttribute("BackColor", ValueType::Color, AttributeValue::OfColor(kRedRef));
    }), 3);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IsFullScreen());
    EXPECT_EQ(window->Caption(), "");
    EXPECT_EQ(window->RectInParent(), gfx::Rect::FromSize(0, 0, 640, 480));
    EXPECT_EQ(window->CardOrigin(), (CardPoint {70, 0}));
    EXPECT_EQ(f.ui.Pixel(69, 100), 0u);
    EXPECT_EQ(f.ui.Pixel(70, 100), kRedPixel);
    EXPECT_EQ(f.ui.Pixel(569, 479), kRedPixel);
    EXPECT_EQ(f.ui.Pixel(570, 100), 0u);
}

TEST(InterfaceWindow, HostedElementsDrawAtTheirFrameAndFollowMovesAndCards)
{
    InterfaceFixture f;
    auto window = f.Open(SmallRedCard(2));
    ASSERT_NE(window, nullptr);
    auto* block = static_cast<BlockElement*>(window->AddElement(0, MakeElement(4, {10, 20, 30, 40}, true, 0xFF0000)));
    block->Show();
    // Card (10, 20) is screen (170, 140) in the centred window.
    EXPECT_EQ(f.ui.Pixel(170, 140), kBluePixel);
    EXPECT_EQ(f.ui.Pixel(199, 179), kBluePixel);
    EXPECT_EQ(f.ui.Pixel(200, 180), kRedPixel);
    ASSERT_NE(block->WindowHandle(), 0);
    EXPECT_EQ(block->View().Window()->Parent(), window.get());

    Invoke(*block, "Move", {AttributeValue::OfLong(100), AttributeValue::OfLong(100)});
    EXPECT_EQ(f.ui.Pixel(170, 140), kRedPixel);
    EXPECT_EQ(f.ui.Pixel(260, 220), kBluePixel);

    Invoke(*window->Interface(), "NextCard");
    EXPECT_EQ(window->CurrentCard(), 1);
    EXPECT_FALSE(block->View().IsShown());
    EXPECT_EQ(f.ui.Pixel(260, 220), kRedPixel);
    Invoke(*window->Interface(), "PreviousCard");
    EXPECT_EQ(f.ui.Pixel(260, 220), kBluePixel);
}

TEST(InterfaceWindow, ElementsOnTheBackgroundStayThroughCardChanges)
{
    InterfaceFixture f;
    auto window = f.Open(SmallRedCard(3));
    auto* block = static_cast<BlockElement*>(
        window->AddElement(InterfaceModel::kBackground, MakeElement(2, {0, 0, 10, 10}, true, 0xFF0000)));
    block->Show();
    Invoke(*window->Interface(), "LastCard");
    EXPECT_EQ(window->CurrentCard(), 2);
    EXPECT_TRUE(block->View().IsShown());
    EXPECT_EQ(f.ui.Pixel(165, 125), kBluePixel);
}

TEST(InterfaceWindow, CloseRaisesClosedAndEndsTheTopLevelWindowButNotInTheEditor)
{
    InterfaceFixture f;
    auto window = f.Open(SmallRedCard());
    window->SetInEditor(true);
    Invoke(*window->Interface(), "Close");
    f.ui.app.ProcessPending();
    EXPECT_TRUE(window->IsCreated());
    EXPECT_EQ(f.Count(window->Interface(), "Closed"), 0);

    window->SetInEditor(false);
    SetLong(*window->Interface(), "TimerInterval", 100);
    Invoke(*window->Interface(), "TimerStart", {AttributeValue::OfLong(1)});
    Invoke(*window->Interface(), "Close");
    EXPECT_FALSE(window->TimerRunning());
    // The close request waits for the running script to end.
    EXPECT_TRUE(window->IsCreated());
    f.ui.app.ProcessPending();
    EXPECT_FALSE(window->IsCreated());
    EXPECT_EQ(f.Count(window->Interface(), "Closed"), 1);
}
