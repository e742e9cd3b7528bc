#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/MemoryBlock.h"
#include "iface/Element.h"

namespace tamber {

class ChildInterface;
class InterfaceModel;
class InterfaceWindow;

// The element of class "Interface". In its self role (id -1) it stands for the Interface its
// window shows: card size, background fill, palette, timer and mouse state. In its child role
// it is an element on a Card of another Interface and describes the window the child is shown
// in. Its class table is filtered by role.
class InterfaceObject : public Element {
public:
    static constexpr int32_t kDefaultCardWidth = 640;
    static constexpr int32_t kDefaultCardHeight = 480;
    static constexpr int32_t kDefaultTimerInterval = 1000;
    static constexpr uint32_t kWhite = 0x00FFFFFF;
    static constexpr uint32_t kBlack = 0x00000000;
    // The writer stores at most 256 palette colours.
    static constexpr int32_t kMaxPaletteBytes = 768;

    enum Background : int32_t { kSolid = 0, kGradient = 1, kStretchedPicture = 2, kTiledPicture = 3 };
    enum Display : int32_t { kEmbedded = 0, kFloating = 1 };
    enum Position : int32_t { kCustom = 0, kCentered = 1, kFullscreen = 2 };

    explicit InterfaceObject(InterfaceModel* parent = nullptr);
    ~InterfaceObject() override;

    // The window showing this Interface (self role), or the child's own window once opened.
    InterfaceModel* Window() const { return m_window; }
    void SetWindow(InterfaceModel* window) { m_window = window; }
    // Reloads the class tables, applies the self-role filter and takes id -1.
    void EnterSelfRole();

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int CallMethod(std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result) override;
    // A child with a window of its own runs the handler of the Interface it shows first, in that
    // window, then posts the event as "!" and its name to the window holding the element, which
    // later runs it in the element's own script. "!" events run at once and are not posted.
    int ExecuteEvent(std::string_view name, int32_t hotLink, std::span<const AttributeValue> params,
        bool* handled = nullptr) override;

    // Child role: the element's Card is shown or hidden. A floating child shows only while it
    // is open ("Open" until "Close" or the user's closing), and then with its Card.
    void Show() override;
    void Hide() override;
    // Child role: makes the child's window and loads the Interface it shows, without showing it.
    void PrepareMedia() override;
    intptr_t WindowHandle() const override;
    // The child's window was closed by the user ("Closed" has been raised): it stays closed
    // until the next "Open".
    void HideChildWindow();
    // The child's own window, when it exists.
    InterfaceWindow* ChildWindow() const;

    // One tick of the Interface timer.
    void TimerTicked();

    // Self role: "Defi", "BPic", "BPal". Child role: "Defn".
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    // Card navigation. Without a window only the index is recorded (raised to 0).
    void SetCurrentCard(int32_t number);
    int32_t CurrentCardNumber() const;

    int32_t CardWidth() const { return m_cardWidth; }
    int32_t CardHeight() const { return m_cardHeight; }
    const MemoryBlock& BackPalette() const { return m_backPalette; }
    int32_t BackgroundKind() const { return m_background; }
    uint32_t BackColor() const { return m_backColor; }
    uint32_t GradientColor() const { return m_gradientColor; }
    const MemoryBlock& BackBitmap() const { return m_backBitmap; }
    // The colour table of the background picture becomes the background palette.
    void TakePictureColors(const MemoryBlock& colors) { m_backPalette = colors; }
    int32_t DisplayMode() const { return m_display; }
    int32_t FrameStyleCode() const { return m_frameStyle; }
    int32_t PositionMode() const { return m_position; }
    bool HasBorder() const { return m_border; }
    bool IsModal() const { return m_modal; }
    int32_t WindowLeft() const { return m_winLeft; }
    int32_t WindowTop() const { return m_winTop; }
    const std::string& CaptionText() const { return m_caption; }
    bool TimerCycles() const { return m_timerCycles; }
    int32_t TimerInterval() const { return m_timerInterval; }
    // Child role: the script, token index and user event records of the Interface the child
    // shows.
    MemoryBlock& OwnScript() { return m_ownScript; }
    MemoryBlock& OwnTokens() { return m_ownTokens; }
    MemoryBlock& OwnEvents() { return m_ownEvents; }
    // Child role: removes the event and attribute definitions that loading the Interface the
    // child shows added (its "UEvn" and "UAtt"), so that loading it again adds them only once.
    void ForgetShownDefinitions();

private:
    friend struct InterfaceObjectAccess;

    void SetBackBitmap(const MemoryBlock& picture);
    void UpdateLinkButtons();
    void BackgroundChanged();
    // The window showing this Interface (self role) or the child's window, as a runtime window.
    InterfaceWindow* RuntimeWindow() const;
    ChildInterface& Child();

    InterfaceModel* m_window = nullptr;
    int32_t m_currentCard = 0;
    int32_t m_cardWidth = kDefaultCardWidth;
    int32_t m_cardHeight = kDefaultCardHeight;
    bool m_border = false;
    int32_t m_display = kEmbedded;
    int32_t m_frameStyle = 0;
    int32_t m_position = 0;
    bool m_modal = false;
    int32_t m_winLeft = 0;
    int32_t m_winTop = 0;
    std::string m_caption;
    int32_t m_background = kSolid;
    uint32_t m_backColor = kWhite;
    uint32_t m_gradientColor = kBlack;
    MemoryBlock m_backBitmap;
    MemoryBlock m_backPalette;
    int32_t m_timerInterval = kDefaultTimerInterval;
    bool m_timerCycles = false;
    MemoryBlock m_ownScript;
    MemoryBlock m_ownTokens;
    MemoryBlock m_ownEvents;
    std::unique_ptr<ChildInterface> m_child;
};

}  // namespace tamber
