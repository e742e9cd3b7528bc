#include "media/Transition.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "media/TransitionEffect.h"
#include "media/TransitionTestSupport.h"
#include "platform/clock/VirtualClock.h"

namespace tamber {
namespace {

using gfx::Rect;
using test::CopyStep;
using test::FinalStep;
using test::ScrollStep;
using test::Stage;
using test::StepLog;
using K = TransitionStep::Kind;

constexpr uint32_t kCopy = gfx::Rop3::kSrcCopy;
constexpr uint32_t kAnd = gfx::Rop3::kSrcAnd;

// One transition of a coded picture onto a 24-bit canvas, with every step logged.
struct Reveal {
    Reveal(int32_t width, int32_t height)
        : picture(stage.screen.context, test::CodedDib(width, height)), transition(*stage.surface)
    {
        log.Attach(transition);
    }
    int Draw(int32_t effect, const Rect& dest, uint32_t rop = kCopy, std::optional<Rect> source = std::nullopt)
    {
        TransitionRequest request;
        request.bitmap = picture.Bitmap();
        request.source = source.value_or(Rect::FromSize(0, 0, picture.Width(), picture.Height()));
        request.dest = dest;
        request.rop = rop;
        request.effect = effect;
        return transition.Draw(request);
    }

    Stage stage { ScreenDepth::Direct24 };
    test::Picture picture;
    Transition transition;
    StepLog log;
};

// Where the steps of one kind drew.
std::vector<Rect> Dests(const std::vector<TransitionStep>& steps)
{
    std::vector<Rect> out;
    for (const TransitionStep& s : steps)
        out.push_back(s.dest);
    return out;
}

TEST(Transition, NoneAndUnknownEffectsMakeOnlyTheFinalCopy)
{
    for (int32_t effect : { 0, 23, -1 }) {
        Reveal run(40, 10);
        EXPECT_EQ(run.Draw(effect, Rect::FromSize(3, 4, 40, 10), kAnd), 1);
        EXPECT_EQ(run.log.steps, (std::vector { FinalStep(Rect::FromSize(3, 4, 40, 10), Rect { 0, 0, 40, 10 }, kAnd) }))
            << "effect " << effect;
    }
}

TEST(Transition, WipesCopyStepWideStripsInPlace)
{
    Reveal right(40, 10);
    right.Draw(1, Rect { 0, 0, 40, 10 }, kAnd);
    EXPECT_EQ(right.log.steps, (std::vector {
                                   CopyStep(Rect { 0, 0, 16, 10 }, Rect { 0, 0, 16, 10 }, kAnd),
                                   CopyStep(Rect { 16, 0, 32, 10 }, Rect { 16, 0, 32, 10 }, kAnd),
                                   CopyStep(Rect { 32, 0, 40, 10 }, Rect { 32, 0, 40, 10 }, kAnd),
                                   FinalStep(Rect { 0, 0, 40, 10 }, Rect { 0, 0, 40, 10 }, kAnd),
                               }));

    // Backward sweeps start on the last column; the columns left of the last strip come with
    // the final copy.
    Reveal left(40, 10);
    left.Draw(2, Rect { 0, 0, 40, 10 });
    EXPECT_EQ(Dests(left.log.Of(K::Copy)),
        (std::vector<Rect> { { 39, 0, 40, 10 }, { 23, 0, 39, 10 }, { 7, 0, 23, 10 } }));

    // Rows, on a rectangle away from the origin: strips follow the rectangle, the picture's rows
    // stay in place.
    Reveal up(10, 20);
    up.Draw(4, Rect::FromSize(5, 7, 10, 20));
    EXPECT_EQ(up.log.Of(K::Copy),
              (std::vector { CopyStep(Rect { 5, 26, 15, 27 }, Rect { 0, 19, 10, 20 }),
                             CopyStep(Rect { 5, 10, 15, 26 }, Rect { 0, 3, 10, 19 }) }));
}

TEST(Transition, StripsOfAScaledPictureTakeTheMatchingSourceParts)
{
    // Twice as wide on screen: 16 destination columns show 8 picture columns.
    Reveal wide(20, 10);
    wide.Draw(1, Rect { 0, 0, 40, 20 });
    EXPECT_EQ(wide.log.Of(K::Copy), (std::vector {
                                        CopyStep(Rect { 0, 0, 16, 20 }, Rect { 0, 0, 8, 10 }),
                                        CopyStep(Rect { 16, 0, 32, 20 }, Rect { 8, 0, 16, 10 }),
                                        CopyStep(Rect { 32, 0, 40, 20 }, Rect { 16, 0, 20, 10 }),
                                    }));
    // A source rectangle inside the picture at three quarters: offsets and sizes truncate.
    Reveal narrow(60, 10);
    narrow.Draw(1, Rect { 0, 0, 40, 10 }, kCopy, Rect::FromSize(4, 2, 30, 8));
    EXPECT_EQ(narrow.log.Of(K::Copy), (std::vector {
                                          CopyStep(Rect { 0, 0, 16, 10 }, Rect::FromSize(4, 2, 12, 8)),
                                          CopyStep(Rect { 16, 0, 32, 10 }, Rect::FromSize(16, 2, 12, 8)),
                                          CopyStep(Rect { 32, 0, 40, 10 }, Rect::FromSize(28, 2, 6, 8)),
                                      }));
}

TEST(Transition, SlidesBringThePictureInLeadingEdgeFirstAndEndWithAPlainCopy)
{
    Reveal right(40, 10);
    right.Draw(5, Rect { 0, 0, 40, 10 }, kAnd);
    EXPECT_EQ(right.log.steps, (std::vector {
                                   CopyStep(Rect { 0, 0, 16, 10 }, Rect { 24, 0, 40, 10 }),
                                   CopyStep(Rect { 0, 0, 32, 10 }, Rect { 8, 0, 40, 10 }),
                                   FinalStep(Rect { 0, 0, 40, 10 }, Rect { 0, 0, 40, 10 }, kCopy),
                               }));
    Reveal left(40, 10);
    left.Draw(6, Rect { 0, 0, 40, 10 });
    EXPECT_EQ(left.log.Of(K::Copy), (std::vector {
                                        CopyStep(Rect { 39, 0, 40, 10 }, Rect { 0, 0, 1, 10 }),
                                        CopyStep(Rect { 23, 0, 40, 10 }, Rect { 0, 0, 17, 10 }),
                                        CopyStep(Rect { 7, 0, 40, 10 }, Rect { 0, 0, 33, 10 }),
                                    }));
    // Downwards the picture's bottom rows enter first.
    Reveal down(10, 20);
    down.Draw(7, Rect { 0, 0, 10, 20 });
    EXPECT_EQ(down.log.Of(K::Copy), (std::vector { CopyStep(Rect { 0, 0, 10, 16 }, Rect { 0, 4, 10, 20 }) }));
}

TEST(Transition, ScrollsPushTheOldContentOutAndCopyTheEnteringStrip)
{
    Reveal run(40, 10);
    const Rect dest { 0, 0, 40, 10 };
    std::vector<uint32_t> beforeFinal;
    run.transition.SetWatcher([&](const TransitionStep& step) {
        run.log.steps.push_back(step);
        if (run.log.steps.size() == 6)
            beforeFinal = run.stage.Pixels();
    });
    run.Draw(9, dest, kAnd);
    EXPECT_EQ(run.log.steps, (std::vector {
                                 ScrollStep(dest, 16, 0),
                                 CopyStep(Rect { 0, 0, 16, 10 }, Rect { 24, 0, 40, 10 }),
                                 ScrollStep(dest, 16, 0),
                                 CopyStep(Rect { 0, 0, 16, 10 }, Rect { 8, 0, 24, 10 }),
                                 ScrollStep(dest, 16, 0),
                                 // Three steps move 48 pixels: the picture overshoots by 8.
                                 CopyStep(Rect { 8, 0, 16, 10 }, Rect { 0, 0, 8, 10 }),
                                 FinalStep(dest, dest, kCopy),
                             }));
    // Before the final copy the picture stands 8 pixels right of its place, and nothing moved
    // outside the rectangle.
    ASSERT_EQ(beforeFinal.size(), static_cast<size_t>(Stage::kWidth * Stage::kHeight));
    auto at = [&](int32_t x, int32_t y) { return beforeFinal[static_cast<size_t>(y * Stage::kWidth + x)]; };
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 8; x < 40; ++x)
            ASSERT_EQ(at(x, y), test::PicturePixel(x - 8, y)) << x << "," << y;
        EXPECT_EQ(at(40, y), test::BackgroundPixel(40, y));
    }

