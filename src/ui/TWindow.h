#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/GlyphSource.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Rect.h"
#include "ui/Accelerator.h"
#include "ui/Messages.h"
#include "ui/Painter.h"
#include "platform/display/Display.h"

namespace tamber::ui {

class Application;
class Menu;
class TWindow;

// How a window takes mouse input and painting: Opaque takes its own; Full lets input and
// painting fall through to the nearest framework ancestor; MouseOnly lets only input through.
enum class Transparency : uint8_t { Opaque = 0, Full = 1, MouseOnly = 2 };
enum class Modal : uint8_t { No = 0, Yes = 1 };
// Top-level windows of the Topmost layer (menus, tips, drop-down lists) stay above the others.
enum class Layer : uint8_t { Normal = 0, Topmost = 1 };
enum class ScrollBarKind : uint8_t { Horizontal = 0, Vertical = 1 };
enum class SizeState : uint8_t { Restored = 0, Minimized = 1, Maximized = 2 };

struct Insets {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct ScrollSettings {
    int32_t min = 0;
    int32_t max = 0;
    int32_t pos = 0;
};

// What a top-level window offers for the help key.
class HelpProvider {
public:
    virtual ~HelpProvider() = default;
    virtual void Show() = 0;
};

// Sees a window's messages before the window does (how a control tip watches its control).
// Answers true when it consumed the message; result is then the answer.
class MessageHook {
public:
    virtual ~MessageHook() = default;
    virtual bool Filter(TWindow& window, uint32_t code, uintptr_t wParam, intptr_t lParam, intptr_t& result) = 0;
};

// The base window object: one per framework window. The object outlives its window: Create
// makes the window, Destroy (or the destructor) ends it, and a destroyed object may be created
// again. Whoever creates the object owns it; Adopt hands a child object to its parent.
// Rectangles of child windows are in the parent's client coordinates, of top-level windows in
// screen coordinates, and include the non-client frame.
class TWindow {
public:
    static constexpr const char* kDefaultCaption = "VKM TWindow";
    static constexpr gfx::Rect kDefaultRect = gfx::Rect::FromSize(10, 10, 300, 300);

    TWindow();
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    // Makes the window inside parent (nullptr: a top-level window). Answers 1, or 0 when there is
    // no application, the window exists already or the parent has no window.
    int Create(TWindow* parent, std::string_view caption, const gfx::Rect& rect, Visibility visibility = Visibility::Hidden);
    int Create(TWindow* parent, Visibility visibility = Visibility::Hidden);
    void Destroy();
    bool IsCreated() const { return m_handle != 0; }
    uint32_t Handle() const { return m_handle; }
    // The registered class every framework window belongs to.
    virtual const char* ClassName() const { return "VKM_windows"; }

    TWindow* Parent() const { return m_parent; }
    // The window a popup belongs to (its notifications and modality follow the owner).
    TWindow* Owner() const { return m_owner; }
    void SetOwner(TWindow* owner) { m_owner = owner; }
    const std::vector<TWindow*>& Children() const { return m_children; }
    TWindow* TopLevel();
    // This window or a parent, owner, parent's owner ... is ancestor.
    bool IsWithin(const TWindow* ancestor) const;
    template<typename T>
    T* Adopt(std::unique_ptr<T> child)
    {
        T* raw = child.get();
        m_owned.push_back(std::move(child));
        return raw;
    }

    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string_view caption);

    void Show();
    void Hide();
    // Shown itself and every parent shown.
    bool IsVisible() const;
    bool IsShown() const { return m_shown; }
    void Move(int32_t x, int32_t y);
    void Resize(int32_t width, int32_t height);
    void SetRect(const gfx::Rect& rect);
    void BringToTop();
    void Enable();
    void Disable();
    bool IsEnabled() const { return m_enabled; }
    void Minimize();
    void Restore();
    SizeState GetSizeState() const { return m_sizeState; }
    // Places a top-level window in the middle of the screen.
    void CenterOnScreen();

    gfx::Rect RectInParent() const { return m_rect; }
    gfx::Rect WindowRect() const; // screen coordinates
    gfx::Rect ClientRect() const { return gfx::Rect { 0, 0, m_clientWidth, m_clientHeight }; }
    int32_t ClientWidth() const { return m_clientWidth; }
    int32_t ClientHeight() const { return m_clientHeight; }
    gfx::Rect RestoredRect() const { return m_restoredRect; }
    gfx::Point ClientToScreen(gfx::Point p) const;
    gfx::Point ScreenToClient(gfx::Point p) const;
    gfx::Rect ClientToScreen(const gfx::Rect& r) const;

