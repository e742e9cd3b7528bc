#include "ui/Application.h"

#include <algorithm>

#include "platform/display/HeadlessDisplay.h"
#include "ui/Clipboard.h"
#include "ui/TWindow.h"

namespace tamber::ui {

namespace {

Application* g_current = nullptr;

// Due comparisons survive the tick counter's wrap.
bool IsDue(uint32_t due, uint32_t now)
{
    return static_cast<int32_t>(now - due) >= 0;
}

uint32_t FrameworkCode(uint32_t code)
{
    switch (code) {
    case msg::kMouseMove:
    case msg::kNcMouseMove:
        return msg::kFrameworkMouseMove;
    case msg::kButtonDown:
    case msg::kNcButtonDown:
        return msg::kFrameworkButtonDown;
    case msg::kButtonUp:
    case msg::kNcButtonUp:
        return msg::kFrameworkButtonUp;
    case msg::kDoubleClick:
    case msg::kNcDoubleClick:
        return msg::kFrameworkDoubleClick;
    default:
        return 0;
    }
}

// The client form of a non-client mouse message.
uint32_t ClientCode(uint32_t code)
{
    switch (code) {
    case msg::kNcMouseMove:
        return msg::kMouseMove;
    case msg::kNcButtonDown:
        return msg::kButtonDown;
    case msg::kNcButtonUp:
        return msg::kButtonUp;
    case msg::kNcDoubleClick:
        return msg::kDoubleClick;
    default:
        return code;
    }
}

bool IsNonClient(uint32_t code)
{
    return code >= msg::kNcMouseMove && code <= msg::kNcDoubleClick;
}

constexpr int kMaxMessagesPerPump = 100000;

} // namespace

Application::Application(Display& display, Clock& clock, gfx::GlyphSource* fonts)
    : m_display(display)
    , m_interactive(dynamic_cast<HeadlessDisplay*>(&display) == nullptr)
    , m_clock(clock)
    , m_fonts(fonts)
    , m_colors(display.Format(), &display.HardwarePalette())
{
    m_previous = g_current;
    g_current = this;
    m_display.SetBackground(m_colors.Map(look::kDesktop));
    m_display.InvalidateScreen();
}

Application::~Application()
{
    // Windows still alive lose their application: their objects may outlive it.
    std::vector<TWindow*> tops = TopLevels();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        (*it)->Destroy();
    for (auto& [handle, window] : m_windows) {
        window->m_handle = 0;
        window->m_app = nullptr;
    }
    if (g_current == this)
        g_current = m_previous;
}

Application* Application::Current()
{
    return g_current;
}

std::shared_ptr<gfx::GlyphFace> Application::OpenFont(const gfx::FontRequest& request)
{
    if (!m_fonts)
        return nullptr;
    return m_fonts->OpenFace(request);
}

std::shared_ptr<gfx::GlyphFace> Application::DefaultFont()
{
    if (!m_defaultFont && m_fonts) {
        gfx::FontRequest request;
        request.faceName = "MS Sans Serif";
        request.height = 13;
        m_defaultFont = m_fonts->OpenFace(request);
    }
    return m_defaultFont;
}

Clipboard& Application::GetClipboard()
{
    if (m_clipboardOverride)
        return *m_clipboardOverride;
    if (!m_clipboard)
        m_clipboard = std::make_unique<Clipboard>();
    return *m_clipboard;
}

TWindow* Application::FromHandle(uint32_t handle) const
{
    if (handle == 0)
        return nullptr;
    auto found = m_windows.find(handle);
    return found == m_windows.end() ? nullptr : found->second;
}

bool Application::IsFrameworkWindow(uint32_t handle) const
{
    TWindow* window = FromHandle(handle);
    return window && std::string_view(window->ClassName()) == kClassName;
}

TWindow* Application::TopModal() const
{
    return m_modalStack.empty() ? nullptr : FromHandle(m_modalStack.back());
}

uint32_t Application::Register(TWindow& window)
{
    uint32_t handle = m_nextHandle++;
    m_windows[handle] = &window;
    ++m_windowCount;
    return handle;
}

void Application::Unregister(TWindow& window)
{
    m_windows.erase(window.m_handle);
}

std::vector<TWindow*> Application::TopLevels() const
{
    std::vector<TWindow*> out;
    for (Layer layer : { Layer::Normal, Layer::Topmost }) {
        for (uint32_t h : m_topLevels) {
            TWindow* w = FromHandle(h);
            if (w && w->m_layer == layer)
                out.push_back(w);
        }
    }
    return out;
}

void Application::AddTopLevel(TWindow& window)
{
    m_topLevels.push_back(window.m_handle);
    SyncSurface(window);
    RestackTopmost();
    window.m_dirty = gfx::Rect { 0, 0, window.m_rect.Width(), window.m_rect.Height() };
    m_needPaint = true;
}

void Application::RemoveTopLevel(TWindow& window)
{
    m_topLevels.erase(std::remove(m_topLevels.begin(), m_topLevels.end(), window.m_handle), m_topLevels.end());
    if (window.m_surfaceId != 0)
        m_display.DestroySurface(window.m_surfaceId);
    window.m_surfaceId = 0;
}

void Application::SyncSurface(TWindow& top)
{
    gfx::Rect r = top.m_rect;
    if (r.IsEmpty()) {
        if (top.m_surfaceId != 0)
            m_display.ShowSurface(top.m_surfaceId, tamber::Visibility::Hidden);
        return;
    }
    if (top.m_surfaceId == 0) {
        top.m_surfaceId = m_display.CreateSurface(r);
        top.m_dirty = gfx::Rect { 0, 0, r.Width(), r.Height() };
        m_needPaint = true;
        RestackTopmost();
    } else if (m_display.SurfaceBounds(top.m_surfaceId) != r) {
        gfx::Rect old = m_display.SurfaceBounds(top.m_surfaceId);
        m_display.MoveSurface(top.m_surfaceId, r);
        if (old.Width() != r.Width() || old.Height() != r.Height()) {
            top.m_dirty = gfx::Rect { 0, 0, r.Width(), r.Height() };
            m_needPaint = true;
        }
    }
    if (top.m_surfaceId != 0)
        m_display.ShowSurface(top.m_surfaceId, top.m_shown ? tamber::Visibility::Shown : tamber::Visibility::Hidden);
}

void Application::SurfaceDirty(TWindow& top, const gfx::Rect& inWindow)
{
    if (top.m_surfaceId != 0)
        m_display.Invalidate(top.m_surfaceId, inWindow);
}

void Application::RestackTopmost()
{
    for (uint32_t h : m_topLevels) {
        TWindow* w = FromHandle(h);
        if (w && w->m_layer == Layer::Topmost && w->m_surfaceId != 0)
            m_display.RaiseSurface(w->m_surfaceId);
    }
}

void Application::RaiseTopLevel(TWindow& window)
{
    auto it = std::find(m_topLevels.begin(), m_topLevels.end(), window.m_handle);
    if (it == m_topLevels.end() || it + 1 == m_topLevels.end())
        return;
    m_topLevels.erase(it);
    m_topLevels.push_back(window.m_handle);
    if (window.m_surfaceId != 0)
        m_display.RaiseSurface(window.m_surfaceId);
    RestackTopmost();
}

void Application::Activate(TWindow* top)
{
    if (top)
        top = top->TopLevel();
    if (top && top->m_layer == Layer::Topmost)
        return;
    if (top)
        top->BringToTop();
    uint32_t handle = top ? top->m_handle : 0;
    if (handle == m_active) {
        if (top && !FocusWindow())
            SetFocusTo(top->FocusChild() ? top->FocusChild() : top);
        return;
    }
    if (TWindow* old = FromHandle(m_active))
        old->SendMessage(msg::kActivate, 0, static_cast<intptr_t>(handle));
    m_active = handle;
    if (!top)
        return;
    top->SendMessage(msg::kActivate, 1);
    TWindow* focus = top->FocusChild();
    SetFocusTo(focus && focus->IsWithin(top) ? focus : top);
}

void Application::SetFocusTo(TWindow* window)
{
    uint32_t handle = window ? window->m_handle : 0;
    if (handle == m_focus)
        return;
    TWindow* old = FromHandle(m_focus);
    m_focus = handle;
    if (old)
        old->SendMessage(msg::kKillFocus, 0, static_cast<intptr_t>(handle));
    if (!window || m_focus != handle)
        return;
    TWindow* top = window->TopLevel();
    top->m_focusChild = handle;
    window->SendMessage(msg::kSetFocus, 0, old ? static_cast<intptr_t>(old->m_handle) : 0);
    if (top->m_layer == Layer::Normal && m_active != top->m_handle)
        Activate(top);
}

void Application::WindowDestroyed(TWindow& window)
{
    uint32_t handle = window.m_handle;
    // The modal stack: later entries move down; focus goes to the window now on top.
    auto modal = std::find(m_modalStack.begin(), m_modalStack.end(), handle);
    bool wasModal = modal != m_modalStack.end();
    if (wasModal)
        m_modalStack.erase(modal);
    if (m_capture == handle)
        m_capture = 0;
    if (m_hover == handle)
        m_hover = 0;
    if (m_popup == handle) {
        m_popup = 0;
        m_dismissPopup = nullptr;
    }
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(), [&](const TimerEntry& t) { return t.window == handle; }),
                   m_timers.end());
    bool hadFocus = m_focus == handle;
    if (hadFocus)
        m_focus = 0;
    if (!window.m_parent)
        RemoveTopLevel(window);
    Unregister(window);
    --m_windowCount;
    if (m_active == handle) {
        m_active = 0;
        TWindow* next = TopModal();
        if (!next) {
            auto tops = TopLevels();
            for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
                if ((*it)->IsShown() && (*it)->m_layer == Layer::Normal) {
                    next = *it;
                    break;
                }
            }
        }
        if (next)
            Activate(next);
    } else if (wasModal) {
        if (TWindow* next = TopModal())
            Activate(next);
    } else if (hadFocus && window.m_parent && window.m_parent->IsCreated() && !window.m_parent->m_destroying) {
        SetFocusTo(window.m_parent);
    }
    if (m_windowCount == 0 && m_quitOnLast == QuitOnLast::Yes) {
        PostQuit(0);
        if (m_paletteHook)
            m_paletteHook->ReleaseShared();
    }
}

