#include "media/Transition.h"

#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/Palette.h"
#include "media/ScreenContext.h"
#include "media/TransitionCopier.h"
#include "media/TransitionEffect.h"
#include "platform/gfx/Palette.h"

namespace tamber {

namespace {

// Effects step through their rectangles pixel by pixel and frame by frame; rectangles beyond
// any screen get only the final copy.
constexpr int32_t kMaxEffectSide = 1 << 15;
constexpr int32_t kMaxEffectCoordinate = 1 << 20;

bool FitsEffects(const gfx::Rect& r) {
    auto inRange = [](int32_t v) { return v >= -kMaxEffectCoordinate && v <= kMaxEffectCoordinate; };
    return !r.IsEmpty() && r.Width() <= kMaxEffectSide && r.Height() <= kMaxEffectSide && inRange(r.left) &&
           inRange(r.top) && inRange(r.right) && inRange(r.bottom);
}

// The palette a picture is drawn with: the one given; else, on an 8-bit display, the screen
// palette while the screen is faded (so the picture stays dark with the rest) or the default
// palette with the full standard set.
gfx::Palette* ChoosePalette(ScreenContext& context, Palette* given) {
    if (given != nullptr) {
        return given->Device();
    }
    if (context.BitsPerPixel() != 8) {
        return nullptr;
    }
    if (context.ScreenFaded()) {
        gfx::Palette& screen = context.ScreenPalette();
        if (screen.Count() < Palette::kFadeEntries) {
            screen.Resize(Palette::kFadeEntries);  // new entries are black
        }
        screen.Unrealize();
        return &screen;
    }
    Palette& fallback = context.DefaultPalette();
    if (fallback.Count() == 0) {
        fallback.FillStandard(StandardSet::Full, AtEnd::Yes);
    }
    return fallback.Device();
}

}  // namespace

int Transition::Draw(const TransitionRequest& request) {
    gfx::Dc* dc = m_surface.Dc();
    gfx::Dc* memory = m_surface.SourceDc();
    if (dc == nullptr || memory == nullptr) {
        return 0;
    }
    TransitionPicture picture;
    gfx::DeviceBitmap* oldBitmap = nullptr;
    if (request.bitmap != nullptr) {
        oldBitmap = memory->SelectBitmap(request.bitmap);
        if (oldBitmap == nullptr) {
            return 0;
        }
        picture.bitmapDc = memory;
    } else if (request.dib == nullptr || picture.SetDib(*request.dib) == 0) {
        return 0;
    }

    gfx::Palette* palette = ChoosePalette(m_surface.Context(), request.palette);
    const gfx::Palette* oldMemoryPalette = nullptr;
    const gfx::Palette* oldDestPalette = nullptr;
    const bool dibColors = picture.bitmapDc == nullptr && palette != nullptr;
    if (palette != nullptr) {
        oldMemoryPalette = memory->SelectPalette(palette);
        memory->RealizePalette();
        // A DIB's colours are matched in the destination, so it needs the palette there too.
        if (dibColors) {
            oldDestPalette = dc->SelectPalette(palette);
        }
    }
    const gfx::StretchMode oldMode = dc->SetStretchBltMode(request.stretchMode);

    TransitionCopier copier(m_surface, picture, request.source, request.dest, request.rop,
                            m_watcher ? &m_watcher : nullptr);
    uint32_t finalRop = request.rop;
    const TransitionEffect* effect = TransitionEffect::Find(request.effect);
    if (effect != nullptr && effect->play != nullptr && FitsEffects(request.source) && FitsEffects(request.dest)) {
        // Nothing an effect draws may land outside the destination rectangle.
        dc->SaveDc();
        dc->IntersectClipRect(request.dest);
        effect->play(copier);
        dc->RestoreDc(-1);
        if (!effect->FinalCopyUsesCallerRop()) {
            finalRop = gfx::Rop3::kSrcCopy;
        }
    }
    const int result = copier.Final(finalRop);

    dc->SetStretchBltMode(oldMode);
    if (palette != nullptr) {
        memory->SelectPalette(oldMemoryPalette);
        if (dibColors) {
            dc->SelectPalette(oldDestPalette);
        }
    }
    if (picture.bitmapDc != nullptr) {
        memory->SelectBitmap(oldBitmap);
    }
    return result;
}

int Transition::DrawImage(DibImage& image, gfx::Point at, int32_t effect, PictureColors colors) {
    return DrawImage(image, gfx::Rect::FromSize(at.x, at.y, image.Width(), image.Height()), effect, colors);
}

int Transition::DrawImage(DibImage& image, const gfx::Rect& into, int32_t effect, PictureColors colors) {
    TransitionRequest request;
    request.bitmap = image.Bitmap();
    request.dib = image.HeldDib();
    request.source = gfx::Rect::FromSize(0, 0, image.Width(), image.Height());
    request.dest = into;
    request.rop = m_surface.DrawModeRop();
    switch (colors) {
    case PictureColors::Image: request.palette = image.OwnPalette(); break;
    case PictureColors::Current: request.palette = m_surface.Context().Current(); break;
    case PictureColors::None: break;
    }
    request.effect = effect;
    return Draw(request);
}

}  // namespace tamber
