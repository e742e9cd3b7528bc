#include "platform/display/Display.h"

#include <algorithm>
#include <cstring>

namespace tamber {

namespace {

// Beyond this many dirty rectangles they are merged into one.
constexpr size_t kMaxDirtyRects = 32;

int32_t ButtonKey(MouseButton button) {
    switch (button) {
    case MouseButton::Left: return key::kLeftButton;
    case MouseButton::Right: return key::kRightButton;
    case MouseButton::Middle: return key::kMiddleButton;
    case MouseButton::None: break;
    }
    return 0;
}

}  // namespace

Display::Display(int32_t width, int32_t height, ScreenDepth depth)
    : m_width(std::clamp(width, 1, kMaxSide)), m_height(std::clamp(height, 1, kMaxSide)), m_depth(depth) {
    m_screen.Create(m_width, m_height, Format());
    m_presentedGeneration = m_palette.Generation();
}

Display::~Display() = default;

gfx::PixelFormat Display::Format() const {
    return m_depth == ScreenDepth::Palette8 ? gfx::PixelFormat::Indexed8 : gfx::PixelFormat::Rgb32;
}

Display::TopLevel* Display::Find(SurfaceId id) {
    for (auto& surface : m_surfaces) {
        if (surface->id == id) {
            return surface.get();
        }
    }
    return nullptr;
}

const Display::TopLevel* Display::Find(SurfaceId id) const {
    return const_cast<Display*>(this)->Find(id);
}

Display::SurfaceId Display::CreateSurface(const gfx::Rect& bounds) {
    auto surface = std::make_unique<TopLevel>();
    const gfx::Rect normal = bounds.Normalized();
    if (surface->image.Create(normal.Width(), normal.Height(), Format()) == 0) {
        return 0;
    }
    surface->id = m_nextId++;
    surface->bounds = normal;
    m_surfaces.push_back(std::move(surface));
    return m_surfaces.back()->id;
}

int Display::DestroySurface(SurfaceId id) {
    auto found = std::find_if(m_surfaces.begin(), m_surfaces.end(), [id](const auto& s) { return s->id == id; });
    if (found == m_surfaces.end()) {
        return 0;
    }
    if ((*found)->visibility == Visibility::Shown) {
        AddDirty((*found)->bounds);
    }
    m_surfaces.erase(found);
    return 1;
}

gfx::Surface Display::SurfaceView(SurfaceId id) const {
    const TopLevel* surface = Find(id);
    return surface != nullptr ? surface->image.View() : gfx::Surface{};
}

gfx::Rect Display::SurfaceBounds(SurfaceId id) const {
    const TopLevel* surface = Find(id);
    return surface != nullptr ? surface->bounds : gfx::Rect{};
}

int Display::MoveSurface(SurfaceId id, const gfx::Rect& bounds) {
    TopLevel* surface = Find(id);
    const gfx::Rect normal = bounds.Normalized();
    if (surface == nullptr) {
        return 0;
    }
    if (normal.Width() != surface->bounds.Width() || normal.Height() != surface->bounds.Height()) {
        gfx::Image resized;
        if (resized.Create(normal.Width(), normal.Height(), Format()) == 0) {
            return 0;
        }
        const int32_t rows = std::min(resized.Height(), surface->image.Height());
        const int32_t bytes = std::min(resized.Width(), surface->image.Width()) * gfx::BytesPerPixel(Format());
        for (int32_t y = 0; y < rows; ++y) {
            std::memcpy(resized.View().Row(y), surface->image.View().Row(y), static_cast<size_t>(bytes));
        }
        surface->image = std::move(resized);
    }
    if (surface->visibility == Visibility::Shown) {
        AddDirty(surface->bounds);
        AddDirty(normal);
    }
    surface->bounds = normal;
    return 1;
}

int Display::ShowSurface(SurfaceId id, Visibility visibility) {
    TopLevel* surface = Find(id);
    if (surface == nullptr) {
        return 0;
    }
    if (surface->visibility != visibility) {
        surface->visibility = visibility;
        AddDirty(surface->bounds);
    }
    return 1;
}

int Display::RaiseSurface(SurfaceId id) {
    auto found = std::find_if(m_surfaces.begin(), m_surfaces.end(), [id](const auto& s) { return s->id == id; });
    if (found == m_surfaces.end()) {
        return 0;
    }
    std::unique_ptr<TopLevel> surface = std::move(*found);
    m_surfaces.erase(found);
    if (surface->visibility == Visibility::Shown) {
        AddDirty(surface->bounds);
    }
    m_surfaces.push_back(std::move(surface));
    return 1;
}

Display::SurfaceId Display::SurfaceAt(gfx::Point point) const {
    for (auto it = m_surfaces.rbegin(); it != m_surfaces.rend(); ++it) {
        if ((*it)->visibility == Visibility::Shown && (*it)->bounds.Contains(point)) {
            return (*it)->id;
        }
    }
    return 0;
}

void Display::Invalidate(SurfaceId id, const gfx::Rect& rect) {
    const TopLevel* surface = Find(id);
    if (surface == nullptr || surface->visibility != Visibility::Shown) {
        return;
    }
    const gfx::Rect inside = rect.Normalized().Intersect(surface->image.View().Bounds());
    AddDirty(inside.Offset(surface->bounds.left, surface->bounds.top));
}

void Display::InvalidateScreen() {
    m_dirty.assign(1, m_screen.View().Bounds());
}

void Display::SetBackground(uint32_t value) {
    m_background = value;
    InvalidateScreen();
}

void Display::AddDirty(const gfx::Rect& screenRect) {
    const gfx::Rect rect = screenRect.Intersect(m_screen.View().Bounds());
    if (rect.IsEmpty()) {
        return;
    }
    for (gfx::Rect& dirty : m_dirty) {
        if (dirty.Contains(rect)) {
            return;
        }
        if (rect.Contains(dirty)) {
            dirty = rect;
            return;
        }
    }
    if (m_dirty.size() >= kMaxDirtyRects) {
        gfx::Rect all = rect;
        for (const gfx::Rect& dirty : m_dirty) {
            all = all.Union(dirty);
        }
        m_dirty.assign(1, all);
        return;
    }
    m_dirty.push_back(rect);
}

void Display::Compose(const gfx::Rect& rect) {
    const gfx::Surface screen = m_screen.View();
    const int bytes = gfx::BytesPerPixel(Format());
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        for (int32_t x = rect.left; x < rect.right; ++x) {
            screen.Set(x, y, m_background);
        }
    }
    for (const auto& surface : m_surfaces) {
        if (surface->visibility != Visibility::Shown) {
            continue;
        }
        const gfx::Rect part = rect.Intersect(surface->bounds);
        if (part.IsEmpty()) {
            continue;
        }
        const gfx::Surface source = surface->image.View();
        for (int32_t y = part.top; y < part.bottom; ++y) {
            const uint8_t* from = source.Row(y - surface->bounds.top) + (part.left - surface->bounds.left) * bytes;
            std::memcpy(screen.Row(y) + part.left * bytes, from, static_cast<size_t>(part.Width()) * bytes);
        }
    }
}