    Reveal up(10, 40);
    up.Draw(12, Rect { 0, 0, 10, 40 });
    const auto copies = up.log.Of(K::Copy);
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(copies[0], CopyStep(Rect { 0, 24, 10, 40 }, Rect { 0, 0, 10, 16 }));
    EXPECT_EQ(copies[2], CopyStep(Rect { 0, 24, 10, 32 }, Rect { 0, 32, 10, 40 }));
    EXPECT_EQ(up.log.Of(K::Scroll)[0].offset, (gfx::Point { 0, -16 }));
}

TEST(Transition, IrisFramesMoveLinearlyBetweenTheEffectCentreAndTheRectangle)
{
    const Rect dest { 0, 0, 32, 16 };
    Reveal out(32, 16);
    out.Draw(14, dest, kAnd);
    const auto frames = out.log.Of(K::Copy);
    // Frame 0 is empty; frame 1 is a fifteenth of the way out, edges truncated.
    ASSERT_EQ(frames.size(), 15u);
    EXPECT_EQ(frames[0], CopyStep(Rect { 14, 7, 17, 8 }, Rect { 14, 7, 17, 8 }, kAnd));
    EXPECT_EQ(frames[14].dest, dest);

    // A set centre moves the frames; the vertical centre stays in the middle.
    Reveal offCentre(32, 16);
    offCentre.stage.surface->SetEffectCenterX(4);
    offCentre.Draw(14, dest);
    EXPECT_EQ(offCentre.log.Of(K::Copy)[0].dest, (Rect { 3, 7, 5, 8 }));

    // Iris In copies the bands between the rectangle and a shrinking frame: the first frame is
    // the whole rectangle (nothing to copy), the second leaves a top band of no height.
    Reveal in(32, 16);
    in.Draw(16, dest);
    const auto bands = Dests(in.log.Of(K::Copy));
    ASSERT_GE(bands.size(), 5u);
    EXPECT_EQ(std::vector(bands.begin(), bands.begin() + 3),
        (std::vector<Rect> { { 0, 0, 1, 16 }, { 30, 0, 32, 16 }, { 1, 15, 30, 16 } }));
    // The last frame is the empty rectangle at the centre: its left and right bands meet.
    EXPECT_EQ(std::vector(bands.end() - 2, bands.end()),
        (std::vector<Rect> { { 0, 0, 16, 16 }, { 16, 0, 32, 16 } }));
}

