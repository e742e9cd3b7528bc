#include "elements/GraphicElement.h"

#include <array>

#include <gtest/gtest.h>

#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "elements/GraphicView.h"
#include "elements/HostedElements.h"
#include "elements/ElementTestSupport.h"
#include "iface/ScriptHost.h"
#include "media/HotLinkTable.h"
#include "platform/MemoryFileSystem.h"

namespace tamber {
namespace {

using test::Call;
using test::GetLong;
using test::Set;

// Records every event with its hot link and Long parameters.
class EventLog : public ScriptHost {
public:
    struct Raised {
        std::string name;
        int32_t hotLink;
        std::vector<int32_t> longs;
        bool operator==(const Raised&) const = default;
        friend void PrintTo(const Raised& r, std::ostream* out)
        {
            *out << r.name << "#" << r.hotLink;
            for (int32_t v : r.longs)
                *out << " " << v;
        }
    };
    EventLog() { m_previous = ScriptHost::Install(this); }
    ~EventLog() override { ScriptHost::Install(m_previous); }
    int ExecuteEvent(Element&, const EventCall& call) override
    {
        Raised raised {std::string(call.name), call.hotLink, {}};
        for (size_t i = 0; i < call.params.size(); ++i)
            raised.longs.push_back(i == 0 && call.name != "AnimationEnded" ? -1 : call.params[i].Long());
        events.push_back(raised);
        return 1;
    }
    void EnsureEventStubs(Element&) override { }
    void RebuildTokens(Element&) override { }
    int CallFunction(Element&, std::string_view, std::span<const AttributeValue>, AttributeValue&) override
    {
        return -1;
    }
    std::vector<Raised> events;

private:
    ScriptHost* m_previous = nullptr;
};

constexpr uint32_t kRed = 0x00FF0000;
constexpr uint32_t kBlue = 0x000000FF;
// Green reads the same packed 0x00BBGGRR (BackColor) and as the screen's 0x00RRGGBB.
constexpr uint32_t kGreen = 0x0000FF00;

// A picture whose pixel (x, y) has red x and blue y, so that a screen pixel tells which
// picture pixel it shows.
uint32_t CodedAt(int32_t x, int32_t y)
{
    return static_cast<uint32_t>((x & 0xFF) << 16 | 0x80 << 8 | (y & 0xFF));
}

MemoryBlock Coded(int32_t width, int32_t height)
{
    std::vector<uint32_t> colors;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            colors.push_back(CodedAt(x, y));
    return test::Bmp24(width, height, colors);
}

MemoryBlock Solid(int32_t width, int32_t height, uint32_t rgb)
{
    return test::Bmp24(width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), rgb));
}

MemoryBlock Text(const std::string& text)
{
    return MemoryBlock(text.data(), static_cast<int32_t>(text.size() + 1));  // with its NUL
}

MemoryBlock Mode(int32_t value)
{
    MemoryBlock mode;
    mode.AppendInt(value, 4);
    return mode;
}

class GraphicElementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = std::make_unique<MediaDatabase>(fs, nullptr, nullptr);
        ASSERT_EQ(db->Open("/titles/app.mmd"), 1);
        iface.SetDatabase(db.get());
        iface.screenContext.SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, MessageButtons) {
                messages.push_back(caption + "|" + text);
                return MessageAnswer::Ok;
            });
    }
    uint32_t Add(const std::string& name, std::vector<NewPart> parts)
    {
        NewMedium medium;
        medium.name = name;
        medium.type = "Graphic";
        medium.parts = std::move(parts);
        uint32_t id = 0;
        EXPECT_EQ(MediaCatalogWriter(*db).CreateMedium(medium, &id), 1);
        return id;
    }
    GraphicElement* Place(CardRect frame, uint16_t display, uint32_t mediaId)
    {
        GraphicElement* g = iface.Place<GraphicElement>(0, 1, frame);
        Set(*g, "BackColor", ValueType::Color, AttributeValue::OfColor(kGreen));
        Set(*g, "Display", ValueType::Enum, AttributeValue::OfEnum(display));
        Set(*g, "Media", ValueType::Media, AttributeValue::OfMedia(MediaRef {static_cast<int32_t>(mediaId), db.get()}));
        iface.ui.app.ProcessPending();
        return g;
    }

    EventLog log;
    test::HostedInterface iface;
    MemoryFileSystem fs;
    std::unique_ptr<MediaDatabase> db;
    std::vector<std::string> messages;
};

