#include "media/FrameEffects.h"

#include "media/TransitionCopier.h"
#include "platform/gfx/RasterOp.h"

namespace tamber {

namespace {

// Every outline frame waits this long in total, spread over the frames.
constexpr uint32_t kTraceMilliseconds = 20;

// The frame shown at position `i` of the effect: growing effects count up from the centre,
// shrinking ones down from the full rectangle.
gfx::Rect FrameFor(const TransitionCopier& copier, Motion motion, int32_t i) {
    const int32_t frames = copier.Step();
    return GrowingFrame(copier.Dest(), copier.Centre(), motion == Motion::Outward ? i : frames - 1 - i, frames);
}

}  // namespace

gfx::Rect GrowingFrame(const gfx::Rect& full, gfx::Point centre, int32_t frame, int32_t frames) {
    const double t = frames > 1 ? static_cast<double>(frame) / (frames - 1) : 1.0;
    auto edge = [t](int32_t from, int32_t to) { return static_cast<int32_t>(from + (static_cast<double>(to) - from) * t); };
    return gfx::Rect{edge(centre.x, full.left), edge(centre.y, full.top), edge(centre.x, full.right),
                     edge(centre.y, full.bottom)};
}

void PlayIris(TransitionCopier& copier, Motion motion) {
    const gfx::Rect d = copier.Dest();
    const gfx::Point inPlace{d.left, d.top};
    for (int32_t i = 0; i < copier.Step(); ++i) {
        const gfx::Rect r = FrameFor(copier, motion, i);
        if (motion == Motion::Outward) {
            copier.CopyPicture(r, inPlace, copier.Rop());
            copier.Show(r);
            continue;
        }
        copier.CopyPicture(gfx::Rect{d.left, d.top, r.left, d.bottom}, inPlace, copier.Rop());
        copier.CopyPicture(gfx::Rect{r.left, d.top, r.right, r.top}, inPlace, copier.Rop());
        copier.CopyPicture(gfx::Rect{r.right, d.top, d.right, d.bottom}, inPlace, copier.Rop());
        copier.CopyPicture(gfx::Rect{r.left, r.bottom, r.right, d.bottom}, inPlace, copier.Rop());
        copier.Show(d);
    }
}

void PlayZoom(TransitionCopier& copier) {
    for (int32_t i = 0; i < copier.Step(); ++i) {
        const gfx::Rect r = FrameFor(copier, Motion::Outward, i);
        copier.Copy(r, copier.Source(), gfx::Rop3::kSrcCopy);
        copier.Show(r);
    }
}

void PlayTrace(TransitionCopier& copier, Motion motion) {
    const uint32_t pause = kTraceMilliseconds / static_cast<uint32_t>(copier.Step());
    gfx::Rect previous;
    for (int32_t i = 0; i < copier.Step(); ++i) {
        copier.WaitSinceLast(pause);
        const gfx::Rect r = FrameFor(copier, motion, i);
        copier.InvertOutline(r);
        copier.InvertOutline(previous);
        copier.Show(r.Union(previous));
        previous = r;
    }
    copier.InvertOutline(previous);
    copier.Show(previous);
}

void PlayCurtain(TransitionCopier& copier, CurtainAxis axis, Motion motion) {
    const gfx::Rect d = copier.Dest();
    const gfx::Point inPlace{d.left, d.top};
    for (int32_t i = 0; i < copier.Step(); ++i) {
        // Only the gap's extent along the axis counts.
        const gfx::Rect g = FrameFor(copier, motion, i);
        const bool across = axis == CurtainAxis::Across;
        if (motion == Motion::Outward) {
            const gfx::Rect gap =
                across ? gfx::Rect{g.left, d.top, g.right, d.bottom} : gfx::Rect{d.left, g.top, d.right, g.bottom};
            copier.CopyPicture(gap, inPlace, copier.Rop());
        } else if (across) {
            copier.CopyPicture(gfx::Rect{d.left, d.top, g.left, d.bottom}, inPlace, copier.Rop());
            copier.CopyPicture(gfx::Rect{g.right, d.top, d.right, d.bottom}, inPlace, copier.Rop());
        } else {
            copier.CopyPicture(gfx::Rect{d.left, d.top, d.right, g.top}, inPlace, copier.Rop());
            copier.CopyPicture(gfx::Rect{d.left, g.bottom, d.right, d.bottom}, inPlace, copier.Rop());
        }
        copier.Show(d);
    }
}

}  // namespace tamber