void Display::Present() {
    const bool paletteChanged = m_depth == ScreenDepth::Palette8 && m_palette.Generation() != m_presentedGeneration;
    m_presentedGeneration = m_palette.Generation();
    if (m_dirty.empty() && !paletteChanged) {
        return;
    }
    std::vector<gfx::Rect> rects;
    rects.swap(m_dirty);
    for (const gfx::Rect& rect : rects) {
        Compose(rect);
    }
    if (paletteChanged) {
        rects.assign(1, m_screen.View().Bounds());
    }
    Output(rects, paletteChanged);
}

void Display::ConvertScreen(const gfx::Rect& rect, uint32_t* out, int32_t pitch) const {
    const gfx::Surface screen = m_screen.View();
    const gfx::Rect part = rect.Intersect(screen.Bounds());
    const auto& colors = m_palette.Pixels();
    for (int32_t y = part.top; y < part.bottom; ++y) {
        uint32_t* row = out + static_cast<ptrdiff_t>(y - part.top) * pitch;
        if (m_depth == ScreenDepth::Palette8) {
            const uint8_t* from = screen.Row8(y) + part.left;
            for (int32_t x = 0; x < part.Width(); ++x) {
                row[x] = 0xFF000000u | colors[from[x]];
            }
        } else {
            const uint32_t* from = screen.Row32(y) + part.left;
            for (int32_t x = 0; x < part.Width(); ++x) {
                row[x] = 0xFF000000u | from[x];
            }
        }
    }
}

void Display::Capture(PngImage& image) const {
    image.width = m_width;
    image.height = m_height;
    image.pixels.assign(static_cast<size_t>(m_width) * m_height, 0);
    ConvertScreen(m_screen.View().Bounds(), image.pixels.data(), m_width);
}

int Display::Screenshot(const std::string& path, std::string* error) const {
    PngImage image;
    Capture(image);
    return PngFile::Write(path, image, PngFile::Alpha::Ignore, error);
}

void Display::PostEvent(const InputEvent& event) {
    m_queue.push_back(event);
}

int Display::PollEvent(InputEvent& event) {
    if (m_queue.empty()) {
        Pump(0);
    }
    if (m_queue.empty()) {
        return 0;
    }
    event = m_queue.front();
    m_queue.pop_front();
    Track(event);
    return 1;
}

int Display::WaitEvent(InputEvent& event, uint32_t timeoutMs) {
    if (m_queue.empty()) {
        Pump(timeoutMs);
    }
    return PollEvent(event);
}

void Display::Track(const InputEvent& event) {
    switch (event.type) {
    case EventType::MouseMove:
    case EventType::MouseWheel:
        m_pointer = {event.x, event.y};
        break;
    case EventType::MouseDown:
    case EventType::MouseUp:
        m_pointer = {event.x, event.y};
        if (const int32_t button = ButtonKey(event.button); button != 0) {
            m_keys[button] = event.type == EventType::MouseDown;
        }
        break;
    case EventType::KeyDown:
    case EventType::KeyUp:
        if (event.key > 0 && event.key < key::kCount) {
            m_keys[event.key] = event.type == EventType::KeyDown;
        }
        break;
    default:
        break;
    }
}

bool Display::IsKeyDown(int32_t code) const {
    return code > 0 && code < key::kCount && m_keys[code];
}

uint8_t Display::Modifiers() const {
    return static_cast<uint8_t>((IsKeyDown(key::kShift) ? kModShift : 0) | (IsKeyDown(key::kControl) ? kModControl : 0) |
                                (IsKeyDown(key::kAlt) ? kModAlt : 0));
}

void Display::SetCursor(CursorShape shape) {
    m_cursor = shape;
    ApplyCursor();
}

void Display::SetCursorImage(const CursorImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        return;
    }
    m_cursorImage = image;
    m_cursor = CursorShape::Custom;
    ApplyCursor();
}

}  // namespace tamber
