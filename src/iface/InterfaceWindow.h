#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"
#include "iface/AttributeValue.h"
#include "iface/InterfaceModel.h"
#include "iface/MouseDispatcher.h"
#include "platform/gfx/Image.h"
#include "ui/TFramedWindow.h"

namespace tamber {

class Element;
class MediaDatabase;
class Palette;
class ScreenContext;
class ScriptHost;

// The window that runs an Interface: a framework window holding the Background and the Cards
// with their elements and the Interface object. It paints the background fill of the card area,
// hosts the elements' windows (see InterfaceModel's hosting calls), changes Cards, hit-tests the
// mouse and raises the mouse events, drives the Interface timer and keeps the window's palette.
//
// A start Interface gets its window from OpenTopLevel; child Interfaces get theirs from their
// element (ChildInterface). In authoring mode nothing is dispatched and card changes only
// invalidate; in running mode a card change repaints the card area at once.
class InterfaceWindow : public ui::TFramedWindow, public InterfaceModel {
public:
    static constexpr int32_t kOffScreen = -2000;
    static constexpr const char* kEditorCloseText =
        "The interface would normally be closed at this time but can not be closed while in the editor...";
    static constexpr const char* kEditorCloseCaption = "Close";

    // How the start Interface's window is made.
    struct TopLevelOptions {
        int32_t frameStyle = 0;     // the frame style code, 1-11 (anything else: no frame)
        std::string caption;        // applied unless the window becomes full-screen
        ScreenContext* screen = nullptr;  // palettes and fades; null: the window keeps none
    };

    // Opens the start Interface from its record bytes as the top-level window, in running mode:
    // created at 640 x 480, loaded, then made full-screen when the card width equals the screen
    // width or the card height the screen height, else centred on the screen with the caption;
    // last, "Opened" is raised on the Interface. The window is not shown: the caller shows it
    // and runs the main loop. database may be null (the elements then refer to no database).
    // Answers null without an application or when the window cannot
    // be created.
    static std::unique_ptr<InterfaceWindow> OpenTopLevel(MediaDatabase* database, const MemoryBlock& record,
        const TopLevelOptions& options);
    // As above from the catalogue: the first internal part of the "Interface" medium with the id.
    // Answers null when the medium is missing or has no internal part.
    static std::unique_ptr<InterfaceWindow> OpenTopLevel(MediaDatabase& database, int32_t mediaId,
        const TopLevelOptions& options);

    // A window with its own Interface object (self role) when owned is Yes; a child window gets
    // its Interface object from ShowInterfaceOf.
    enum class OwnObject : uint8_t { No = 0, Yes = 1 };
    InterfaceWindow(ScreenContext* screen, int32_t frameStyle, OwnObject own = OwnObject::Yes);
    ~InterfaceWindow() override;

    // The Background Card (the window's background colour is never used: the fill paints it).
    using InterfaceModel::Background;

    // Loads an Interface record into the window and applies its background. Answers 1.
    int LoadRecord(MediaDatabase* database, const MemoryBlock& record);
    // Loads the "Interface" medium with the id; 0 when it has no internal part, -1 when missing.
    int LoadMedium(MediaDatabase* database, int32_t mediaId);
    MediaDatabase* MutableDatabase() const { return m_mediaDatabase; }

    // Full-screen: the frame goes, the window covers the screen and the card area is centred.
    void MakeFullScreen();
    bool IsFullScreen() const { return m_fullScreen; }
    // Gives the client area the card size (not while full-screen). A window whose size follows
    // the card (top-level and floating ones) does so whenever the card size changes.
    void FitToCard();
    void SetSizeFollowsCard(bool follows) { m_sizeFollowsCard = follows; }
    // Whether the window runs inside the authoring editor (closing it is refused there).
    void SetInEditor(bool inEditor) { m_inEditor = inEditor; }
    bool InEditor() const { return m_inEditor; }

    // The Interface asked to close: the top-level window closes after the current script.
    void RequestClose();

    // Events of a child Interface element, queued for its script in this window; the queue is
    // handled when the posted message arrives, oldest first.
    void PostEvent(Element& element, std::string_view name, std::span<const AttributeValue> params);
    size_t PendingEvents() const { return m_posted.size(); }
    void RunPostedEvents();

    // Palette. The window's own palette object exists when it has a screen context.
    Palette* OwnPalette() const { return m_palette.get(); }
    void ActivatePalette();
    void DeactivatePalette();
    void FadeIn(int32_t steps);
    void FadeOut(int32_t steps);
    // The platform handle of the current palette, 0 when none is current.
    int32_t PaletteHandle() const;

    // Mouse state seen by the window.
    MouseDispatcher& Mouse() { return m_mouse; }
    bool MouseButtonDown() const { return m_buttonDown; }
    CardPoint MousePosition() const { return m_mousePosition; }

    const gfx::Image& BackgroundImage() const { return m_backImage; }

    // InterfaceModel.
    int ShowCard(int32_t index) override;
    ui::TWindow* HostWindow() override { return IsCreated() ? this : nullptr; }
    CardPoint CardOrigin() const override;
    ScreenContext* Screen() const override { return m_screen; }
    void ElementFrameChanged(Element& element, const CardRect& oldFrame) override;
    void ElementStateChanged(Element& element) override;
    void InvalidateElement(Element& element) override;
    void UpdateElement(Element& element) override;
    void FocusElement(Element& element) override;
    void CardSizeChanged(int32_t width, int32_t height) override;
    void Redraw() override;
    void RealisePalette(const MemoryBlock& palette) override;
    void BackgroundChanged() override;
    void BackPaletteChanged() override;

    intptr_t WindowProc(uint32_t code, uintptr_t wParam, intptr_t lParam) override;

protected:
    void Paint(ui::Painter& painter) override;
    void FrameworkMouse(uint32_t code, gfx::Point p, uint32_t flags) override;
    void Timer(uint32_t id) override;
    void Close() override;
    void Destroyed() override;

private:
    struct PostedEvent {
        Element* element;
        std::string name;
        std::vector<AttributeValue> params;
    };

    gfx::Rect CardArea() const;
    gfx::Rect ElementArea(const Element& element) const;
    ui::TWindow* ElementWindow(const Element& element) const;
    void RenderBackground();
    void LoadPaletteBytes(const MemoryBlock& palette);
    void ShowCurrentPalette();

    ScreenContext* m_screen = nullptr;
    MediaDatabase* m_mediaDatabase = nullptr;
    std::unique_ptr<Palette> m_palette;
    gfx::Image m_backImage;
    MouseDispatcher m_mouse;
    bool m_buttonDown = false;
    CardPoint m_mousePosition;
    bool m_fullScreen = false;
    bool m_inEditor = false;
    bool m_closePosted = false;
    bool m_holdRedraw = false;
    bool m_sizeFollowsCard = true;
    std::vector<PostedEvent> m_posted;
    ScriptHost* m_scriptHost = nullptr; // told when this window opens and closes
};

}  // namespace tamber