TWindow* Application::WindowAt(gfx::Point screen) const
{
    std::vector<TWindow*> tops = TopLevels();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        TWindow* w = *it;
        if (!w->m_shown || !w->m_rect.Contains(screen))
            continue;
        // Descend into the children under the point, front to back.
        for (;;) {
            gfx::Point p = w->ScreenToClient(screen);
            if (!w->ClientRect().Contains(p))
                return w;
            TWindow* hit = nullptr;
            for (auto c = w->m_children.rbegin(); c != w->m_children.rend(); ++c) {
                if ((*c)->m_shown && (*c)->m_rect.Contains(p)) {
                    hit = *c;
                    break;
                }
            }
            if (!hit)
                return w;
            w = hit;
        }
    }
    return nullptr;
}

void Application::Post(const Message& message)
{
    m_queue.push_back(message);
}

void Application::PostMessage(uint32_t window, uint32_t code, uintptr_t wParam, intptr_t lParam)
{
    Message m;
    m.window = window;
    m.code = code;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = m_clock.TickCount();
    m.screenPoint = m_pointer;
    m_queue.push_back(m);
}

void Application::PostQuit(int32_t code)
{
    m_quitPending = true;
    m_quitCode = code;
}

bool Application::TakeMessage(Message& out, uint32_t window, uint32_t code)
{
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        if ((window == 0 || it->window == window) && (code == 0 || it->code == code)) {
            out = *it;
            m_queue.erase(it);
            return true;
        }
    }
    return false;
}

