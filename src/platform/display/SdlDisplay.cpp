#include "platform/display/SdlDisplay.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace tamber {

namespace {

// SDL keys without a letter or digit, and the virtual-key codes they stand for.
struct KeyMapping {
    SDL_Keycode sdl;
    int32_t key;
};

constexpr KeyMapping kKeys[] = {
    {SDLK_BACKSPACE, key::kBackspace}, {SDLK_TAB, key::kTab},          {SDLK_RETURN, key::kEnter},
    {SDLK_KP_ENTER, key::kEnter},      {SDLK_ESCAPE, key::kEscape},    {SDLK_SPACE, key::kSpace},
    {SDLK_PAGEUP, key::kPageUp},       {SDLK_PAGEDOWN, key::kPageDown}, {SDLK_END, key::kEnd},
    {SDLK_HOME, key::kHome},           {SDLK_LEFT, key::kLeft},        {SDLK_UP, key::kUp},
    {SDLK_RIGHT, key::kRight},         {SDLK_DOWN, key::kDown},        {SDLK_INSERT, key::kInsert},
    {SDLK_DELETE, key::kDelete},       {SDLK_LSHIFT, key::kShift},     {SDLK_RSHIFT, key::kShift},
    {SDLK_LCTRL, key::kControl},       {SDLK_RCTRL, key::kControl},    {SDLK_LALT, key::kAlt},
    {SDLK_RALT, key::kAlt},            {SDLK_PAUSE, key::kPause},      {SDLK_CAPSLOCK, key::kCapsLock},
    {SDLK_NUMLOCKCLEAR, key::kNumLock}, {SDLK_SCROLLLOCK, key::kScrollLock}, {SDLK_CANCEL, key::kCancel},
    {SDLK_KP_MULTIPLY, key::kMultiply}, {SDLK_KP_PLUS, key::kAdd},     {SDLK_KP_MINUS, key::kSubtract},
    {SDLK_KP_PERIOD, key::kDecimal},   {SDLK_KP_DIVIDE, key::kDivide}, {SDLK_SEMICOLON, key::kSemicolon},
    {SDLK_EQUALS, key::kEquals},       {SDLK_COMMA, key::kComma},      {SDLK_MINUS, key::kMinus},
    {SDLK_PERIOD, key::kPeriod},       {SDLK_SLASH, key::kSlash},      {SDLK_BACKQUOTE, key::kBackquote},
    {SDLK_LEFTBRACKET, key::kLeftBracket}, {SDLK_BACKSLASH, key::kBackslash},
    {SDLK_RIGHTBRACKET, key::kRightBracket}, {SDLK_QUOTE, key::kQuote},
};

constexpr SDL_SystemCursor kCursors[] = {
    SDL_SYSTEM_CURSOR_ARROW,     // Arrow
    SDL_SYSTEM_CURSOR_WAIT,      // Wait
    SDL_SYSTEM_CURSOR_IBEAM,     // IBeam
    SDL_SYSTEM_CURSOR_CROSSHAIR, // Cross
    SDL_SYSTEM_CURSOR_HAND,      // Hand
    SDL_SYSTEM_CURSOR_SIZEALL,   // SizeAll
    SDL_SYSTEM_CURSOR_SIZENS,    // SizeNS
    SDL_SYSTEM_CURSOR_SIZEWE,    // SizeWE
    SDL_SYSTEM_CURSOR_NO,        // No
};

// Windows-1252 codes of the Unicode characters 0x80..0x9F stand for there.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

int32_t KeyFromSdl(SDL_Keycode code) {
    if (code >= SDLK_a && code <= SDLK_z) {
        return 'A' + (code - SDLK_a);
    }
    if (code >= SDLK_0 && code <= SDLK_9) {
        return code;
    }
    if (code >= SDLK_F1 && code <= SDLK_F12) {
        return key::kF1 + (code - SDLK_F1);
    }
    if (code >= SDLK_KP_1 && code <= SDLK_KP_9) {
        return key::kNumpad0 + 1 + (code - SDLK_KP_1);
    }
    if (code == SDLK_KP_0) {
        return key::kNumpad0;
    }
    for (const KeyMapping& mapping : kKeys) {
        if (mapping.sdl == code) {
            return mapping.key;
        }
    }
    return 0;
}

uint8_t ModifiersFromSdl(uint16_t mod) {
    return static_cast<uint8_t>(((mod & KMOD_SHIFT) != 0 ? kModShift : 0) | ((mod & KMOD_CTRL) != 0 ? kModControl : 0) |
                                ((mod & KMOD_ALT) != 0 ? kModAlt : 0));
}

MouseButton ButtonFromSdl(uint8_t button) {
    switch (button) {
    case SDL_BUTTON_LEFT: return MouseButton::Left;
    case SDL_BUTTON_RIGHT: return MouseButton::Right;
    case SDL_BUTTON_MIDDLE: return MouseButton::Middle;
    default: return MouseButton::None;
    }
}

// Decodes UTF-8 text into Windows-1252 characters; others are dropped.
std::vector<uint8_t> Cp1252FromUtf8(const char* text) {
    std::vector<uint8_t> result;
    const auto* p = reinterpret_cast<const uint8_t*>(text);
    while (*p != 0) {
        uint32_t code = 0;
        int extra = 0;
        if (*p < 0x80) {
            code = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            code = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            code = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            code = *p & 0x07;
            extra = 3;
        } else {
            ++p;
            continue;
        }
        ++p;
        for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i, ++p) {
            code = code << 6 | (*p & 0x3F);
        }
        if (code < 0x80 || (code >= 0xA0 && code < 0x100)) {
            result.push_back(static_cast<uint8_t>(code));
            continue;
        }
        for (int i = 0; i < 32; ++i) {
            if (kCp1252High[i] != 0 && kCp1252High[i] == code) {
                result.push_back(static_cast<uint8_t>(0x80 + i));
            }
        }
    }
    return result;
}

}  // namespace