TEST_F(GraphicElementTest, DisplayModesPlaceThePictureOverTheBackColor)
{
    const uint32_t id = Add("Red", {{"Data", Solid(40, 20, kRed)}});
    GraphicElement* g = Place(CardRect {10, 10, 100, 80}, GraphicElement::kBestFit, id);
    // Fits: centred unscaled at (30, 30) within the frame.
    EXPECT_EQ(iface.Pixel(10 + 69, 10 + 49), kRed);
    EXPECT_EQ(iface.Pixel(10 + 29, 10 + 30), kGreen);
    EXPECT_EQ(iface.Pixel(10 + 30, 10 + 50), kGreen);

    Set(*g, "Display", ValueType::Enum, AttributeValue::OfEnum(GraphicElement::kNormal));
    EXPECT_EQ(iface.Pixel(10, 10), kRed);
    EXPECT_EQ(iface.Pixel(10 + 40, 10 + 10), kGreen);

    Set(*g, "Display", ValueType::Enum, AttributeValue::OfEnum(GraphicElement::kStretch));
    EXPECT_EQ(iface.Pixel(10 + 99, 10 + 79), kRed);
}

TEST_F(GraphicElementTest, WithoutASizeTheElementTakesThePictureCentredOnItsPlace)
{
    const uint32_t id = Add("Red", {{"Data", Solid(40, 20, kRed)}});
    GraphicElement* g = Place(CardRect {50, 50, 0, 0}, GraphicElement::kNormal, id);
    const CardRect frame = g->GetFrame();
    EXPECT_EQ((std::array<int32_t, 4> {frame.left, frame.top, frame.width, frame.height}),
        (std::array<int32_t, 4> {30, 40, 40, 20}));
    EXPECT_EQ(iface.Pixel(30, 40), kRed);

    // A medium that is not there leaves a white picture.
    Set(*g, "Media", ValueType::Media, AttributeValue::OfMedia(MediaRef {999, db.get()}));
    EXPECT_EQ(iface.Pixel(30, 40), 0x00FFFFFFu);
}

TEST_F(GraphicElementTest, CanvasTextDrawsInTheApplicationsFonts)
{
    MemoryBlock noLinks;
    noLinks.AppendInt(0, 4);
    const uint32_t id = Add("Label", {{"Data", Solid(40, 20, kRed)}, {"Hots", noLinks}, {"Mode", Mode(1)},
                                      {"Objs", Text("CANVAS (40 20) { OBJECT { TEXT 1 { ForeColor 0xFF0000"
                                                    " Content \"AB\" Font (\"Arial\" 10) (4 4) } } }")}});
    Place(CardRect {10, 10, 40, 20}, GraphicElement::kNormal, id);
    int32_t blue = 0;
    for (int32_t y = 10; y < 30; ++y)
        for (int32_t x = 10; x < 50; ++x)
            blue += iface.Pixel(x, y) == kBlue ? 1 : 0;
    EXPECT_GT(blue, 0);
    EXPECT_EQ(iface.Pixel(10, 10), kRed);
}

TEST_F(GraphicElementTest, BestFitShrinksALargePictureAndMapsItBack)
{
    const uint32_t id = Add("Coded", {{"Data", Coded(200, 100)}});
    // The view is one pixel wider and taller than the frame: 100 x 100.
    Place(CardRect {0, 0, 99, 99}, GraphicElement::kBestFit, id);
    // 100 x 50, 25 pixels down; every screen pixel shows every second picture pixel.
    EXPECT_EQ(iface.Pixel(50, 24), kGreen);
    // Halving samples the middle of each 2 x 2 block: its lower right pixel.
    EXPECT_EQ(iface.Pixel(40, 25 + 10), CodedAt(81, 21));
    EXPECT_EQ(iface.Pixel(40, 75), kGreen);
}

TEST_F(GraphicElementTest, ScrollingStopsAtThePictureEdgeInStepsOfEight)
{
    const uint32_t id = Add("Big", {{"Data", Coded(300, 200)}});
    GraphicElement* g = Place(CardRect {0, 0, 100, 100}, GraphicElement::kNormal, id);
    EXPECT_EQ(Call(*g, "GetScrollX").Long(), 0);
    Call(*g, "ScrollTo", {AttributeValue::OfLong(13), AttributeValue::OfLong(21)});
    EXPECT_EQ(Call(*g, "GetScrollX").Long(), 8);
    EXPECT_EQ(Call(*g, "GetScrollY").Long(), 16);
    EXPECT_EQ(iface.Pixel(5, 3), CodedAt(13, 19));

    Call(*g, "ScrollTo", {AttributeValue::OfLong(5000), AttributeValue::OfLong(5000)});
    // Both bars take their strips: 86 x 86 pixels of the 101 x 101 view show the picture, and the last step brings
    // its far corner into view.
    EXPECT_EQ(Call(*g, "GetScrollX").Long(), 216);
    EXPECT_EQ(Call(*g, "GetMaxScrollX").Long(), 216);
    EXPECT_EQ(Call(*g, "GetScrollY").Long(), 120);
    EXPECT_EQ(iface.Pixel(83, 79), CodedAt(299, 199));
}