void Application::SetTimer(uint32_t window, uint32_t id, uint32_t intervalMs)
{
    intervalMs = std::max<uint32_t>(intervalMs, 1);
    uint32_t due = m_clock.TickCount() + intervalMs;
    for (TimerEntry& t : m_timers) {
        if (t.window == window && t.id == id) {
            t.interval = intervalMs;
            t.due = due;
            t.order = m_timerOrder++;
            return;
        }
    }
    m_timers.push_back(TimerEntry { window, id, intervalMs, due, m_timerOrder++ });
}

void Application::KillTimer(uint32_t window, uint32_t id)
{
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [&](const TimerEntry& t) { return t.window == window && t.id == id; }),
                   m_timers.end());
    // A tick already queued for it does not arrive either.
    m_queue.erase(std::remove_if(m_queue.begin(), m_queue.end(),
                                 [&](const Message& m) { return m.code == msg::kTimer && m.window == window && m.wParam == id; }),
                  m_queue.end());
}

bool Application::NextTimerDue(uint32_t& tick) const
{
    if (m_timers.empty())
        return false;
    uint32_t now = m_clock.TickCount();
    int32_t best = INT32_MAX;
    for (const TimerEntry& t : m_timers)
        best = std::min(best, static_cast<int32_t>(t.due - now));
    tick = now + static_cast<uint32_t>(best);
    return true;
}