struct SdlDisplay::State {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    SDL_Cursor* cursor = nullptr;
    std::vector<uint32_t> frame;  // the screen in ARGB8888
    bool videoStarted = false;
};

SdlDisplay::SdlDisplay(int32_t width, int32_t height, ScreenDepth depth)
    : Display(width, height, depth), m_state(std::make_unique<State>()) {}

std::unique_ptr<SdlDisplay> SdlDisplay::Create(int32_t width, int32_t height, ScreenDepth depth,
                                               const SdlDisplayOptions& options, std::string* error) {
    std::unique_ptr<SdlDisplay> display(new SdlDisplay(width, height, depth));
    if (!display->Open(options, error)) {
        return nullptr;
    }
    return display;
}

int SdlDisplay::DesktopSize(int32_t& width, int32_t& height) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return 0;
    }
    SDL_DisplayMode mode{};
    int ok = SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0;
    if (ok) {
        width = mode.w;
        height = mode.h;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return ok;
}

bool SdlDisplay::Open(const SdlDisplayOptions& options, std::string* error) {
    auto fail = [&](const char* what) {
        if (error != nullptr) {
            *error = std::string(what) + ": " + SDL_GetError();
        }
        return false;
    };
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return fail("cannot start SDL video");
    }
    m_state->videoStarted = true;

    // The largest whole scale that fits the desktop's usable area, at least 1.
    int scale = 1;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        while (Width() * (scale + 1) <= usable.w && Height() * (scale + 1) <= usable.h) {
            ++scale;
        }
    }
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (options.fullScreen == FullScreen::Yes) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    m_state->window = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                       Width() * scale, Height() * scale, flags);
    if (m_state->window == nullptr) {
        return fail("cannot open a window");
    }
    Uint32 rendererFlags = options.vsync == VSync::On ? SDL_RENDERER_PRESENTVSYNC : 0;
    m_state->renderer = SDL_CreateRenderer(m_state->window, -1, rendererFlags);
    if (m_state->renderer == nullptr) {
        m_state->renderer = SDL_CreateRenderer(m_state->window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (m_state->renderer == nullptr) {
        return fail("cannot create a renderer");
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    m_state->texture = SDL_CreateTexture(m_state->renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                         Width(), Height());
    if (m_state->texture == nullptr) {
        return fail("cannot create the screen texture");
    }
    SDL_SetTextureBlendMode(m_state->texture, SDL_BLENDMODE_NONE);
    m_state->frame.assign(static_cast<size_t>(Width()) * Height(), 0xFF000000u);
    SDL_StartTextInput();
    InvalidateScreen();
    Present();
    return true;
}

SdlDisplay::~SdlDisplay() {
    if (m_state->cursor != nullptr) {
        SDL_FreeCursor(m_state->cursor);
    }
    if (m_state->texture != nullptr) {
        SDL_DestroyTexture(m_state->texture);
    }
    if (m_state->renderer != nullptr) {
        SDL_DestroyRenderer(m_state->renderer);
    }
    if (m_state->window != nullptr) {
        SDL_DestroyWindow(m_state->window);
    }
    if (m_state->videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

gfx::Rect SdlDisplay::Viewport() const {
    int outW = 0;
    int outH = 0;
    SDL_GetRendererOutputSize(m_state->renderer, &outW, &outH);
    if (outW <= 0 || outH <= 0) {
        return gfx::Rect::FromSize(0, 0, Width(), Height());
    }
    int32_t w = 0;
    int32_t h = 0;
    const int wholeScale = std::min(outW / Width(), outH / Height());
    if (wholeScale >= 1) {
        w = Width() * wholeScale;
        h = Height() * wholeScale;
    } else {
        // Smaller than the screen: shrink by the exact ratio that keeps the aspect.
        const double scale = std::min(static_cast<double>(outW) / Width(), static_cast<double>(outH) / Height());
        w = std::max(1, static_cast<int32_t>(std::lround(Width() * scale)));
        h = std::max(1, static_cast<int32_t>(std::lround(Height() * scale)));
    }
    return gfx::Rect::FromSize((outW - w) / 2, (outH - h) / 2, w, h);
}

gfx::Point SdlDisplay::WindowPosition() const {
    gfx::Point point;
    SDL_GetWindowPosition(m_state->window, &point.x, &point.y);
    return point;
}

gfx::Point SdlDisplay::ToScreen(int32_t windowX, int32_t windowY) const {
    // Mouse positions come in window coordinates, which differ from drawable pixels on
    // high-density screens.
    int winW = 0;
    int winH = 0;
    int outW = 0;
    int outH = 0;
    SDL_GetWindowSize(m_state->window, &winW, &winH);
    SDL_GetRendererOutputSize(m_state->renderer, &outW, &outH);
    const double px = winW > 0 ? static_cast<double>(windowX) * outW / winW : windowX;
    const double py = winH > 0 ? static_cast<double>(windowY) * outH / winH : windowY;
    const gfx::Rect view = Viewport();
    const auto x = static_cast<int32_t>(std::floor((px - view.left) * Width() / std::max(1, view.Width())));
    const auto y = static_cast<int32_t>(std::floor((py - view.top) * Height() / std::max(1, view.Height())));
    return {std::clamp(x, 0, Width() - 1), std::clamp(y, 0, Height() - 1)};
}

void SdlDisplay::Output(const std::vector<gfx::Rect>& rects, bool paletteChanged) {
    for (const gfx::Rect& rect : rects) {
        ConvertScreen(rect, m_state->frame.data() + static_cast<size_t>(rect.top) * Width() + rect.left, Width());
        const SDL_Rect area{rect.left, rect.top, rect.Width(), rect.Height()};
        SDL_UpdateTexture(m_state->texture, &area, m_state->frame.data() + static_cast<size_t>(rect.top) * Width() + rect.left,
                          Width() * 4);
    }
    Redraw();
}

void SdlDisplay::Redraw() {
    const gfx::Rect view = Viewport();
    const SDL_Rect target{view.left, view.top, view.Width(), view.Height()};
    SDL_SetRenderDrawColor(m_state->renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_state->renderer);
    SDL_RenderCopy(m_state->renderer, m_state->texture, nullptr, &target);
    SDL_RenderPresent(m_state->renderer);
}

void SdlDisplay::ToggleFullScreen() {
    SDL_SetWindowFullscreen(m_state->window, IsFullScreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    Redraw();
}

bool SdlDisplay::IsFullScreen() const {
    return (SDL_GetWindowFlags(m_state->window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void SdlDisplay::Pump(uint32_t timeoutMs) {
    SDL_Event event;
    const int got = timeoutMs == 0 ? SDL_PollEvent(&event)
                                   : SDL_WaitEventTimeout(&event, static_cast<int>(std::min<uint32_t>(timeoutMs, INT32_MAX)));
    if (got == 0) {
        return;
    }
    Translate(&event);
    while (SDL_PollEvent(&event) != 0) {
        Translate(&event);
    }
}

void SdlDisplay::Translate(const void* sdlEvent) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(sdlEvent);
    InputEvent event;
    switch (e.type) {
    case SDL_QUIT:
        event.type = EventType::Quit;
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            Redraw();
        }
        return;
    case SDL_MOUSEMOTION: {
        const gfx::Point p = ToScreen(e.motion.x, e.motion.y);
        event.type = EventType::MouseMove;
        event.x = p.x;
        event.y = p.y;
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const gfx::Point p = ToScreen(e.button.x, e.button.y);
        event.type = e.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
        event.x = p.x;
        event.y = p.y;
        event.button = ButtonFromSdl(e.button.button);
        event.clicks = std::max<int32_t>(1, e.button.clicks);
        if (event.button == MouseButton::None) {
            return;
        }
        break;
    }
    case SDL_MOUSEWHEEL:
        event.type = EventType::MouseWheel;
        event.x = PointerPosition().x;
        event.y = PointerPosition().y;
        event.wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const SDL_Keycode code = e.key.keysym.sym;
        const uint16_t mod = e.key.keysym.mod;
        if (e.type == SDL_KEYDOWN && (code == SDLK_F11 || (code == SDLK_RETURN && (mod & KMOD_ALT) != 0))) {
            if (e.key.repeat == 0) {
                ToggleFullScreen();
            }
            return;
        }
        event.type = e.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
        event.key = KeyFromSdl(code);
        event.modifiers = ModifiersFromSdl(mod);
        event.repeat = e.key.repeat != 0;
        if (event.key == 0) {
            return;
        }
        // Ctrl+Break arrives as Ctrl with Pause.
        if (event.key == key::kPause && (mod & KMOD_CTRL) != 0) {
            event.key = key::kCancel;
        }
        break;
    }
    case SDL_TEXTINPUT:
        for (uint8_t ch : Cp1252FromUtf8(e.text.text)) {
            InputEvent typed;
            typed.type = EventType::Char;
            typed.ch = ch;
            typed.modifiers = Modifiers();
            PostEvent(typed);
        }
        return;
    default:
        return;
    }
    if (event.type != EventType::KeyDown && event.type != EventType::KeyUp) {
        event.modifiers = ModifiersFromSdl(static_cast<uint16_t>(SDL_GetModState()));
    }
    PostEvent(event);
}

void SdlDisplay::ApplyCursor() {
    SDL_Cursor* next = nullptr;
    const CursorShape shape = Cursor();
    if (shape == CursorShape::Hidden) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    if (shape == CursorShape::Custom) {
        const CursorImage& image = CustomCursor();
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint32_t*>(image.pixels.data()), image.width, image.height, 32, image.width * 4,
            SDL_PIXELFORMAT_ARGB8888);
        if (surface != nullptr) {
            next = SDL_CreateColorCursor(surface, image.hotX, image.hotY);
            SDL_FreeSurface(surface);
        }
    } else {
        next = SDL_CreateSystemCursor(kCursors[static_cast<size_t>(shape)]);
    }
    SDL_ShowCursor(SDL_ENABLE);
    if (next != nullptr) {
        SDL_SetCursor(next);
        if (m_state->cursor != nullptr) {
            SDL_FreeCursor(m_state->cursor);
        }
        m_state->cursor = next;
    }
}

}  // namespace tamber
