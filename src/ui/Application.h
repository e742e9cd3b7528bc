#pragma once

#include <bitset>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/clock/Clock.h"
#include "platform/gfx/GlyphSource.h"
#include "platform/display/Display.h"
#include "platform/gfx/Image.h"
#include "ui/ColorMap.h"
#include "ui/Messages.h"

namespace tamber::ui {

class TWindow;
class DialogAnswers;
class Clipboard;

enum class QuitOnLast : uint8_t { No = 0, Yes = 1 };
enum class PointerFilter : uint8_t { Off = 0, On = 1 };
// What the idle handler reports: more input may come, or none ever will.
enum class IdleResult : uint8_t { Continue = 0, Exhausted = 1 };

// What the window framework asks of the palette manager (which lives above it).
class PaletteHook {
public:
    virtual ~PaletteHook() = default;
    // Realises the current palette (or the shared application palette) for the window; answers
    // the number of colours that changed.
    virtual int RealizeFor(TWindow& window) = 0;
    // The last window is gone: the shared application palette may go too.
    virtual void ReleaseShared() = 0;
};

// The application object: one per process. It owns the window registry, the message queue and
// timers, the modal stack, keyboard focus and capture, and the loop that ties them together.
// Each top-level window draws into a surface of the display; the display composes and shows
// them. Everything runs on one thread; loops nest (modal windows, menus).
//
// The loop takes posted messages first, then input from the display, then due timers; when the
// queue is empty it paints invalid windows and presents the changed parts of the screen.
class Application {
public:
    static constexpr const char* kClassName = "VKM_windows";
    static constexpr int32_t kQueueLength = 96;

    Application(Display& display, Clock& clock, gfx::GlyphSource* fonts = nullptr);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Current();

    Display& Screen() { return m_display; }
    Clock& GetClock() { return m_clock; }
    const ColorMap& Colors() const { return m_colors; }
    std::shared_ptr<gfx::GlyphFace> OpenFont(const gfx::FontRequest& request);
    // Where faces come from; null when the application draws no text.
    gfx::GlyphSource* Fonts() const { return m_fonts; }
    std::shared_ptr<gfx::GlyphFace> DefaultFont();
    void SetArguments(std::vector<std::string> args) { m_args = std::move(args); }
    const std::vector<std::string>& Arguments() const { return m_args; }

    // Windows.
    TWindow* FromHandle(uint32_t handle) const;
    // A window of this framework (the registry knows it and it is of the shared class).
    bool IsFrameworkWindow(uint32_t handle) const;
    int32_t WindowCount() const { return m_windowCount; }
    void SetQuitOnLastWindow(QuitOnLast quit) { m_quitOnLast = quit; }
    const std::vector<uint32_t>& ModalStack() const { return m_modalStack; }
    TWindow* TopModal() const;
    TWindow* ActiveWindow() const { return FromHandle(m_active); }
    TWindow* FocusWindow() const { return FromHandle(m_focus); }
    TWindow* CaptureWindow() const { return FromHandle(m_capture); }
    // Top-level windows back to front, topmost layer last.
    std::vector<TWindow*> TopLevels() const;
    void Activate(TWindow* top);
    // The deepest visible window at a screen point, nullptr over the desktop.
    TWindow* WindowAt(gfx::Point screen) const;

    // The queue.
    void Post(const Message& message);
    void PostMessage(uint32_t window, uint32_t code, uintptr_t wParam = 0, intptr_t lParam = 0);
    void PostQuit(int32_t code);
    bool QuitPending() const { return m_quitPending; }
    // Takes the first queued message for the window (0: any) with the code (0: any).
    bool TakeMessage(Message& out, uint32_t window, uint32_t code);
    size_t QueuedCount() const { return m_queue.size(); }

    // The loop. Run returns the quit message's parameter (0 when the input ran out first).
    int Run();
    // Runs a nested loop until the window is destroyed or EndModal is called for it; answers
    // the result given to EndModal (0 when the window just went away).
    int RunModal(TWindow& window);
    void EndModal(TWindow& window, int result);
    // Handles everything due now without waiting; answers false when a quit is pending.
    bool ProcessPending();
    // Lets ms milliseconds pass on the clock, handling each timer as it falls due, in order.
    void RunFor(uint32_t ms);
    // One message through accelerators, the input router, translation and dispatch.
    void ProcessMessage(const Message& message);
    // Called by loops that have nothing to do (the automation player feeds input here).
    void SetIdleHandler(std::function<IdleResult()> handler) { m_idle = std::move(handler); }
    bool InputExhausted() const { return m_exhausted; }