TEST_F(GraphicElementTest, MethodsBeforeShowingDoNothingAndSucceed)
{
    GraphicElement g(&iface);
    AttributeValue result = AttributeValue::OfLong(77);
    const AttributeValue params[] = {AttributeValue::OfLong(16), AttributeValue::OfLong(16)};
    EXPECT_EQ(g.CallMethod("ScrollTo", params, result), 1);
    EXPECT_EQ(g.CallMethod("GetScrollX", {}, result), 1);
    EXPECT_EQ(result.Long(), 77);
    EXPECT_EQ(g.View(), nullptr);
}

TEST_F(GraphicElementTest, EditModeRefusesTheScalingDisplays)
{
    GraphicElement* g = iface.Place<GraphicElement>(0, 1, CardRect {0, 0, 50, 50});
    Set(*g, "Display", ValueType::Enum, AttributeValue::OfEnum(GraphicElement::kCenter));
    Set(*g, "Mode", ValueType::Enum, AttributeValue::OfEnum(1));
    Set(*g, "Display", ValueType::Enum, AttributeValue::OfEnum(GraphicElement::kStretch));
    EXPECT_EQ(test::Get(*g, "Display", ValueType::Enum).Enum(), GraphicElement::kCenter);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], std::string("Error|") + GraphicElement::kDisplayRefusal);
    Set(*g, "Display", ValueType::Enum, AttributeValue::OfEnum(GraphicElement::kNormal));
    EXPECT_EQ(test::Get(*g, "Display", ValueType::Enum).Enum(), GraphicElement::kNormal);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(GraphicElementTest, AOneTimeTransitionRevealsInStepsAndLeavesTheEffect)
{
    const uint32_t red = Add("Red", {{"Data", Solid(64, 64, kRed)}});
    const uint32_t blue = Add("Blue", {{"Data", Solid(64, 64, kBlue)}});
    GraphicElement* g = Place(CardRect {0, 0, 64, 64}, GraphicElement::kNormal, red);
    int32_t before = iface.ui.screen.PresentCount();
    g->SetMediaWithTransition(db.get(), static_cast<int32_t>(blue), 1);
    const int32_t stepped = iface.ui.screen.PresentCount() - before;
    EXPECT_EQ(iface.Pixel(63, 63), kBlue);
    EXPECT_EQ(test::Get(*g, "TransitionEffect", ValueType::Enum).Enum(), 0);

    // The element's own effect (none) shows the next picture in one copy.
    before = iface.ui.screen.PresentCount();
    Set(*g, "Media", ValueType::Media, AttributeValue::OfMedia(MediaRef {static_cast<int32_t>(red), db.get()}));
    const int32_t plain = iface.ui.screen.PresentCount() - before;
    EXPECT_EQ(iface.Pixel(0, 0), kRed);
    EXPECT_GT(stepped, plain + 1);
}

class GraphicCanvasTest : public GraphicElementTest {
protected:
    void SetUp() override
    {
        GraphicElementTest::SetUp();
        HotLinkTable links;
        links.Links() = {HotLink {HotLinkKind::Area, {0, 0, 20, 20}, 0, nullptr, 7},
            HotLink {HotLinkKind::Object, {}, 3, nullptr, 9}};
        id = Add("Map", {{"Data", Solid(200, 100, kRed)}, {"Hots", links.Store()}, {"Mode", Mode(1)},
                            {"Objs", Text("CANVAS (200 100) { OBJECT { RECT 3 { (100 40 140 80) } } EVENTGROUP {"
                                          " EVENT \"Walk\" TRUE { MOVE (3 (10 0)) MOVE (3 (10 0)) MOVE (3 (10 0)) } } }")}});
    }
    uint32_t id = 0;
};