TEST(Transition, CurtainsCloseFromBothSidesAndOpenFromTheCentre)
{
    const Rect dest { 0, 0, 32, 16 };
    Reveal hClose(32, 16);
    hClose.Draw(17, dest, kAnd);
    const auto closing = hClose.log.Of(K::Copy);
    // The gap is full at first (nothing copied); at the second frame it is 29 wide.
    ASSERT_EQ(closing.size(), 30u);
    EXPECT_EQ(closing[0], CopyStep(Rect { 0, 0, 1, 16 }, Rect { 0, 0, 1, 16 }, kAnd));
    EXPECT_EQ(closing[1].dest, (Rect { 30, 0, 32, 16 }));
    EXPECT_EQ(closing[29].dest, (Rect { 16, 0, 32, 16 }));

    Reveal hOpen(32, 16);
    hOpen.Draw(18, dest);
    const auto opening = Dests(hOpen.log.Of(K::Copy));
    ASSERT_EQ(opening.size(), 15u);
    EXPECT_EQ(opening.front(), (Rect { 14, 0, 17, 16 }));
    EXPECT_EQ(opening.back(), dest);

    Reveal vClose(32, 16);
    vClose.Draw(19, dest);
    const auto top = vClose.log.Of(K::Copy);
    ASSERT_FALSE(top.empty());
    EXPECT_EQ(top.back().dest, (Rect { 0, 8, 32, 16 }));
}