bool Application::DueTimer(Message& out)
{
    uint32_t now = m_clock.TickCount();
    TimerEntry* best = nullptr;
    for (TimerEntry& t : m_timers) {
        if (!IsDue(t.due, now))
            continue;
        if (!best || static_cast<int32_t>(t.due - best->due) < 0 || (t.due == best->due && t.order < best->order))
            best = &t;
    }
    if (!best)
        return false;
    out = Message {};
    out.window = best->window;
    out.code = msg::kTimer;
    out.wParam = best->id;
    out.time = now;
    out.screenPoint = m_pointer;
    best->due = now + best->interval;
    best->order = m_timerOrder++;
    return true;
}

bool Application::NeedsPaint() const
{
    if (!m_needPaint)
        return false;
    for (uint32_t h : m_topLevels) {
        TWindow* w = FromHandle(h);
        if (w && w->m_shown && !w->m_dirty.IsEmpty())
            return true;
    }
    return false;
}

Application::Got Application::GetMessage(Message& out, Wait wait)
{
    for (;;) {
        if (!m_queue.empty()) {
            out = m_queue.front();
            m_queue.pop_front();
            return Got::Message;
        }
        InputEvent event;
        if (m_display.PollEvent(event)) {
            Inject(event);
            continue;
        }
        if (m_quitPending) {
            out = Message {};
            out.code = msg::kQuit;
            out.wParam = static_cast<uintptr_t>(static_cast<int64_t>(m_quitCode));
            return Got::Quit;
        }
        if (DueTimer(out))
            return Got::Message;
        if (NeedsPaint()) {
            PaintAll();
            continue;
        }
        Present();
        if (wait == Wait::No)
            return Got::Nothing;
        if (m_idle) {
            if (m_idle() == IdleResult::Exhausted) {
                m_exhausted = true;
                return Got::Exhausted;
            }
            continue;
        }
        uint32_t due = 0;
        bool timers = NextTimerDue(due);
        if (m_interactive) {
            uint32_t now = m_clock.TickCount();
            uint32_t timeout = timers ? std::max<int32_t>(0, static_cast<int32_t>(due - now)) : 100;
            if (m_display.WaitEvent(event, std::min<uint32_t>(timeout, 100)))
                Inject(event);
            continue;
        }
        // Nobody will type: only time can bring more work.
        if (timers) {
            uint32_t now = m_clock.TickCount();
            if (static_cast<int32_t>(due - now) > 0)
                m_clock.Sleep(due - now);
            continue;
        }
        m_exhausted = true;
        return Got::Exhausted;
    }
}

int Application::Run()
{
    Message m;
    for (;;) {
        switch (GetMessage(m, Wait::Yes)) {
        case Got::Message:
            ProcessMessage(m);
            break;
        case Got::Quit:
            m_quitPending = false;
            return static_cast<int>(static_cast<int64_t>(m.wParam));
        case Got::Nothing:
        case Got::Exhausted:
            return 0;
        }
    }
}

