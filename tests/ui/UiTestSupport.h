#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/clock/VirtualClock.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/gfx/GlyphSource.h"
#include "ui/Application.h"
#include "ui/TWindow.h"

namespace tamber::ui::test {

// A face whose every printable character is a solid 4 × 7 block in a 6-pixel cell, 10 high.
class BlockFace : public gfx::GlyphFace {
public:
    BlockFace()
    {
        m_metrics.height = 10;
        m_metrics.ascent = 8;
        m_metrics.descent = 2;
        m_metrics.averageCharWidth = 6;
        m_metrics.maxCharWidth = 6;
        m_bits.assign(7, 0xF0);
    }
    const gfx::FontMetrics& Metrics() const override { return m_metrics; }
    int32_t Advance(uint8_t ch) override { return ch >= 32 ? 6 : 0; }
    int Render(uint8_t ch, gfx::GlyphBitmap& glyph) override
    {
        glyph.advance = Advance(ch);
        if (ch <= 32)
            return 0;
        glyph.bits = m_bits.data();
        glyph.width = 4;
        glyph.height = 7;
        glyph.pitch = 1;
        glyph.left = 1;
        glyph.top = 7;
        glyph.depth = gfx::GlyphDepth::Mono1;
        return 1;
    }

private:
    gfx::FontMetrics m_metrics;
    std::vector<uint8_t> m_bits;
};

class BlockGlyphs : public gfx::GlyphSource {
public:
    std::shared_ptr<gfx::GlyphFace> OpenFace(const gfx::FontRequest&) override { return m_face; }

private:
    std::shared_ptr<gfx::GlyphFace> m_face = std::make_shared<BlockFace>();
};

// One message a RecordingWindow saw.
struct Seen {
    uint32_t code;
    uintptr_t wParam;
    gfx::Point point;
};

// Writes down every mouse, key, command, timer and scroll message it receives.
class RecordingWindow : public TWindow {
public:
    intptr_t WindowProc(uint32_t code, uintptr_t wParam, intptr_t lParam) override
    {
        if (IsMouseMessage(code) || (code >= msg::kFrameworkMouseMove && code <= msg::kFrameworkDoubleClick)
            || code == msg::kKeyDown || code == msg::kKeyUp || code == msg::kChar || code == msg::kCommand
            || code == msg::kTimer || code == msg::kHScroll || code == msg::kVScroll || code == msg::kMouseLeave)
            seen.push_back(Seen { code, wParam, UnpackPoint(lParam) });
        return TWindow::WindowProc(code, wParam, lParam);
    }
    int Count(uint32_t code) const
    {
        int n = 0;
        for (const Seen& s : seen)
            n += s.code == code;
        return n;
    }
    const Seen* Last(uint32_t code) const
    {
        for (auto it = seen.rbegin(); it != seen.rend(); ++it)
            if (it->code == code)
                return &*it;
        return nullptr;
    }
    std::vector<Seen> seen;
};

inline InputEvent MouseEvent(EventType type, int32_t x, int32_t y, uint8_t mods = 0, int32_t clicks = 1)
{
    InputEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = type == EventType::MouseMove ? MouseButton::None : MouseButton::Left;
    e.clicks = clicks;
    e.modifiers = mods;
    return e;
}

inline InputEvent KeyEvent(EventType type, int32_t code, uint8_t mods = 0)
{
    InputEvent e;
    e.type = type;
    e.key = code;
    e.modifiers = mods;
    return e;
}

// A headless application on a virtual clock.
struct UiHarness {
    explicit UiHarness(int32_t width = 640, int32_t height = 480, ScreenDepth depth = ScreenDepth::Direct24)
        : screen(width, height, depth)
        , app(screen, clock, &glyphs)
    {
    }
    void Move(int32_t x, int32_t y, uint8_t mods = 0) { Input(MouseEvent(EventType::MouseMove, x, y, mods)); }
    void Down(int32_t x, int32_t y, uint8_t mods = 0) { Input(MouseEvent(EventType::MouseDown, x, y, mods)); }
    void Up(int32_t x, int32_t y, uint8_t mods = 0) { Input(MouseEvent(EventType::MouseUp, x, y, mods)); }
    void Click(int32_t x, int32_t y)
    {
        Move(x, y);
        Down(x, y);
        Up(x, y);
    }
    void DoubleClick(int32_t x, int32_t y)
    {
        Click(x, y);
        Input(MouseEvent(EventType::MouseDown, x, y, 0, 2));
        Up(x, y);
    }
    // Queues a key press (and its character) and release without handling them yet.
    void QueueKey(int32_t code, uint8_t mods = 0, uint8_t ch = 0)
    {
        screen.PostEvent(KeyEvent(EventType::KeyDown, code, mods));
        if (ch != 0) {
            InputEvent c = KeyEvent(EventType::Char, 0, mods);
            c.ch = ch;
            screen.PostEvent(c);
        }
        screen.PostEvent(KeyEvent(EventType::KeyUp, code, mods));
    }
    void Key(int32_t code, uint8_t mods = 0, uint8_t ch = 0)
    {
        QueueKey(code, mods, ch);
        app.ProcessPending();
    }
    void Type(const std::string& text)
    {
        for (char c : text) {
            int32_t k = static_cast<uint8_t>(c);
            if (c >= 'a' && c <= 'z')
                k = c - 'a' + 'A';
            Key(k, 0, static_cast<uint8_t>(c));
        }
    }
    void Input(const InputEvent& e)
    {
        screen.PostEvent(e);
        app.ProcessPending();
    }
    uint32_t Pixel(int32_t x, int32_t y) { return app.ScreenColor(x, y); }

    HeadlessDisplay screen;
    VirtualClock clock;
    BlockGlyphs glyphs;
    Application app;
};

} // namespace tamber::ui::test
