#include <gtest/gtest.h>

#include "elements/GraphicAnimation.h"
#include "elements/GraphicHotLinks.h"
#include "elements/GraphicLayout.h"
#include "media/Canvas.h"
#include "media/HotLinkTable.h"

namespace tamber {
namespace {

using L = GraphicLayout;

gfx::Rect Layout(int32_t areaW, int32_t areaH, int32_t picW, int32_t picH, uint16_t display, bool edit = false)
{
    GraphicLayout layout;
    layout.Update(areaW, areaH, picW, picH, display, edit);
    return layout.Picture();
}

TEST(GraphicLayout, BestFitShrinksWidthFirstThenHeightAndNeverEnlarges)
{
    EXPECT_EQ(Layout(400, 300, 100, 50, L::kBestFit), gfx::Rect::FromSize(150, 125, 100, 50));
    EXPECT_EQ(Layout(400, 400, 800, 600, L::kBestFit), gfx::Rect::FromSize(0, 50, 400, 300));
    // Narrowing to 200 wide leaves it 400 tall; then the height rules: 200 * 100 / 400 = 50.
    EXPECT_EQ(Layout(200, 100, 400, 800, L::kBestFit), gfx::Rect::FromSize(75, 0, 50, 100));
    // Taller only: the height step alone applies.
    EXPECT_EQ(Layout(300, 100, 100, 200, L::kBestFit), gfx::Rect::FromSize(125, 0, 50, 100));
}

TEST(GraphicLayout, StretchFillsTheAreaWithoutBars)
{
    GraphicLayout layout;
    layout.Update(320, 200, 1000, 50, L::kStretch, false);
    EXPECT_EQ(layout.Picture(), gfx::Rect::FromSize(0, 0, 320, 200));
    EXPECT_TRUE(layout.Scaled());
    EXPECT_FALSE(layout.Horizontal().shown);
    EXPECT_EQ(layout.MaxScrollX(), 0);
    // The view position maps back through the factors: x 160 of 320 is 500 of 1000.
    gfx::Point at;
    ASSERT_TRUE(layout.ToPicture({160, 100}, at));
    EXPECT_EQ(at, (gfx::Point {500, 25}));
}

TEST(GraphicLayout, NormalAndCenterPlaceSmallPicturesAndScrollLargeOnes)
{
    EXPECT_EQ(Layout(400, 300, 100, 50, L::kNormal), gfx::Rect::FromSize(0, 0, 100, 50));
    EXPECT_EQ(Layout(400, 300, 100, 50, L::kCenter), gfx::Rect::FromSize(150, 125, 100, 50));

    // Wider than the area: a horizontal bar takes 15 pixels of height; the height still fits
    // and is centred in what is left.
    GraphicLayout layout;
    layout.Update(400, 300, 1000, 100, L::kCenter, false);
    EXPECT_TRUE(layout.Horizontal().shown);
    EXPECT_FALSE(layout.Vertical().shown);
    EXPECT_EQ(layout.Area(), gfx::Rect::FromSize(0, 0, 400, 285));
    EXPECT_EQ(layout.Picture(), gfx::Rect::FromSize(0, 92, 1000, 100));
    EXPECT_EQ(layout.MaxScrollX(), 600);  // 600 pixels over: 75 steps
    EXPECT_EQ(layout.MaxScrollY(), 0);

    // A picture just short of the area's height needs a vertical bar once the horizontal
    // bar has taken its strip.
    layout.Update(400, 300, 1000, 290, L::kNormal, false);
    EXPECT_TRUE(layout.Vertical().shown);
    EXPECT_EQ(layout.Area(), gfx::Rect::FromSize(0, 0, 385, 285));
    EXPECT_EQ(layout.MaxScrollY(), 8);  // 5 pixels over: one step
}

TEST(GraphicLayout, EditModeKeepsTheToolStripAndDrawsStretchUnscaled)
{
    GraphicLayout layout;
    layout.Update(400, 300, 100, 50, L::kStretch, true);
    EXPECT_FALSE(layout.Scaled());
    EXPECT_EQ(layout.Picture(), gfx::Rect::FromSize(62, 0, 100, 50));
    layout.Update(400, 300, 100, 50, L::kBestFit, true);
    EXPECT_EQ(layout.Picture(), gfx::Rect::FromSize(62 + 119, 125, 100, 50));
    gfx::Point at;
    EXPECT_FALSE(layout.ToPicture({10, 10}, at));
}

TEST(GraphicLayout, ScrollToRoundsDownClampsAndMovesThePicture)
{
    GraphicLayout layout;
    layout.Update(100, 100, 300, 200, L::kNormal, false);
    EXPECT_FALSE(layout.ScrollTo(0, 0));
    EXPECT_TRUE(layout.ScrollTo(13, 21));
    EXPECT_EQ(layout.Picture(), gfx::Rect::FromSize(-8, -16, 300, 200));
    EXPECT_FALSE(layout.ScrollTo(15, 23));  // same steps
    gfx::Point at;
    ASSERT_TRUE(layout.ToPicture({5, 5}, at));
    EXPECT_EQ(at, (gfx::Point {13, 21}));

    EXPECT_TRUE(layout.ScrollTo(100000, -50));
    EXPECT_EQ(layout.ScrollX(), layout.MaxScrollX());
    EXPECT_EQ(layout.ScrollY(), 0);
    // The whole picture's far edge is reachable, and no further.
    EXPECT_LE(layout.Picture().right, layout.Area().right);
    EXPECT_GT(layout.Picture().right + L::kScrollStep, layout.Area().right);

    // A smaller picture keeps positions within the new range; without a bar they read 0.
    layout.Update(100, 100, 50, 200, L::kNormal, false);
    EXPECT_EQ(layout.ScrollX(), 0);
    EXPECT_FALSE(layout.ScrollTo(40, 0));
    EXPECT_EQ(layout.ScrollX(), 0);
}

TEST(GraphicHotLinks, AreaAndObjectLinksHitByRectangleAndShape)
{
    HotLinkTable links;
    links.Links() = { HotLink { HotLinkKind::Area, {100, 100, 10, 10}, 0, nullptr, 7 },
        HotLink { HotLinkKind::Object, {}, 3, nullptr, 8 }, HotLink { HotLinkKind::Object, {}, 2, nullptr, 9 },
        HotLink { HotLinkKind::Object, {}, 4, nullptr, 10 } };
    Canvas canvas;
    Canvas::Sources sources;
    sources.hotLinks = &links;
    ASSERT_EQ(canvas.Read("CANVAS (200 200) { OBJECT { OVAL 3 { (0 0 40 40) } RECT 2 { (50 0 60 10) }"
                          " GROUP 5 { 2 } } DELETED { RECT 4 { (150 150 160 160) } } }",
                  sources),
        1);

    // The area's far edge is outside; the oval's centre is on it, its box corner is not; the
    // rectangle's box includes its far corner; a deleted object is no link.
    struct Probe {
        gfx::Point at;
        std::optional<int32_t> link;
    };
    for (const Probe& p : { Probe { { 109, 109 }, 7 }, Probe { { 110, 105 }, {} }, Probe { { 20, 20 }, 8 },
                            Probe { { 2, 2 }, {} }, Probe { { 60, 10 }, 9 }, Probe { { 155, 155 }, {} } })
        EXPECT_EQ(GraphicHotLinks::Find(links, &canvas, p.at), p.link) << p.at.x << "," << p.at.y;
    EXPECT_EQ(GraphicHotLinks::Find(links, nullptr, {20, 20}), std::nullopt);
    // A group hits through its members.
    EXPECT_TRUE(GraphicHotLinks::ShapeContains(*canvas.Find(5), {55, 5}));
    EXPECT_FALSE(GraphicHotLinks::ShapeContains(*canvas.Find(5), {20, 20}));
}

TEST(GraphicHotLinks, AnnouncesOnlyOnComingOntoALinkFromNone)
{
    GraphicHotLinks tracker;
    // From one link straight onto another is no announcement.
    std::vector<std::optional<int32_t>> announced;
    for (std::optional<int32_t> link : { std::optional<int32_t> {}, { 4 }, { 4 }, { 5 }, {}, { 5 } })
        announced.push_back(tracker.Track(link));
    EXPECT_EQ(announced, (std::vector<std::optional<int32_t>> { {}, 4, {}, {}, {}, 5 }));
}

class GraphicAnimationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(canvas.Read("CANVAS (100 100) { OBJECT { RECT 1 { (0 0 10 10) } } EVENTGROUP {"
                              " EVENT \"Slide\" TRUE { MOVE (1 (1 0)) MACROBEGIN () MOVE (1 (1 0)) MOVE (1 (1 0))"
                              " MACROEND () MOVE (1 (0 5)) }"
                              " EVENT \"Quiet\" FALSE { MOVE (1 (1 1)) MOVE (1 (1 1)) } EVENT \"Empty\" TRUE { } } }",
                      {}),
            1);
    }
    gfx::Point Corner()
    {
        gfx::Rect box = canvas.Find(1)->Box();
        return gfx::Point {box.left, box.top};
    }
    Canvas canvas;
    GraphicAnimation animation;
};