int Application::RunModal(TWindow& window)
{
    if (!window.IsCreated())
        return 0;
    uint32_t handle = window.Handle();
    m_modalResults.erase(handle);
    window.Show();
    Activate(&window);
    Message m;
    while (FromHandle(handle) == &window && !m_modalResults.count(handle)) {
        Got got = GetMessage(m, Wait::Yes);
        if (got == Got::Message) {
            ProcessMessage(m);
            continue;
        }
        if (got == Got::Exhausted || got == Got::Nothing) {
            // Nobody is left to answer: the window is closed as a user would close it.
            window.SendMessage(msg::kClose);
            if (FromHandle(handle) == &window && !m_modalResults.count(handle))
                window.Destroy();
        }
        break; // a quit stays pending for the outer loop
    }
    int result = 0;
    if (auto found = m_modalResults.find(handle); found != m_modalResults.end()) {
        result = found->second;
        m_modalResults.erase(found);
    }
    return result;
}

void Application::EndModal(TWindow& window, int result)
{
    if (window.IsCreated())
        m_modalResults[window.Handle()] = result;
}

bool Application::ProcessPending()
{
    Message m;
    for (int i = 0; i < kMaxMessagesPerPump; ++i) {
        Got got = GetMessage(m, Wait::No);
        if (got == Got::Message) {
            ProcessMessage(m);
            continue;
        }
        return got != Got::Quit;
    }
    return !m_quitPending;
}

void Application::RunFor(uint32_t ms)
{
    uint32_t end = m_clock.TickCount() + ms;
    ProcessPending();
    for (int guard = 0; guard < kMaxMessagesPerPump; ++guard) {
        uint32_t now = m_clock.TickCount();
        uint32_t due = 0;
        if (!NextTimerDue(due) || static_cast<int32_t>(due - end) > 0)
            break;
        if (static_cast<int32_t>(due - now) > 0)
            m_clock.Sleep(due - now);
        ProcessPending();
    }
    uint32_t now = m_clock.TickCount();
    if (static_cast<int32_t>(end - now) > 0)
        m_clock.Sleep(end - now);
    ProcessPending();
}

bool Application::TranslateAccelerator(TWindow* top, const Message& message)
{
    if (!top || (message.code != msg::kKeyDown && message.code != msg::kKeyUp))
        return false;
    uint32_t key = static_cast<uint32_t>(message.wParam);
    bool shift = IsKeyDown(key::kShift), ctrl = IsKeyDown(key::kCtrl), alt = IsKeyDown(key::kAlt);
    if (!top->m_accelerators.empty()) {
        if (message.code != msg::kKeyDown)
            return false;
        for (const AcceleratorEntry& e : top->m_accelerators) {
            if (e.Matches(key, shift, ctrl, alt)) {
                top->SendMessage(msg::kCommand, PackCommand(e.command, kFromAccelerator));
                return true;
            }
        }
        return false;
    }
    for (const CustomAccelerator& e : top->m_customAccelerators) {
        if (e.Matches(key, shift, ctrl)) {
            if (message.code == msg::kKeyDown)
                top->SendMessage(msg::kCommand, PackCommand(e.command, kFromAccelerator));
            return true;
        }
    }
    return false;
}

