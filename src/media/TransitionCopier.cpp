#include "media/TransitionCopier.h"

#include "media/DrawingSurface.h"
#include "media/ScreenContext.h"
#include "platform/gfx/DibFormat.h"

namespace tamber {

int TransitionPicture::SetDib(const MemoryBlock& packed) {
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    if (packed.Size() < 2 || packed.Data()[0] != 'B' || packed.Data()[1] != 'M' ||
        gfx::DibInfo::ParsePacked(packed.Data(), static_cast<size_t>(packed.Size()), dib, bits, bitsSize) == 0) {
        return 0;
    }
    dibInfo = packed.Data(static_cast<int32_t>(gfx::DibFormat::kFileHeaderSize));
    dibInfoSize = dib.infoBytes;
    dibBits = bits;
    dibBitsSize = bitsSize;
    return 1;
}

TransitionCopier::TransitionCopier(DrawingSurface& surface, const TransitionPicture& picture, const gfx::Rect& source,
                                   const gfx::Rect& dest, uint32_t rop, const TransitionWatcher* watcher)
    : m_surface(surface),
      m_dc(*surface.Dc()),
      m_picture(picture),
      m_source(source),
      m_dest(dest),
      m_rop(rop),
      m_watcher(watcher),
      m_scaleX(dest.Width() != 0 ? static_cast<double>(source.Width()) / dest.Width() : 0.0),
      m_scaleY(dest.Height() != 0 ? static_cast<double>(source.Height()) / dest.Height() : 0.0) {
    if (Clock* clock = surface.Context().GetClock()) {
        m_lastWait = clock->TickCount();
    }
}

int32_t TransitionCopier::Step() const {
    return m_surface.Step();
}

gfx::Point TransitionCopier::Centre() const {
    const int32_t x = m_surface.EffectCenterX();
    return gfx::Point{x >= 0 ? x : m_dest.left + m_dest.Width() / 2, m_dest.top + m_dest.Height() / 2};
}

void TransitionCopier::CopyPicture(const gfx::Rect& part, gfx::Point origin, uint32_t rop) {
    const gfx::Rect laidOut = gfx::Rect::FromSize(origin.x, origin.y, m_dest.Width(), m_dest.Height());
    const gfx::Rect shown = part.Intersect(m_dest).Intersect(laidOut);
    if (shown.IsEmpty()) {
        return;
    }
    const int32_t x = shown.left - origin.x;
    const int32_t y = shown.top - origin.y;
    const gfx::Rect source =
        gfx::Rect::FromSize(m_source.left + static_cast<int32_t>(x * m_scaleX),
                            m_source.top + static_cast<int32_t>(y * m_scaleY),
                            static_cast<int32_t>(shown.Width() * m_scaleX), static_cast<int32_t>(shown.Height() * m_scaleY));
    Copy(shown, source, rop);
}

int TransitionCopier::Copy(const gfx::Rect& dest, const gfx::Rect& source, uint32_t rop) {
    if (dest.IsEmpty() || source.IsEmpty()) {
        return 0;
    }
    const int result = Transfer(dest, source, rop);
    Report(TransitionStep{TransitionStep::Kind::Copy, dest, source, {}, rop});
    return result;
}

int TransitionCopier::Transfer(const gfx::Rect& dest, const gfx::Rect& source, uint32_t rop) {
    int result = 0;
    if (m_picture.bitmapDc != nullptr) {
        if (dest.Width() == source.Width() && dest.Height() == source.Height()) {
            result = m_dc.BitBlt(dest.left, dest.top, dest.Width(), dest.Height(), m_picture.bitmapDc, source.left,
                                 source.top, rop);
        } else {
            result = m_dc.StretchBlt(dest.left, dest.top, dest.Width(), dest.Height(), m_picture.bitmapDc, source.left,
                                     source.top, source.Width(), source.Height(), rop);
        }
    } else if (m_picture.dibInfo != nullptr) {
        // Rows of a bottom-up image are counted from its last row.
        const int32_t y = m_picture.dib.topDown ? source.top : m_picture.dib.height - source.top - source.Height();
        result = m_dc.StretchDIBits(dest.left, dest.top, dest.Width(), dest.Height(), source.left, y, source.Width(),
                                    source.Height(), m_picture.dibBits, m_picture.dibBitsSize, m_picture.dibInfo,
                                    m_picture.dibInfoSize, gfx::DibColors::Rgb, rop);
    }
    return result;
}

void TransitionCopier::Scroll(int32_t dx, int32_t dy) {
    m_dc.ScrollDc(dx, dy, &m_dest, &m_dest, nullptr);
    Report(TransitionStep{TransitionStep::Kind::Scroll, m_dest, {}, gfx::Point{dx, dy}, 0});
}

void TransitionCopier::InvertOutline(const gfx::Rect& rect) {
    if (rect.IsEmpty()) {
        return;
    }
    m_dc.DrawFocusRect(rect);
    Report(TransitionStep{TransitionStep::Kind::Outline, rect, {}, {}, 0});
}

void TransitionCopier::WaitSinceLast(uint32_t milliseconds) {
    Clock* clock = m_surface.Context().GetClock();
    if (clock == nullptr) {
        return;
    }
    for (uint32_t passed = clock->TickCount() - m_lastWait; passed < milliseconds;
         passed = clock->TickCount() - m_lastWait) {
        clock->Sleep(milliseconds - passed);
    }
    m_lastWait = clock->TickCount();
}

void TransitionCopier::Show(const gfx::Rect& part) {
    m_surface.ShowNow(part.Intersect(m_dest));
}

int TransitionCopier::Final(uint32_t rop) {
    if (m_dest.IsEmpty() || m_source.IsEmpty()) {
        return 0;
    }
    const int result = Transfer(m_dest, m_source, rop);
    Report(TransitionStep{TransitionStep::Kind::Final, m_dest, m_source, {}, rop});
    Show(m_dest);
    return result;
}

void TransitionCopier::Report(const TransitionStep& step) {
    if (m_watcher != nullptr && *m_watcher) {
        (*m_watcher)(step);
    }
}

}  // namespace tamber