TEST_F(GraphicAnimationTest, StepsRunCommandsAndMacrosAsOneUntilTheEnd)
{
    ASSERT_TRUE(animation.Start(canvas, "sLIDE", nullptr));
    EXPECT_FALSE(animation.Start(canvas, "Quiet", nullptr));  // one at a time
    EXPECT_FALSE(animation.Step());
    EXPECT_EQ(Corner(), (gfx::Point {1, 0}));
    EXPECT_TRUE(animation.RedrawNow());
    EXPECT_FALSE(animation.Step());  // the macro is one step
    EXPECT_EQ(Corner(), (gfx::Point {3, 0}));
    EXPECT_TRUE(animation.Step());
    EXPECT_EQ(Corner(), (gfx::Point {3, 5}));
    EXPECT_FALSE(animation.Running());
    EXPECT_EQ(animation.StepsDone(), 3);
    EXPECT_FALSE(animation.Step());  // nothing left to run
    EXPECT_EQ(Corner(), (gfx::Point {3, 5}));
}

TEST_F(GraphicAnimationTest, GroupsWithoutTheFlagRedrawOnlyAtTheEnd)
{
    EXPECT_FALSE(animation.Start(canvas, "Nothing", nullptr));
    ASSERT_TRUE(animation.Start(canvas, "Quiet", nullptr));
    EXPECT_FALSE(animation.Step());
    EXPECT_FALSE(animation.RedrawNow());
    EXPECT_TRUE(animation.Step());
    EXPECT_TRUE(animation.RedrawNow());

    ASSERT_TRUE(animation.Start(canvas, "Empty", nullptr));
    EXPECT_TRUE(animation.Step());
    EXPECT_EQ(animation.StepsDone(), 0);

    ASSERT_TRUE(animation.Start(canvas, "Slide", nullptr));
    animation.Stop();
    EXPECT_FALSE(animation.Running());
    EXPECT_TRUE(animation.Start(canvas, "Quiet", nullptr));
}

}  // namespace
}  // namespace tamber