    void Invalidate();
    void Invalidate(const gfx::Rect& clientRect);
    void InvalidateFrame();
    // Forgets the pending repaint when rect covers it (or always without a rectangle).
    void Validate();
    void Validate(const gfx::Rect& clientRect);
    // Paints the pending parts of this window's top-level window now and shows them.
    void Update();
    // Moves the client pixels by (dx, dy), repaints what was uncovered, and moves the children.
    void Scroll(int32_t dx, int32_t dy);

    void SetCapture();
    static void ReleaseCapture();
    bool HasCapture() const;
    void SetCursor(CursorShape shape);
    CursorShape Cursor() const { return m_cursor; }
    static gfx::Point CursorPosition();
    // The key or mouse button is down now (asynchronous state).
    static bool IsKeyDown(uint32_t key);

    // The window's own interval timer. Starting a running timer does nothing.
    void StartTimer(uint32_t intervalMs);
    void StopTimer();
    bool TimerRunning() const { return m_timerRunning; }
    uint32_t TimerId() const { return m_timerId; }
    uint32_t TimerInterval() const { return m_timerInterval; }
    // Further timers by identifier; the timer message carries the identifier in wParam.
    void SetTimer(uint32_t id, uint32_t intervalMs);
    void KillTimer(uint32_t id);

    void SetFocus();
    static TWindow* Focus();
    bool HasFocus() const { return Focus() == this; }
    TWindow* FocusChild() const;

    void SetScrollRange(ScrollBarKind bar, int32_t min, int32_t max);
    void SetScrollPos(ScrollBarKind bar, int32_t pos);
    ScrollSettings GetScroll(ScrollBarKind bar) const { return m_scroll[static_cast<int>(bar)]; }

    // Runs the message through the window's hooks and procedure now.
    intptr_t SendMessage(uint32_t code, uintptr_t wParam = 0, intptr_t lParam = 0);
    void PostMessage(uint32_t code, uintptr_t wParam = 0, intptr_t lParam = 0);

    void SetAccelerators(std::vector<AcceleratorEntry> table) { m_accelerators = std::move(table); }
    const std::vector<AcceleratorEntry>& Accelerators() const { return m_accelerators; }
    void SetCustomAccelerators(std::vector<CustomAccelerator> list) { m_customAccelerators = std::move(list); }
    const std::vector<CustomAccelerator>& CustomAccelerators() const { return m_customAccelerators; }
    void SetMenu(std::unique_ptr<Menu> menu);
    Menu* GetMenu() const { return m_menu.get(); }

    // Set before Create: a modal window joins the modal stack while it exists.
    void SetModal(Modal modal) { m_modal = modal; }
    bool IsModal() const { return m_modal == Modal::Yes; }
    void SetTransparency(Transparency mode) { m_transparency = mode; }
    Transparency GetTransparency() const { return m_transparency; }
    void SetLayer(Layer layer) { m_layer = layer; }
    Layer GetLayer() const { return m_layer; }
    void SetBackground(gfx::ColorRef color);
    void SetNoBackground() { m_eraseBackground = false; }
    gfx::ColorRef Background() const { return m_background; }

    void AddHook(MessageHook* hook);
    void RemoveHook(MessageHook* hook);

    int32_t PaintNesting() const { return m_paintNesting; }
    // The painter of the paint in progress, nullptr outside painting.
    Painter* PaintDc() const { return m_paintDc; }
    // Where to draw in the client area outside a paint (clipped to the visible part); the
    // caller shows the result with Update or the application's Present.
    DrawTarget ClientDrawTarget();
    // The face controls draw text with; Application's default when not set.
    void SetFont(const gfx::FontRequest& request);
    std::shared_ptr<gfx::GlyphFace> Font() const;

    // The message switch; calls the typed handlers below. Override to see every message.
    virtual intptr_t WindowProc(uint32_t code, uintptr_t wParam, intptr_t lParam);

    // Notification target of controls: the owner when set, else the parent.
    TWindow* NotifyTarget() const { return m_owner ? m_owner : m_parent; }
    uint16_t Id() const { return m_id; }
    void SetId(uint16_t id) { m_id = id; }

    virtual HelpProvider* GetHelp() { return nullptr; }
    virtual bool IsTabStop() const { return false; }
    virtual bool IsComboPopup() const { return false; }

protected:
    virtual void Paint(Painter& painter) { }
    virtual void EraseBackground(Painter& painter);
    virtual void PaintNonClient(Painter& painter) { }
    virtual Insets NonClientInsets() const { return {}; }
    // Where a point in window coordinates (frame included) lies.
    virtual HitArea HitTest(gfx::Point inWindow) const { return HitArea::Client; }