TEST_F(GraphicCanvasTest, HotLinksAnswerInPicturePixelsThroughTheScale)
{
    // BestFit halves the picture: 100 x 50 at (0, 25) in a 100 x 100 view.
    Place(CardRect {0, 0, 99, 99}, GraphicElement::kBestFit, id);
    log.events.clear();
    iface.ui.Move(60, 25 + 30);  // picture (120, 60): the rectangle object
    iface.ui.Move(61, 25 + 30);  // still on it: no second announcement
    iface.ui.Click(4, 25 + 6);   // picture (8, 12): the area
    iface.ui.Move(90, 90);       // off the picture
    iface.ui.Click(30, 25 + 5);  // picture (60, 10): nothing
    using R = EventLog::Raised;
    EXPECT_EQ(log.events,
        (std::vector<R> {R {"OverHotLink", 9, {-1}}, R {"HotLinkClicked", 7, {-1, 8, 12}}}));
}

TEST_F(GraphicCanvasTest, ScrolledHotLinksAndAnAnimationThatMovesTheObject)
{
    GraphicElement* g = Place(CardRect {0, 0, 100, 100}, GraphicElement::kNormal, id);
    Call(*g, "ScrollTo", {AttributeValue::OfLong(80), AttributeValue::OfLong(0)});
    log.events.clear();
    iface.ui.Click(25, 45);  // picture (105, 45)
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[1], (EventLog::Raised {"HotLinkClicked", 9, {-1, 105, 45}}));

    // The animation moves the object 30 to the right and ends with its event.
    log.events.clear();
    Call(*g, "Animate", {AttributeValue::OfString("WALK")});
    EXPECT_EQ(log.events, (std::vector<EventLog::Raised> {{"AnimationEnded", -1, {}}}));
    log.events.clear();
    iface.ui.Click(25, 45);  // picture (105, 45) is now left of the object
    iface.ui.Click(55, 45);  // picture (135, 45) is on it
    ASSERT_FALSE(log.events.empty());
    EXPECT_EQ(log.events.back(), (EventLog::Raised {"HotLinkClicked", 9, {-1, 135, 45}}));
    EXPECT_EQ(log.events.size(), 2u);  // the over event, then the one click on the link
}

TEST_F(GraphicCanvasTest, EscapeHeldDownStopsABlockingAnimationAfterItsFirstStep)
{
    GraphicElement* g = Place(CardRect {0, 0, 200, 100}, GraphicElement::kNormal, id);
    iface.ui.Input(ui::test::KeyEvent(EventType::KeyDown, ui::key::kEscape));
    log.events.clear();
    Call(*g, "Animate", {AttributeValue::OfString("Walk")});
    iface.ui.Input(ui::test::KeyEvent(EventType::KeyUp, ui::key::kEscape));
    EXPECT_FALSE(g->View()->Animating());
    EXPECT_TRUE(log.events.empty());
    // One move of 10: the object spans 110..150, not 130..170.
    iface.ui.Click(112, 50);
    ASSERT_FALSE(log.events.empty());
    EXPECT_EQ(log.events.back(), (EventLog::Raised {"HotLinkClicked", 9, {-1, 112, 50}}));
}

TEST_F(GraphicCanvasTest, YieldingAnimationsRunOnTheTimerAndStop)
{
    GraphicElement* g = Place(CardRect {0, 0, 200, 100}, GraphicElement::kNormal, id);
    Set(*g, "YieldOnAnimate", ValueType::Boolean, AttributeValue::OfBoolean(true));
    log.events.clear();
    Call(*g, "Animate", {AttributeValue::OfString("Walk")});
    EXPECT_TRUE(g->View()->Animating());
    EXPECT_TRUE(log.events.empty());
    iface.ui.app.RunFor(20);
    EXPECT_FALSE(g->View()->Animating());
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].name, "AnimationEnded");

    // Stopped before its first step, it neither moves the object nor ends.
    log.events.clear();
    Call(*g, "Animate", {AttributeValue::OfString("Walk")});
    Call(*g, "StopAnimation");
    iface.ui.app.RunFor(20);
    EXPECT_TRUE(log.events.empty());
    iface.ui.Click(131, 50);  // the object stands where the first run left it (130..170)
    ASSERT_FALSE(log.events.empty());
    EXPECT_EQ(log.events.back().hotLink, 9);

    // StepAnimation plays the first frames at once.
    EXPECT_TRUE(Call(*g, "StepAnimation", {AttributeValue::OfString("walk"), AttributeValue::OfLong(2)}).Boolean());
    EXPECT_FALSE(Call(*g, "StepAnimation", {AttributeValue::OfString("walk"), AttributeValue::OfLong(9)}).Boolean());
    EXPECT_FALSE(Call(*g, "StepAnimation", {AttributeValue::OfString("run"), AttributeValue::OfLong(1)}).Boolean());
}

}  // namespace
}  // namespace tamber
