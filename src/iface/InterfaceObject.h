#pragma once

#include <cstdint>
#include <string>

#include "base/MemoryBlock.h"
#include "iface/Element.h"

namespace tamber {

class InterfaceModel;

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

    explicit InterfaceObject(InterfaceModel* parent = nullptr);

    // The window showing this Interface (self role), or the child's own window once opened.
    InterfaceModel* Window() const { return m_window; }
    void SetWindow(InterfaceModel* window) { m_window = window; }
    // Reloads the class tables, applies the self-role filter and takes id -1.
    void EnterSelfRole();

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int CallMethod(std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result) override;

    // Self role: "Defi", "BPic", "BPal". Child role: "Defn".
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    // Card navigation. Without a window only the index is recorded (raised to 0).
    void SetCurrentCard(int32_t number);
    int32_t CurrentCardNumber() const;

    int32_t CardWidth() const { return m_cardWidth; }
    int32_t CardHeight() const { return m_cardHeight; }
    const MemoryBlock& BackPalette() const { return m_backPalette; }
    // Child role: the script and token index of the Interface the child shows.
    MemoryBlock& OwnScript() { return m_ownScript; }
    MemoryBlock& OwnTokens() { return m_ownTokens; }

private:
    friend struct InterfaceObjectAccess;

    void SetBackBitmap(const MemoryBlock& picture);
    void UpdateLinkButtons();

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
};

}  // namespace tamber
