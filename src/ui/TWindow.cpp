#include "ui/TWindow.h"

#include <algorithm>
#include <cstring>

#include "ui/Application.h"
#include "ui/Menu.h"

namespace tamber::ui {

TWindow::TWindow() = default;

TWindow::~TWindow()
{
    Destroy();
}

Application* TWindow::App() const
{
    return m_app ? m_app : Application::Current();
}

int TWindow::Create(TWindow* parent, Visibility visibility)
{
    return Create(parent, m_caption, m_rect, visibility);
}

int TWindow::Create(TWindow* parent, std::string_view caption, const gfx::Rect& rect, Visibility visibility)
{
    Application* app = Application::Current();
    if (!app || m_handle != 0 || (parent && !parent->IsCreated()))
        return 0;
    m_app = app;
    m_parent = parent;
    m_caption = std::string(caption);
    m_rect = rect.Normalized();
    m_restoredRect = m_rect;
    m_sizeState = SizeState::Restored;
    m_shown = visibility == Visibility::Shown;
    m_destroying = false;
    m_handle = app->Register(*this);
    UpdateClientSize();
    if (parent) {
        parent->m_children.push_back(this);
    } else {
        app->AddTopLevel(*this);
    }
    if (m_modal == Modal::Yes)
        app->m_modalStack.push_back(m_handle);
    SendMessage(msg::kCreate);
    if (m_shown)
        Invalidate();
    if (parent && m_shown)
        parent->Invalidate(m_rect);
    if (!parent && m_shown && m_layer == Layer::Normal)
        app->Activate(this);
    return 1;
}

void TWindow::Destroy()
{
    if (m_handle == 0 || m_destroying)
        return;
    Application* app = App();
    m_destroying = true;
    SendMessage(msg::kDestroy);
    // Children and owned popups go with the window.
    std::vector<TWindow*> children = m_children;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        (*it)->Destroy();
    if (app) {
        std::vector<TWindow*> owned;
        for (auto& [handle, window] : app->m_windows) {
            if (window->m_owner == this)
                owned.push_back(window);
        }
        for (TWindow* w : owned)
            w->Destroy();
    }
    m_menu.reset();
    m_accelerators.clear();
    m_customAccelerators.clear();
    if (m_parent) {
        if (m_shown)
            m_parent->Invalidate(m_rect);
        auto& siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    if (app)
        app->WindowDestroyed(*this);
    m_timerRunning = false;
    m_handle = 0;
    m_dirty = {};
    m_destroying = false;
}

TWindow* TWindow::TopLevel()
{
    TWindow* w = this;
    while (w->m_parent)
        w = w->m_parent;
    return w;
}

bool TWindow::IsWithin(const TWindow* ancestor) const
{
    for (const TWindow* w = this; w; w = w->m_parent ? w->m_parent : w->m_owner) {
        if (w == ancestor)
            return true;
    }
    return false;
}

void TWindow::SetCaption(std::string_view caption)
{
    m_caption = std::string(caption);
    if (IsCreated())
        InvalidateFrame();
}

void TWindow::Show()
{
    if (!IsCreated() || m_shown)
        return;
    m_shown = true;
    SendMessage(msg::kShowWindow, 1);
    if (m_parent) {
        m_parent->Invalidate(m_rect);
    } else {
        Invalidate();
        InvalidateFrame();
        App()->SyncSurface(*this);
        if (m_layer == Layer::Normal)
            App()->Activate(this);
    }
}

void TWindow::Hide()
{
    if (!IsCreated() || !m_shown)
        return;
    m_shown = false;
    SendMessage(msg::kShowWindow, 0);
    Application* app = App();
    if (TWindow* focus = app->FocusWindow(); focus && focus->IsWithin(this) && focus != this && m_parent)
        app->SetFocusTo(m_parent);
    if (m_parent) {
        m_parent->Invalidate(m_rect);
    } else {
        app->SyncSurface(*this);
        if (app->m_active == m_handle) {
            app->m_active = 0;
            auto tops = app->TopLevels();
            for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
                if ((*it)->IsShown() && (*it)->m_layer == Layer::Normal) {
                    app->Activate(*it);
                    break;
                }
            }
        }
    }
}

bool TWindow::IsVisible() const
{
    for (const TWindow* w = this; w; w = w->m_parent) {
        if (!w->m_shown || !w->IsCreated())
            return false;
    }
    return true;
}

void TWindow::Move(int32_t x, int32_t y)
{
    SetRect(gfx::Rect::FromSize(x, y, m_rect.Width(), m_rect.Height()));
}

void TWindow::Resize(int32_t width, int32_t height)
{
    SetRect(gfx::Rect::FromSize(m_rect.left, m_rect.top, width, height));
}

void TWindow::SetRect(const gfx::Rect& rect)
{
    if (m_sizeState == SizeState::Minimized) {
        m_restoredRect = rect.Normalized();
        return;
    }
    ApplyRect(rect);
    if (m_sizeState == SizeState::Restored)
        m_restoredRect = m_rect;
}

void TWindow::ApplyRect(const gfx::Rect& requested)
{
    gfx::Rect rect = requested.Normalized();
    if (!IsCreated()) {
        m_rect = rect;
        UpdateClientSize();
        return;
    }
    gfx::Rect old = m_rect;
    if (old == rect)
        return;
    bool moved = old.left != rect.left || old.top != rect.top;
    bool sized = old.Width() != rect.Width() || old.Height() != rect.Height();
    m_rect = rect;
    if (m_parent) {
        if (m_shown) {
            m_parent->Invalidate(old);
            m_parent->Invalidate(m_rect);
        }
    } else {
        App()->SyncSurface(*this);
        if (sized) {
            Invalidate();
            InvalidateFrame();
        }
    }
    if (moved) {
        SendMessage(msg::kMove, 0, PackPoint(gfx::Point { m_rect.left, m_rect.top }));
    }
    if (sized) {
        UpdateClientSize();
        SendMessage(msg::kSize, static_cast<uintptr_t>(m_sizeState),
                    PackPoint(gfx::Point { m_clientWidth, m_clientHeight }));
    }
    // Parents that are child windows themselves redraw their frames.
    for (TWindow* p = m_parent; p && p->m_parent && p->m_transparency == Transparency::Opaque; p = p->m_parent)
        p->InvalidateFrame();
}

void TWindow::FrameChanged()
{
    int32_t w = m_clientWidth, h = m_clientHeight;
    UpdateClientSize();
    if (!IsCreated())
        return;
    InvalidateFrame();
    Invalidate();
    if (w != m_clientWidth || h != m_clientHeight) {
        SendMessage(msg::kSize, static_cast<uintptr_t>(m_sizeState), PackPoint(gfx::Point { m_clientWidth, m_clientHeight }));
    }
}

void TWindow::UpdateClientSize()
{
    Insets in = NonClientInsets();
    m_clientWidth = std::max(0, m_rect.Width() - in.left - in.right);
    m_clientHeight = std::max(0, m_rect.Height() - in.top - in.bottom);
}

void TWindow::BringToTop()
{
    if (!IsCreated())
        return;
    if (m_parent) {
        auto& siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        siblings.push_back(this);
        if (m_shown)
            m_parent->Invalidate(m_rect);
    } else {
        App()->RaiseTopLevel(*this);
    }
}

void TWindow::Enable()
{
    if (m_enabled)
        return;
    m_enabled = true;
    SendMessage(msg::kEnable, 1);
    Invalidate();
}

void TWindow::Disable()
{
    if (!m_enabled)
        return;
    m_enabled = false;
    if (IsCreated() && HasFocus() && m_parent)
        m_parent->SetFocus();
    SendMessage(msg::kEnable, 0);
    Invalidate();
}

void TWindow::Minimize()
{
    if (!IsCreated() || m_parent || m_sizeState == SizeState::Minimized)
        return;
    m_restoredRect = m_rect;
    m_sizeState = SizeState::Minimized;
    Insets in = NonClientInsets();
    int32_t width = 160, height = in.top + in.bottom;
    ApplyRect(gfx::Rect::FromSize(0, App()->Screen().Height() - height, width, height));
}

void TWindow::Restore()
{
    if (!IsCreated() || m_sizeState == SizeState::Restored)
        return;
    m_sizeState = SizeState::Restored;
    gfx::Rect restored = m_restoredRect;
    m_rect = gfx::Rect {};
    ApplyRect(restored);
}

void TWindow::CenterOnScreen()
{
    Application* app = App();
    if (!app)
        return;
    int32_t w = m_rect.Width(), h = m_rect.Height();
    Move((app->Screen().Width() - w) / 2, (app->Screen().Height() - h) / 2);
}

gfx::Rect TWindow::WindowRect() const
{
    gfx::Rect r = m_rect;
    if (m_parent) {
        gfx::Point origin = m_parent->ClientToScreen(gfx::Point { 0, 0 });
        r = r.Offset(origin.x, origin.y);
    }
    return r;
}

gfx::Point TWindow::ClientToScreen(gfx::Point p) const
{
    gfx::Rect w = WindowRect();
    Insets in = NonClientInsets();
    return gfx::Point { p.x + w.left + in.left, p.y + w.top + in.top };
}

gfx::Point TWindow::ScreenToClient(gfx::Point p) const
{
    gfx::Point origin = ClientToScreen(gfx::Point { 0, 0 });
    return gfx::Point { p.x - origin.x, p.y - origin.y };
}

gfx::Rect TWindow::ClientToScreen(const gfx::Rect& r) const
{
    gfx::Point origin = ClientToScreen(gfx::Point { 0, 0 });
    return r.Offset(origin.x, origin.y);
}

gfx::Point TWindow::ClientOriginInTopLevel() const
{
    Insets in = NonClientInsets();
    gfx::Point p { in.left, in.top };
    for (const TWindow* w = this; w->m_parent; w = w->m_parent) {
        Insets pin = w->m_parent->NonClientInsets();
        p.x += w->m_rect.left + pin.left;
        p.y += w->m_rect.top + pin.top;
    }
    return p;
}

gfx::Rect TWindow::VisibleClientInTopLevel() const
{
    gfx::Point origin = ClientOriginInTopLevel();
    gfx::Rect visible = gfx::Rect::FromSize(origin.x, origin.y, m_clientWidth, m_clientHeight);
    for (const TWindow* w = m_parent; w; w = w->m_parent) {
        gfx::Point o = w->ClientOriginInTopLevel();
        visible = visible.Intersect(gfx::Rect::FromSize(o.x, o.y, w->m_clientWidth, w->m_clientHeight));
    }
    return visible;
}

void TWindow::AddDirty(const gfx::Rect& inTopLevel)
{
    if (inTopLevel.IsEmpty())
        return;
    TWindow* top = TopLevel();
    top->m_dirty = top->m_dirty.Union(inTopLevel.Intersect(gfx::Rect { 0, 0, top->m_rect.Width(), top->m_rect.Height() }));
    if (Application* app = App())
        app->m_needPaint = true;
}

void TWindow::Invalidate()
{
    Invalidate(ClientRect());
}

void TWindow::Invalidate(const gfx::Rect& clientRect)
{
    if (!IsCreated())
        return;
    gfx::Point origin = ClientOriginInTopLevel();
    AddDirty(clientRect.Offset(origin.x, origin.y).Intersect(VisibleClientInTopLevel()));
}

void TWindow::InvalidateFrame()
{
    if (!IsCreated())
        return;
    gfx::Point origin = ClientOriginInTopLevel();
    Insets in = NonClientInsets();
    gfx::Rect whole = gfx::Rect::FromSize(origin.x - in.left, origin.y - in.top, m_rect.Width(), m_rect.Height());
    if (m_parent) {
        gfx::Point po = m_parent->ClientOriginInTopLevel();
        whole = whole.Intersect(m_parent->VisibleClientInTopLevel());
        (void)po;
    }
    AddDirty(whole);
}

void TWindow::Validate()
{
    if (!IsCreated())
        return;
    TWindow* top = TopLevel();
    if (top == this)
        m_dirty = {};
    else
        Validate(ClientRect());
}

void TWindow::Validate(const gfx::Rect& clientRect)
{
    if (!IsCreated())
        return;
    gfx::Point origin = ClientOriginInTopLevel();
    TWindow* top = TopLevel();
    if (clientRect.Offset(origin.x, origin.y).Contains(top->m_dirty))
        top->m_dirty = {};
}

void TWindow::Update()
{
    if (!IsCreated())
        return;
    Application* app = App();
    TWindow* top = TopLevel();
    if (!top->m_dirty.IsEmpty() || top->m_surfaceId == 0) {
        app->PaintTopLevel(*top);
        app->Present();
    }
}

void TWindow::Scroll(int32_t dx, int32_t dy)
{
    if (!IsCreated() || (dx == 0 && dy == 0))
        return;
    for (TWindow* child : m_children)
        child->m_rect = child->m_rect.Offset(dx, dy);
    TWindow* top = TopLevel();
    gfx::Rect visible = VisibleClientInTopLevel();
    gfx::Surface s = App()->Screen().SurfaceView(top->m_surfaceId);
    if (!s.IsValid() || s.width != top->m_rect.Width() || s.height != top->m_rect.Height() || visible.IsEmpty()) {
        Invalidate();
        return;
    }
    // Move the pixels that stay visible, then repaint the strips that were uncovered.
    gfx::Rect moved = visible.Offset(dx, dy).Intersect(visible);
    int bpp = gfx::BytesPerPixel(s.format);
    int32_t rows = moved.Height();
    for (int32_t i = 0; i < rows; ++i) {
        int32_t y = dy > 0 ? moved.bottom - 1 - i : moved.top + i;
        uint8_t* dst = s.Row(y) + static_cast<ptrdiff_t>(moved.left) * bpp;
        const uint8_t* src = s.Row(y - dy) + static_cast<ptrdiff_t>(moved.left - dx) * bpp;
        std::memmove(dst, src, static_cast<size_t>(moved.Width()) * bpp);
    }
    gfx::Point origin = ClientOriginInTopLevel();
    gfx::Rect client = ClientRect();
    if (dx > 0)
        Invalidate(gfx::Rect { 0, 0, dx, client.bottom });
    else if (dx < 0)
        Invalidate(gfx::Rect { client.right + dx, 0, client.right, client.bottom });
    if (dy > 0)
        Invalidate(gfx::Rect { 0, 0, client.right, dy });
    else if (dy < 0)
        Invalidate(gfx::Rect { 0, client.bottom + dy, client.right, client.bottom });
    for (TWindow* child : m_children)
        if (child->m_shown)
            Invalidate(child->m_rect);
    App()->SurfaceDirty(*top, moved);
    (void)origin;
}

void TWindow::SetCapture()
{
    if (IsCreated())
        App()->m_capture = m_handle;
}

void TWindow::ReleaseCapture()
{
    if (Application* app = Application::Current())
        app->m_capture = 0;
}

bool TWindow::HasCapture() const
{
    return IsCreated() && App()->m_capture == m_handle;
}

void TWindow::SetCursor(CursorShape shape)
{
    m_cursor = shape;
    if (Application* app = App())
        app->Screen().SetCursor(shape);
}

gfx::Point TWindow::CursorPosition()
{
    Application* app = Application::Current();
    return app ? app->CursorPosition() : gfx::Point {};
}

bool TWindow::IsKeyDown(uint32_t key)
{
    Application* app = Application::Current();
    return app && app->IsKeyDown(key);
}

void TWindow::StartTimer(uint32_t intervalMs)
{
    if (!IsCreated() || m_timerRunning)
        return;
    static uint32_t nextId = 1000;
    if (m_timerId == 0)
        m_timerId = nextId++;
    m_timerInterval = intervalMs;
    m_timerRunning = true;
    App()->SetTimer(m_handle, m_timerId, intervalMs);
}

void TWindow::StopTimer()
{
    if (!m_timerRunning)
        return;
    m_timerRunning = false;
    if (IsCreated())
        App()->KillTimer(m_handle, m_timerId);
}

void TWindow::SetTimer(uint32_t id, uint32_t intervalMs)
{
    if (IsCreated())
        App()->SetTimer(m_handle, id, intervalMs);
}

void TWindow::KillTimer(uint32_t id)
{
    if (IsCreated())
        App()->KillTimer(m_handle, id);
}

void TWindow::SetFocus()
{
    if (IsCreated() && m_enabled)
        App()->SetFocusTo(this);
}

TWindow* TWindow::Focus()
{
    Application* app = Application::Current();
    return app ? app->FocusWindow() : nullptr;
}

TWindow* TWindow::FocusChild() const
{
    Application* app = App();
    return app ? app->FromHandle(m_focusChild) : nullptr;
}

void TWindow::SetScrollRange(ScrollBarKind bar, int32_t min, int32_t max)
{
    ScrollSettings& s = m_scroll[static_cast<int>(bar)];
    s.min = min;
    s.max = max;
    s.pos = std::clamp(s.pos, std::min(min, max), std::max(min, max));
}

void TWindow::SetScrollPos(ScrollBarKind bar, int32_t pos)
{
    ScrollSettings& s = m_scroll[static_cast<int>(bar)];
    s.pos = std::clamp(pos, std::min(s.min, s.max), std::max(s.min, s.max));
}

intptr_t TWindow::SendMessage(uint32_t code, uintptr_t wParam, intptr_t lParam)
{
    if (m_handle == 0 && code != msg::kDestroy)
        return 0;
    std::vector<MessageHook*> hooks = m_hooks;
    for (MessageHook* hook : hooks) {
        intptr_t result = 0;
        if (hook->Filter(*this, code, wParam, lParam, result))
            return result;
    }
    return WindowProc(code, wParam, lParam);
}

void TWindow::PostMessage(uint32_t code, uintptr_t wParam, intptr_t lParam)
{
    if (IsCreated())
        App()->PostMessage(m_handle, code, wParam, lParam);
}

void TWindow::SetMenu(std::unique_ptr<Menu> menu)
{
    m_menu = std::move(menu);
}

void TWindow::SetBackground(gfx::ColorRef color)
{
    m_background = color;
    m_eraseBackground = true;
    Invalidate();
}

void TWindow::AddHook(MessageHook* hook)
{
    if (hook && std::find(m_hooks.begin(), m_hooks.end(), hook) == m_hooks.end())
        m_hooks.push_back(hook);
}

void TWindow::RemoveHook(MessageHook* hook)
{
    m_hooks.erase(std::remove(m_hooks.begin(), m_hooks.end(), hook), m_hooks.end());
}

DrawTarget TWindow::ClientDrawTarget()
{
    DrawTarget target;
    if (!IsCreated())
        return target;
    TWindow* top = TopLevel();
    Application* app = App();
    app->SyncSurface(*top);
    target.surface = app->Screen().SurfaceView(top->m_surfaceId);
    target.origin = ClientOriginInTopLevel();
    target.clip = IsVisible() ? VisibleClientInTopLevel() : gfx::Rect {};
    target.colors = &app->Colors();
    if (!target.clip.IsEmpty())
        app->SurfaceDirty(*top, target.clip);
    return target;
}

void TWindow::SetFont(const gfx::FontRequest& request)
{
    m_fontRequest = request;
    m_hasFont = true;
    m_font.reset();
    Invalidate();
}

std::shared_ptr<gfx::GlyphFace> TWindow::Font() const
{
    if (m_font)
        return m_font;
    Application* app = App();
    if (!app)
        return nullptr;
    m_font = m_hasFont ? app->OpenFont(m_fontRequest) : app->DefaultFont();
    return m_font;
}

void TWindow::EraseBackground(Painter& painter)
{
    if (m_eraseBackground)
        painter.FillRect(ClientRect(), m_background);
}

void TWindow::HandlePaint(const DrawTarget& target, uint32_t code)
{
    Painter painter(target);
    painter.SetFont(Font());
    if (code == msg::kNcPaint) {
        PaintNonClient(painter);
        return;
    }
    if (code == msg::kEraseBackground) {
        EraseBackground(painter);
        return;
    }
    ++m_paintNesting;
    Painter* outer = m_paintDc;
    m_paintDc = &painter;
    Paint(painter);
    m_paintDc = outer;
    if (--m_paintNesting == 0)
        m_paintDc = nullptr;
}

void TWindow::SysCommand(uint32_t command)
{
    switch (command & 0xFFF0) {
    case syscmd::kClose:
        SendMessage(msg::kClose);
        break;
    case syscmd::kMinimize:
        Minimize();
        break;
    case syscmd::kRestore:
        Restore();
        break;
    default:
        break;
    }
}

void TWindow::PaletteMessage(uint32_t code)
{
    Application* app = App();
    if (app && app->GetPaletteHook())
        app->GetPaletteHook()->RealizeFor(*this);
}

intptr_t TWindow::WindowProc(uint32_t code, uintptr_t wParam, intptr_t lParam)
{
    Application* app = App();
    auto from = [app](intptr_t l) { return app ? app->FromHandle(static_cast<uint32_t>(l)) : nullptr; };
    gfx::Point p = UnpackPoint(lParam);
    uint32_t flags = static_cast<uint32_t>(wParam);
    switch (code) {
    case msg::kCreate:
        Created();
        return 0;
    case msg::kPaint:
    case msg::kNcPaint:
    case msg::kEraseBackground:
        if (lParam)
            HandlePaint(*reinterpret_cast<const DrawTarget*>(lParam), code);
        return 1;
    case msg::kMove:
        Moved(p);
        return 0;
    case msg::kSize:
        if (wParam == static_cast<uintptr_t>(SizeState::Minimized))
            SizeMinimized();
        else if (wParam == static_cast<uintptr_t>(SizeState::Maximized))
            SizeMaximized(p.x, p.y);
        else
            SizeRestored(p.x, p.y);
        SizeFinished();
        return 0;
    case msg::kDestroy:
        Destroyed();
        return 0;
    case msg::kActivate:
        if (wParam)
            Activated();
        else
            Deactivated();
        InvalidateFrame();
        return 0;
    case msg::kMouseMove:
        MouseMove(p, flags);
        return 0;
    case msg::kButtonDown:
        ButtonDown(p, flags);
        return 0;
    case msg::kButtonUp:
        ButtonUp(p, flags);
        return 0;
    case msg::kDoubleClick:
        DoubleClick(p, flags);
        return 0;
    case msg::kRightButtonDown:
        RightButtonDown(p, flags);
        return 0;
    case msg::kRightButtonUp:
        RightButtonUp(p, flags);
        return 0;
    case msg::kNcButtonDown:
        NonClientButtonDown(static_cast<HitArea>(wParam), p);
        return 0;
    case msg::kNcDoubleClick:
        NonClientDoubleClick(static_cast<HitArea>(wParam), p);
        return 0;
    case msg::kMouseLeave:
        MouseLeave();
        return 0;
    case msg::kFrameworkMouseMove:
    case msg::kFrameworkButtonDown:
    case msg::kFrameworkButtonUp:
    case msg::kFrameworkDoubleClick:
        FrameworkMouse(code, p, flags);
        return 0;
    case msg::kKeyDown:
        return KeyDown(static_cast<uint32_t>(wParam)) ? 1 : 0;
    case msg::kKeyUp:
        return KeyUp(static_cast<uint32_t>(wParam)) ? 1 : 0;
    case msg::kChar:
        Char(static_cast<uint8_t>(wParam));
        return 0;
    case msg::kCommand:
        Command(CommandId(wParam), CommandCode(wParam), from(lParam));
        return 0;
    case msg::kSysCommand:
        // The keyboard's window-menu request from a child belongs to its top-level window.
        if ((wParam & 0xFFF0) == syscmd::kKeyMenu && m_parent)
            return TopLevel()->SendMessage(code, wParam, lParam);
        SysCommand(static_cast<uint32_t>(wParam));
        return 0;
    case msg::kTimer:
        Timer(static_cast<uint32_t>(wParam));
        return 0;
    case msg::kHScroll:
    case msg::kVScroll:
        Scrolled(code == msg::kHScroll ? ScrollBarKind::Horizontal : ScrollBarKind::Vertical,
                 static_cast<int16_t>(wParam & 0xFFFF), static_cast<int16_t>((wParam >> 16) & 0xFFFF), from(lParam));
        return 0;
    case msg::kSetFocus:
        FocusGained();
        return 0;
    case msg::kKillFocus:
        FocusLost();
        return 0;
    case msg::kClose:
        Close();
        return 0;
    case msg::kHitTest:
        return static_cast<intptr_t>(HitTest(p));
    case msg::kQueryNewPalette:
    case msg::kPaletteChanged:
        PaletteMessage(code);
        return 1;
    default:
        break;
    }
    if (code >= msg::kGuideLineFirst && code <= msg::kGuideLineLast)
        return GuideLine(code, wParam, lParam);
    return 0;
}

} // namespace tamber::ui