    // Input.
    void Inject(const InputEvent& event);
    // Whether a person may still type: a headless display only has what was posted to it.
    bool IsInteractive() const { return m_interactive; }
    bool IsKeyDown(uint32_t key) const { return key < 256 && m_keys.test(key); }
    gfx::Point CursorPosition() const { return m_pointer; }
    void SetPointerFilter(PointerFilter filter) { m_pointerFilter = filter; }
    // A window closed by any button press outside it (menus, drop-down lists).
    void SetDismissablePopup(TWindow* popup, std::function<void()> dismiss);
    void ClearDismissablePopup(TWindow* popup);

    // Timers (the window's handle and the timer identifier).
    void SetTimer(uint32_t window, uint32_t id, uint32_t intervalMs);
    void KillTimer(uint32_t window, uint32_t id);
    bool NextTimerDue(uint32_t& tick) const;

    // Rendering.
    void PaintAll();
    void Present();
    bool NeedsPaint() const;
    // The colour (0x00RRGGBB) shown at a screen point after presenting what is pending.
    uint32_t ScreenColor(int32_t x, int32_t y);
    int Screenshot(const std::string& path, std::string* error = nullptr);

    // Seams.
    void SetDialogAnswers(DialogAnswers* answers) { m_answers = answers; }
    DialogAnswers* Answers() const { return m_answers; }
    void SetPaletteHook(PaletteHook* hook) { m_paletteHook = hook; }
    PaletteHook* GetPaletteHook() const { return m_paletteHook; }
    Clipboard& GetClipboard();
    void SetClipboard(Clipboard* clipboard) { m_clipboardOverride = clipboard; }

private:
    friend class TWindow;
    enum class Got : uint8_t { Message, Quit, Nothing, Exhausted };
    enum class Wait : uint8_t { No, Yes };

    struct TimerEntry {
        uint32_t window;
        uint32_t id;
        uint32_t interval;
        uint32_t due;
        uint64_t order;
    };

    Got GetMessage(Message& out, Wait wait);
    bool DueTimer(Message& out);
    bool TranslateAccelerator(TWindow* top, const Message& message);
    bool Route(const Message& message);
    void Dispatch(TWindow& window, const Message& message);
    void PaintTree(TWindow& window, const gfx::Rect& dirty, gfx::Point windowOrigin, const gfx::Rect& parentClip);
    void PaintTopLevel(TWindow& top);
    // Makes the display surface of a top-level window match its rectangle and visibility.
    void SyncSurface(TWindow& top);
    void SurfaceDirty(TWindow& top, const gfx::Rect& inWindow);
    // Keeps the topmost layer (menus, tips, drop-down lists) above the other surfaces.
    void RestackTopmost();
    void SetFocusTo(TWindow* window);
    void SendMouseMessage(TWindow& target, uint32_t code, uintptr_t flags, gfx::Point screen, HitArea area);

    // Called by TWindow.
    uint32_t Register(TWindow& window);
    void Unregister(TWindow& window);
    void AddTopLevel(TWindow& window);
    void RemoveTopLevel(TWindow& window);
    void RaiseTopLevel(TWindow& window);
    void WindowDestroyed(TWindow& window);

    Display& m_display;
    bool m_interactive = false;
    Clock& m_clock;
    gfx::GlyphSource* m_fonts;
    ColorMap m_colors;
    std::shared_ptr<gfx::GlyphFace> m_defaultFont;
    std::vector<std::string> m_args;
    Application* m_previous = nullptr;

    std::unordered_map<uint32_t, TWindow*> m_windows;
    uint32_t m_nextHandle = 0x100;
    int32_t m_windowCount = 0;
    QuitOnLast m_quitOnLast = QuitOnLast::No;
    std::vector<uint32_t> m_topLevels; // back to front
    std::vector<uint32_t> m_modalStack;
    std::unordered_map<uint32_t, int> m_modalResults;
    uint32_t m_active = 0;
    uint32_t m_focus = 0;
    uint32_t m_capture = 0;
    uint32_t m_hover = 0;
    uint32_t m_popup = 0;
    std::function<void()> m_dismissPopup;

    std::deque<Message> m_queue;
    std::vector<TimerEntry> m_timers;
    uint64_t m_timerOrder = 0;
    bool m_quitPending = false;
    int32_t m_quitCode = 0;
    bool m_exhausted = false;
    std::function<IdleResult()> m_idle;

    std::bitset<256> m_keys;
    gfx::Point m_pointer;
    PointerFilter m_pointerFilter = PointerFilter::Off;
    bool m_routing = false;

    bool m_needPaint = false;

    DialogAnswers* m_answers = nullptr;
    PaletteHook* m_paletteHook = nullptr;
    std::unique_ptr<Clipboard> m_clipboard;
    Clipboard* m_clipboardOverride = nullptr;
};

} // namespace tamber::ui
