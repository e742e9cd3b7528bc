#include "media/StripEffects.h"

#include "media/TransitionCopier.h"
#include "platform/gfx/RasterOp.h"

namespace tamber {

namespace {

constexpr uint32_t kSourceCopy = gfx::Rop3::kSrcCopy;

}  // namespace

void PlayWipe(TransitionCopier& copier, Sweep sweep) {
    const gfx::Rect d = copier.Dest();
    const gfx::Point inPlace{d.left, d.top};
    const int32_t s = copier.Step();
    auto reveal = [&](const gfx::Rect& strip) {
        copier.CopyPicture(strip, inPlace, copier.Rop());
        copier.Show(strip);
    };
    // Backward sweeps start one pixel inside the far edge, so their first strip is one pixel.
    switch (sweep) {
    case Sweep::LeftToRight:
        for (int32_t x = d.left; x < d.right; x += s) {
            reveal(gfx::Rect{x, d.top, x + s, d.bottom});
        }
        break;
    case Sweep::RightToLeft:
        for (int32_t x = d.right - 1; x >= d.left; x -= s) {
            reveal(gfx::Rect{x, d.top, x + s, d.bottom});
        }
        break;
    case Sweep::TopToBottom:
        for (int32_t y = d.top; y < d.bottom; y += s) {
            reveal(gfx::Rect{d.left, y, d.right, y + s});
        }
        break;
    case Sweep::BottomToTop:
        for (int32_t y = d.bottom - 1; y >= d.top; y -= s) {
            reveal(gfx::Rect{d.left, y, d.right, y + s});
        }
        break;
    }
}

void PlaySlide(TransitionCopier& copier, Sweep sweep) {
    const gfx::Rect d = copier.Dest();
    const int32_t s = copier.Step();
    // The picture sits with its top-left corner at `origin`; the part of it already inside the
    // rectangle is copied.
    auto place = [&](const gfx::Rect& covered, gfx::Point origin) {
        copier.CopyPicture(covered, origin, kSourceCopy);
        copier.Show(covered);
    };
    switch (sweep) {
    case Sweep::LeftToRight:
        for (int32_t x = d.left; x < d.right; x += s) {
            place(gfx::Rect{d.left, d.top, x, d.bottom}, gfx::Point{x - d.Width(), d.top});
        }
        break;
    case Sweep::RightToLeft:
        for (int32_t x = d.right - 1; x >= d.left; x -= s) {
            place(gfx::Rect{x, d.top, d.right, d.bottom}, gfx::Point{x, d.top});
        }
        break;
    case Sweep::TopToBottom:
        for (int32_t y = d.top; y < d.bottom; y += s) {
            place(gfx::Rect{d.left, d.top, d.right, y}, gfx::Point{d.left, y - d.Height()});
        }
        break;
    case Sweep::BottomToTop:
        for (int32_t y = d.bottom - 1; y >= d.top; y -= s) {
            place(gfx::Rect{d.left, y, d.right, d.bottom}, gfx::Point{d.left, y});
        }
        break;
    }
}

void PlayScroll(TransitionCopier& copier, Sweep sweep) {
    const gfx::Rect d = copier.Dest();
    const int32_t s = copier.Step();
    const bool across = sweep == Sweep::LeftToRight || sweep == Sweep::RightToLeft;
    const int32_t length = across ? d.Width() : d.Height();
    // After step k the picture has moved (k + 1) steps into the rectangle; the strip that entered
    // is copied where it now lies.
    for (int32_t k = 0; static_cast<int64_t>(k) * s < length; ++k) {
        const int32_t moved = (k + 1) * s;
        switch (sweep) {
        case Sweep::LeftToRight:
            copier.Scroll(s, 0);
            copier.CopyPicture(gfx::Rect{d.left, d.top, d.left + s, d.bottom},
                               gfx::Point{d.left + moved - d.Width(), d.top}, kSourceCopy);
            break;
        case Sweep::RightToLeft:
            copier.Scroll(-s, 0);
            copier.CopyPicture(gfx::Rect{d.right - s, d.top, d.right, d.bottom}, gfx::Point{d.right - moved, d.top},
                               kSourceCopy);
            break;
        case Sweep::TopToBottom:
            copier.Scroll(0, s);
            copier.CopyPicture(gfx::Rect{d.left, d.top, d.right, d.top + s},
                               gfx::Point{d.left, d.top + moved - d.Height()}, kSourceCopy);
            break;
        case Sweep::BottomToTop:
            copier.Scroll(0, -s);
            copier.CopyPicture(gfx::Rect{d.left, d.bottom - s, d.right, d.bottom}, gfx::Point{d.left, d.bottom - moved},
                               kSourceCopy);
            break;
        }
        copier.Show(d);
    }
}

}  // namespace tamber