    // The window exists now (children may be created here).
    virtual void Created() { }
    // The operations the framework calls, in slot order.
    virtual void Moved(gfx::Point position) { }
    virtual void SizeRestored(int32_t width, int32_t height) { }
    virtual void SizeMinimized() { }
    virtual void SizeMaximized(int32_t width, int32_t height) { }
    virtual void SizeFinished() { }
    virtual void Destroyed() { }
    virtual void Activated() { }
    virtual void Deactivated() { }
    virtual intptr_t GuideLine(uint32_t code, uintptr_t wParam, intptr_t lParam) { return 0; }

    virtual void MouseMove(gfx::Point p, uint32_t flags) { }
    virtual void ButtonDown(gfx::Point p, uint32_t flags) { }
    virtual void ButtonUp(gfx::Point p, uint32_t flags) { }
    virtual void DoubleClick(gfx::Point p, uint32_t flags) { ButtonDown(p, flags); }
    virtual void RightButtonDown(gfx::Point p, uint32_t flags) { }
    virtual void RightButtonUp(gfx::Point p, uint32_t flags) { }
    virtual void MouseLeave() { }
    virtual void NonClientButtonDown(HitArea area, gfx::Point screen) { }
    virtual void NonClientDoubleClick(HitArea area, gfx::Point screen) { NonClientButtonDown(area, screen); }
    // The framework mouse messages, point in client coordinates.
    virtual void FrameworkMouse(uint32_t code, gfx::Point p, uint32_t flags) { }
    // Answer true when the key was used.
    virtual bool KeyDown(uint32_t key) { return false; }
    virtual bool KeyUp(uint32_t key) { return false; }
    virtual void Char(uint8_t ch) { }
    virtual void Command(uint16_t id, uint16_t code, TWindow* from) { }
    virtual void SysCommand(uint32_t command);
    virtual void Timer(uint32_t id) { }
    virtual void Scrolled(ScrollBarKind bar, int32_t code, int32_t pos, TWindow* from) { }
    virtual void FocusGained() { }
    virtual void FocusLost() { }
    // The user asked to close the window; the default destroys it.
    virtual void Close() { Destroy(); }
    virtual void PaletteMessage(uint32_t code);

    Application* App() const;
    // The non-client insets changed: the client area is measured again and everything repainted.
    void FrameChanged();

private:
    friend class Application;

    void HandlePaint(const DrawTarget& target, uint32_t code);
    void ApplyRect(const gfx::Rect& rect);
    void UpdateClientSize();
    gfx::Point ClientOriginInTopLevel() const;
    gfx::Rect VisibleClientInTopLevel() const;
    void AddDirty(const gfx::Rect& inTopLevel);

    uint32_t m_handle = 0;
    uint16_t m_id = 0;
    Application* m_app = nullptr;
    TWindow* m_parent = nullptr;
    TWindow* m_owner = nullptr;
    std::vector<TWindow*> m_children; // back to front
    std::vector<std::unique_ptr<TWindow>> m_owned;
    std::string m_caption = kDefaultCaption;
    gfx::Rect m_rect = kDefaultRect;
    gfx::Rect m_restoredRect = kDefaultRect;
    int32_t m_clientWidth = 0;
    int32_t m_clientHeight = 0;
    bool m_shown = false;
    bool m_enabled = true;
    bool m_destroying = false;
    SizeState m_sizeState = SizeState::Restored;
    CursorShape m_cursor = CursorShape::Arrow;
    std::vector<AcceleratorEntry> m_accelerators;
    std::vector<CustomAccelerator> m_customAccelerators;
    std::unique_ptr<Menu> m_menu;
    Modal m_modal = Modal::No;
    Transparency m_transparency = Transparency::Opaque;
    Layer m_layer = Layer::Normal;
    uint32_t m_focusChild = 0;
    gfx::ColorRef m_background = 0xFFFFFF;
    bool m_eraseBackground = true;
    std::vector<MessageHook*> m_hooks;
    int32_t m_paintNesting = 0;
    Painter* m_paintDc = nullptr;
    ScrollSettings m_scroll[2];
    uint32_t m_timerId = 0;
    uint32_t m_timerInterval = 0;
    bool m_timerRunning = false;
    bool m_hasFont = false;
    gfx::FontRequest m_fontRequest;
    mutable std::shared_ptr<gfx::GlyphFace> m_font;
    // Top-level windows only: the display surface and the part still to paint (window coordinates).
    int32_t m_surfaceId = 0;
    gfx::Rect m_dirty;
};

} // namespace tamber::ui