bool Application::Route(const Message& message)
{
    if (m_routing)
        return false;
    TWindow* target = FromHandle(message.window);
    if (!target)
        return false;
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(m_routing);

    uint32_t code = message.code;
    if (TWindow* modal = TopModal()) {
        if (!target->IsWithin(modal)) {
            bool blocked = IsMouseMessage(code) || code == msg::kActivate || code == msg::kMouseActivate || code == msg::kTimer
                || code == msg::kSetCursor || code == msg::kHitTest;
            if (!blocked)
                return false;
            if (code == msg::kButtonDown || code == msg::kNcButtonDown || code == msg::kDoubleClick
                || code == msg::kNcDoubleClick || code == msg::kMouseActivate) {
                Activate(modal);
            }
            if (code == msg::kSetCursor)
                m_display.SetCursor(CursorShape::Arrow);
            return true;
        }
    } else if (target->IsComboPopup()) {
        return false;
    }
    if (!IsMouseMessage(code))
        return false;

    gfx::Point screen = message.screenPoint;
    uint32_t framework = FrameworkCode(code);
    uintptr_t flags = IsNonClient(code) ? 0 : message.wParam;
    if (framework && target->m_transparency != Transparency::Full)
        target->SendMessage(framework, flags, PackPoint(target->ScreenToClient(screen)));
    for (TWindow* a = target->m_parent; a; a = a->m_parent) {
        if (!a->IsCreated() || std::string_view(a->ClassName()) != kClassName)
            continue;
        gfx::Point p = a->ScreenToClient(screen);
        if (framework)
            a->SendMessage(framework, flags, PackPoint(p));
        if (a->m_transparency != Transparency::Opaque) {
            a->SendMessage(ClientCode(code), flags, PackPoint(p));
            return true;
        }
    }
    // A transparent window's own input falls through to its parent.
    if (target->m_transparency != Transparency::Opaque && target->m_parent) {
        TWindow* parent = target->m_parent;
        parent->SendMessage(ClientCode(code), flags, PackPoint(parent->ScreenToClient(screen)));
        return true;
    }
    return false;
}

void Application::Dispatch(TWindow& window, const Message& message)
{
    window.SendMessage(message.code, message.wParam, message.lParam);
}

void Application::ProcessMessage(const Message& message)
{
    TWindow* target = nullptr;
    if (message.window != 0) {
        target = FromHandle(message.window);
        if (!target)
            return; // the window is gone
    }
    if (message.code == msg::kQuit) {
        PostQuit(static_cast<int32_t>(static_cast<int64_t>(message.wParam)));
        return;
    }
    if (!target)
        return;
    if (TranslateAccelerator(target->TopLevel(), message))
        return;
    if ((IsMouseMessage(message.code) || m_pointerFilter == PointerFilter::On) && Route(message))
        return;
    if (message.code == msg::kKeyDown && message.character != 0) {
        Message ch = message;
        ch.code = msg::kChar;
        ch.wParam = message.character;
        ch.character = 0;
        m_queue.push_front(ch);
    }
    if (message.code == msg::kButtonDown || message.code == msg::kNcButtonDown || message.code == msg::kDoubleClick
        || message.code == msg::kRightButtonDown) {
        TWindow* top = target->TopLevel();
        if (top->m_layer == Layer::Normal && m_active != top->m_handle)
            Activate(top);
        else if (top->m_layer == Layer::Normal)
            top->BringToTop();
        if (!FromHandle(message.window))
            return;
    }
    Dispatch(*target, message);
}

void Application::SetDismissablePopup(TWindow* popup, std::function<void()> dismiss)
{
    m_popup = popup ? popup->Handle() : 0;
    m_dismissPopup = std::move(dismiss);
}

void Application::ClearDismissablePopup(TWindow* popup)
{
    if (popup && m_popup == popup->Handle()) {
        m_popup = 0;
        m_dismissPopup = nullptr;
    }
}

void Application::SendMouseMessage(TWindow& target, uint32_t code, uintptr_t flags, gfx::Point screen, HitArea area)
{
    Message m;
    m.window = target.Handle();
    m.time = m_clock.TickCount();
    m.screenPoint = screen;
    if (area == HitArea::Client) {
        m.code = code;
        m.wParam = flags;
        m.lParam = PackPoint(target.ScreenToClient(screen));
    } else {
        switch (code) {
        case msg::kMouseMove:
            m.code = msg::kNcMouseMove;
            break;
        case msg::kButtonDown:
            m.code = msg::kNcButtonDown;
            break;
        case msg::kButtonUp:
            m.code = msg::kNcButtonUp;
            break;
        case msg::kDoubleClick:
            m.code = msg::kNcDoubleClick;
            break;
        default:
            return; // right buttons in the frame do nothing
        }
        m.wParam = static_cast<uintptr_t>(area);
        m.lParam = PackPoint(screen);
    }
    m_queue.push_back(m);
}

