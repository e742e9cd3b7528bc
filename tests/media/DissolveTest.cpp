#include "media/DissolveEffect.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "media/DissolveRegister.h"
#include "media/TransitionTestSupport.h"

namespace tamber {
namespace {

using gfx::Rect;
using K = TransitionStep::Kind;

TEST(DissolveRegister, VisitsEveryNonZeroValueOnceBeforeComingBack)
{
    std::vector<uint8_t> seen(DissolveRegister::kStart + 1, 0);
    DissolveRegister order;
    uint32_t steps = 0;
    for (uint32_t v = order.Next(); v != DissolveRegister::kStart; v = order.Next()) {
        ASSERT_LE(++steps, DissolveRegister::kStart) << "the register does not come back";
        ASSERT_NE(v, 0u);
        ASSERT_EQ(seen[v]++, 0) << "value " << v << " came twice";
    }
    EXPECT_EQ(steps, 0x1FFFEu);
    // The first values shift the start up and bring parities in at the bottom.
    DissolveRegister fresh;
    EXPECT_EQ(fresh.Next(), 0x1FFFEu);  // 0x1FFFF & 0x18005 has four bits set
    EXPECT_EQ(fresh.Next(), 0x1FFFDu);  // 0x1FFFE & 0x18005 has three
}

TEST(DissolveCells, KeepFourPixelCellsUnlessThePictureShrinksBelowThree)
{
    // source side, cell width and height, columns, count
    auto shape = [](const DissolveCells& c) {
        return std::array { c.sourceSide, c.cellWidth, c.cellHeight, c.columns, c.count };
    };
    const DissolveCells same = DissolveCells::For(40, 24, 40, 24);
    EXPECT_EQ(shape(same), (std::array { 4, 4, 4, 10, 60 }));
    EXPECT_EQ(same.DestSquare(13), (Rect::FromSize(12, 4, 5, 5)));
    // Halved: 8-pixel source cells come out 4 pixels wide again.
    const DissolveCells half = DissolveCells::For(40, 40, 20, 20);
    EXPECT_EQ(shape(half), (std::array { 8, 4, 4, 5, 25 }));
    EXPECT_EQ(half.SourceSquare(7), (Rect::FromSize(16, 8, 8, 8)));
    EXPECT_EQ(half.DestSquare(7), (Rect::FromSize(8, 4, 5, 5)));
    // Shrunk only vertically: the height decides, the width keeps its enlarged cells.
    EXPECT_EQ(shape(DissolveCells::For(10, 40, 30, 20)), (std::array { 8, 12, 4, 1, 5 }));
    // Pictures smaller than one cell have none.
    EXPECT_EQ(DissolveCells::For(3, 3, 3, 3).count, 0);
}

std::vector<TransitionStep> DissolveSteps(int32_t width, int32_t height, const Rect& dest, test::Stage& stage)
{
    test::Picture picture(stage.screen.context, test::CodedDib(width, height));
    Transition transition(*stage.surface);
    test::StepLog log;
    log.Attach(transition);
    transition.DrawImage(picture, dest, 22, PictureColors::None);
    return log.steps;
}

TEST(Dissolve, DoubledPictureCopiesFourPixelCellsIntoNinePixelSquaresOnceEachCellZeroLast)
{
    test::Stage stage(ScreenDepth::Direct24);
    const auto steps = DissolveSteps(20, 12, Rect { 0, 0, 40, 24 }, stage);
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps.back().kind, K::Final);
    std::map<int32_t, int32_t> copiesOfCell;
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        const TransitionStep& s = steps[i];
        ASSERT_EQ(s.kind, K::Copy);
        EXPECT_EQ(s.rop, gfx::Rop3::kSrcCopy);
        ASSERT_EQ(s.source.Width(), 4);
        ASSERT_EQ(s.source.Height(), 4);
        ASSERT_EQ(s.source.left % 4, 0);
        ASSERT_EQ(s.source.top % 4, 0);
        EXPECT_EQ(s.dest, (Rect::FromSize(s.source.left * 2, s.source.top * 2, 9, 9)));
        ++copiesOfCell[s.source.top / 4 * 5 + s.source.left / 4];
    }
    // Cells 0..14, and the value 15 that names the cell under the last row.
    ASSERT_EQ(copiesOfCell.size(), 16u);
    for (const auto& entry : copiesOfCell)
        EXPECT_EQ(entry.second, 1) << "cell " << entry.first;
    EXPECT_EQ(steps[steps.size() - 2].source, (Rect { 0, 0, 4, 4 }));
}

TEST(Dissolve, PlacesCellsFromTheContextOriginNotTheRectangle)
{
    test::Stage stage(ScreenDepth::Direct24);
    const auto steps = DissolveSteps(20, 12, Rect::FromSize(10, 6, 20, 12), stage);
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps[steps.size() - 2].dest, (Rect { 0, 0, 5, 5 }));
    // Cells above and left of the rectangle are clipped: the background there stays.
    EXPECT_EQ(stage.At(2, 2), test::BackgroundPixel(2, 2));
    EXPECT_EQ(stage.At(10, 6), test::PicturePixel(0, 0));
}

} // namespace
} // namespace tamber