TEST(Transition, ZoomStretchesTheWholePictureIntoEachFrame)
{
    Reveal run(32, 16);
    run.Draw(21, Rect::FromSize(8, 8, 32, 16), kAnd);
    const auto frames = run.log.Of(K::Copy);
    ASSERT_EQ(frames.size(), 15u);
    for (const TransitionStep& frame : frames) {
        EXPECT_EQ(frame.source, (Rect { 0, 0, 32, 16 }));
        EXPECT_EQ(frame.rop, kCopy);
    }
    EXPECT_EQ(frames[0].dest, (Rect { 22, 15, 25, 16 }));
    EXPECT_EQ(frames[14].dest, (Rect::FromSize(8, 8, 32, 16)));
    EXPECT_EQ(run.log.steps.back(), FinalStep(Rect::FromSize(8, 8, 32, 16), Rect { 0, 0, 32, 16 }, kAnd));
}

TEST(Transition, TracesOutlineEachFramePacedByTheClockAndLeaveNoMark)
{
    for (int32_t effect : { 13, 15 }) {
        Reveal run(32, 16);
        VirtualClock clock;
        run.stage.screen.context.SetClock(&clock);
        const std::vector<uint32_t> before = run.stage.Pixels();
        std::vector<uint32_t> afterOutlines;
        std::vector<uint32_t> ticks;
        run.transition.SetWatcher([&](const TransitionStep& step) {
            run.log.steps.push_back(step);
            ticks.push_back(clock.TickCount());
            if (step.kind == K::Outline)
                afterOutlines = run.stage.Pixels();
        });
        run.Draw(effect, Rect { 0, 0, 32, 16 });

        const auto outlines = run.log.Of(K::Outline);
        // Fifteen non-empty frames, each drawn once and removed once.
        ASSERT_EQ(outlines.size(), 30u) << effect;
        EXPECT_EQ(outlines.front().dest, effect == 13 ? (Rect { 14, 7, 17, 8 }) : (Rect { 0, 0, 32, 16 }));
        EXPECT_TRUE(run.log.Of(K::Copy).empty());
        // A millisecond before each of the 16 frames.
        EXPECT_EQ(clock.Elapsed(), 16u);
        EXPECT_EQ(ticks.front(), effect == 13 ? 2u : 1u);
        // Outlines are drawn only: once the last is removed the canvas is as it was.
        EXPECT_EQ(afterOutlines, before);
        EXPECT_EQ(run.log.steps.back().kind, K::Final);
    }
}

TEST(Transition, DrawsNothingWithoutAMemoryContextOrAPicture)
{
    test::Screen screen(ScreenDepth::Direct24);
    DibImage empty(screen.context);
    DrawingSurface nowhere(screen.context, empty);
    ASSERT_EQ(nowhere.Dc(), nullptr);
    test::Picture picture(screen.context, test::CodedDib(8, 8));
    Transition transition(nowhere);
    StepLog log;
    log.Attach(transition);
    EXPECT_EQ(transition.DrawImage(picture, gfx::Point { 0, 0 }, 1, PictureColors::None), 0);
    EXPECT_TRUE(log.steps.empty());

    // A surface that can draw, but no bitmap and a DIB that is not one.
    Reveal run(8, 8);
    MemoryBlock notADib = test::CodedDib(8, 8);
    notADib.Data()[0] = 'X';
    TransitionRequest request;
    request.dib = &notADib;
    request.source = Rect { 0, 0, 8, 8 };
    request.dest = Rect { 0, 0, 8, 8 };
    request.effect = 1;
    EXPECT_EQ(run.transition.Draw(request), 0);
    request.dib = nullptr;
    EXPECT_EQ(run.transition.Draw(request), 0);
    EXPECT_TRUE(run.log.steps.empty());
    EXPECT_EQ(run.stage.At(2, 2), test::BackgroundPixel(2, 2));
}

} // namespace
} // namespace tamber