void Application::Inject(const InputEvent& event)
{
    auto modifierKeys = [this](uint8_t mods) {
        m_keys.set(key::kShift, (mods & kModShift) != 0);
        m_keys.set(key::kCtrl, (mods & kModControl) != 0);
        m_keys.set(key::kAlt, (mods & kModAlt) != 0);
    };
    auto keyTarget = [this]() {
        TWindow* target = FocusWindow();
        return target ? target : ActiveWindow();
    };
    switch (event.type) {
    case EventType::MouseMove:
    case EventType::MouseDown:
    case EventType::MouseUp: {
        modifierKeys(event.modifiers);
        m_pointer = gfx::Point { event.x, event.y };
        bool left = event.button == MouseButton::Left;
        if (event.type != EventType::MouseMove && !left && event.button != MouseButton::Right)
            return; // the middle button means nothing here
        uint32_t buttonKey = left ? key::kLeftButton : key::kRightButton;
        if (event.type == EventType::MouseDown)
            m_keys.set(buttonKey);
        else if (event.type == EventType::MouseUp)
            m_keys.reset(buttonKey);
        TWindow* target = FromHandle(m_capture);
        if (!target)
            target = WindowAt(m_pointer);
        // A press outside an open menu or drop-down list closes it and goes no further.
        if (event.type == EventType::MouseDown && m_popup && (!target || !target->IsWithin(FromHandle(m_popup)))) {
            auto dismiss = std::move(m_dismissPopup);
            m_popup = 0;
            m_dismissPopup = nullptr;
            if (dismiss)
                dismiss();
            return;
        }
        if (m_hover != (target ? target->Handle() : 0)) {
            TWindow* old = FromHandle(m_hover);
            m_hover = target ? target->Handle() : 0;
            if (old)
                old->SendMessage(msg::kMouseLeave);
        }
        if (!target)
            return;
        if (!target->IsEnabled() && !target->HasCapture())
            return;
        uintptr_t flags = (m_keys.test(key::kLeftButton) ? kMouseLeftFlag : 0) | (m_keys.test(key::kRightButton) ? kMouseRightFlag : 0)
            | (m_keys.test(key::kShift) ? kMouseShiftFlag : 0) | (m_keys.test(key::kCtrl) ? kMouseCtrlFlag : 0);
        HitArea area = HitArea::Client;
        if (!target->HasCapture()) {
            gfx::Rect wr = target->WindowRect();
            area = target->HitTest(gfx::Point { m_pointer.x - wr.left, m_pointer.y - wr.top });
        }
        uint32_t code = msg::kMouseMove;
        if (event.type == EventType::MouseDown) {
            bool dbl = event.clicks >= 2;
            code = left ? (dbl ? msg::kDoubleClick : msg::kButtonDown) : msg::kRightButtonDown;
        } else if (event.type == EventType::MouseUp) {
            code = left ? msg::kButtonUp : msg::kRightButtonUp;
        }
        SendMouseMessage(*target, code, flags, m_pointer, area);
        break;
    }
    case EventType::KeyDown:
    case EventType::KeyUp: {
        modifierKeys(event.modifiers);
        if (event.key > 0 && event.key < 256 && event.key != key::kShift && event.key != key::kCtrl && event.key != key::kAlt)
            m_keys.set(static_cast<size_t>(event.key), event.type == EventType::KeyDown);
        TWindow* target = keyTarget();
        if (!target)
            return;
        Message m;
        m.window = target->Handle();
        m.code = event.type == EventType::KeyDown ? msg::kKeyDown : msg::kKeyUp;
        m.wParam = static_cast<uintptr_t>(event.key);
        m.time = m_clock.TickCount();
        m.screenPoint = m_pointer;
        m_queue.push_back(m);
        break;
    }
    case EventType::Char: {
        TWindow* target = keyTarget();
        if (!target || event.ch == 0)
            return;
        PostMessage(target->Handle(), msg::kChar, event.ch);
        break;
    }
    case EventType::Quit: {
        TWindow* target = ActiveWindow();
        if (!target) {
            auto tops = TopLevels();
            for (auto it = tops.rbegin(); it != tops.rend() && !target; ++it) {
                if ((*it)->IsShown() && (*it)->GetLayer() == Layer::Normal)
                    target = *it;
            }
        }
        if (target)
            PostMessage(target->Handle(), msg::kClose);
        else
            PostQuit(0);
        break;
    }
    default:
        break;
    }
}

void Application::PaintTree(TWindow& w, const gfx::Rect& dirty, gfx::Point windowOrigin, const gfx::Rect& parentClip)
{
    if (!w.m_shown || !w.IsCreated())
        return;
    gfx::Rect whole = gfx::Rect::FromSize(windowOrigin.x, windowOrigin.y, w.m_rect.Width(), w.m_rect.Height());
    gfx::Rect clip = whole.Intersect(parentClip).Intersect(dirty);
    if (clip.IsEmpty())
        return;
    Insets in = w.NonClientInsets();
    gfx::Point clientOrigin { windowOrigin.x + in.left, windowOrigin.y + in.top };
    gfx::Rect clientRect = gfx::Rect::FromSize(clientOrigin.x, clientOrigin.y, w.m_clientWidth, w.m_clientHeight);
    TWindow& top = *w.TopLevel();
    uint32_t handle = w.Handle();
    if (w.m_transparency != Transparency::Full) {
        if (in.left || in.top || in.right || in.bottom) {
            DrawTarget frame { m_display.SurfaceView(top.m_surfaceId), windowOrigin, clip, &m_colors };
            w.SendMessage(msg::kNcPaint, 0, reinterpret_cast<intptr_t>(&frame));
        }
        DrawTarget client { m_display.SurfaceView(top.m_surfaceId), clientOrigin, clip.Intersect(clientRect), &m_colors };
        if (!client.clip.IsEmpty() && FromHandle(handle) == &w) {
            w.SendMessage(msg::kEraseBackground, 0, reinterpret_cast<intptr_t>(&client));
            w.SendMessage(msg::kPaint, 0, reinterpret_cast<intptr_t>(&client));
        }
    }
    if (FromHandle(handle) != &w)
        return;
    std::vector<TWindow*> children = w.m_children;
    gfx::Rect childClip = clip.Intersect(clientRect);
    for (TWindow* child : children) {
        if (FromHandle(child->m_handle) != child)
            continue;
        PaintTree(*child, dirty, gfx::Point { clientOrigin.x + child->m_rect.left, clientOrigin.y + child->m_rect.top },
                  childClip);
    }
}

void Application::PaintTopLevel(TWindow& top)
{
    int32_t width = top.m_rect.Width(), height = top.m_rect.Height();
    if (width <= 0 || height <= 0) {
        top.m_dirty = {};
        return;
    }
    SyncSurface(top);
    if (top.m_surfaceId == 0)
        return;
    gfx::Rect dirty = top.m_dirty;
    top.m_dirty = {};
    if (dirty.IsEmpty())
        return;
    PaintTree(top, dirty, gfx::Point { 0, 0 }, gfx::Rect { 0, 0, width, height });
    m_display.Invalidate(top.m_surfaceId, dirty);
}

void Application::PaintAll()
{
    m_needPaint = false;
    std::vector<TWindow*> tops = TopLevels();
    for (TWindow* top : tops) {
        if (FromHandle(top->m_handle) == top && top->m_shown)
            PaintTopLevel(*top);
    }
}

void Application::Present()
{
    m_display.Present();
}

uint32_t Application::ScreenColor(int32_t x, int32_t y)
{
    PaintAll();
    m_display.Present();
    uint32_t pixel = m_display.ScreenView().Get(x, y);
    return m_colors.PixelColor(pixel);
}

int Application::Screenshot(const std::string& path, std::string* error)
{
    PaintAll();
    m_display.Present();
    return m_display.Screenshot(path, error);
}

} // namespace tamber::ui
