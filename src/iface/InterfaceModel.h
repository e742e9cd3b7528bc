#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "iface/Card.h"
#include "base/MemoryBlock.h"
#include "iface/CardGeometry.h"

namespace tamber {

class Element;
class InterfaceObject;
class MediaDatabase;
class ScreenContext;
namespace ui {
class TWindow;
}

// The content of an interface window: the Background and the Cards with their elements, the
// current Card and the Interface object that stands for the Interface itself. The window that
// shows it derives from this class and overrides the display hooks (all of which do nothing
// here), so the model runs and is tested without any display.
class InterfaceModel {
public:
    static constexpr int32_t kBackground = -1;
    static constexpr int32_t kNotOnCard = -2;
    // A script reference that names no Card ("Card n" or "Background"): see FindReferenced.
    static constexpr int32_t kCallerCard = -3;

    enum class Mode { Authoring, Running };

    // Authoring settings kept with the record.
    struct Guide {
        uint8_t kind = 0;
        int32_t first = 0;
        int32_t second = 0;
        int32_t card = kBackground;
        bool operator==(const Guide&) const = default;
    };
    static constexpr int32_t kDefaultGridStep = 20;
    // The card-change effect the window keeps; no card change applies it.
    struct CardEffect {
        int16_t effect = 0;
        int32_t parameter = 0;
    };

    InterfaceModel();
    virtual ~InterfaceModel();
    InterfaceModel(const InterfaceModel&) = delete;
    InterfaceModel& operator=(const InterfaceModel&) = delete;

    // The Interface object: owned (a window that shows its own Interface, self role) or the
    // child element of a parent Interface that this window shows (observed).
    InterfaceObject* Interface() const { return m_interface; }
    InterfaceObject& AdoptInterface(std::unique_ptr<InterfaceObject> object);
    void ShowInterfaceOf(InterfaceObject* child);
    bool OwnsInterface() const { return m_ownedInterface != nullptr; }

    // Cards. Index -1 is the Background.
    int32_t NumCards() const { return static_cast<int32_t>(m_cards.size()); }
    Card& Background() { return m_background; }
    const Card& Background() const { return m_background; }
    Card* CardAt(int32_t index);
    const Card* CardAt(int32_t index) const;
    Card& AddCard();
    // Discards the Background and every Card with their elements.
    void Clear();

    int32_t CurrentCard() const { return m_currentCard; }
    // Makes the Card current: hides the old Card's elements and shows the Background's and the
    // new Card's. Answers 1, or 0 when the index is current already or out of range.
    virtual int ShowCard(int32_t index);
    // Has every element of the Card (or of the Background) load its media without showing it.
    // Answers 1, or 0 when there is no such Card.
    int PrepareCard(int32_t index);

    // Elements. AddElement takes ownership and answers the element.
    Element* AddElement(int32_t card, std::unique_ptr<Element> element);
    std::unique_ptr<Element> RemoveElement(const Element& element);
    // Id -1 answers the Interface object and id 0 nothing; otherwise the element of that Card
    // (or of the Background) with the id and, when typeName is given, of that type.
    Element* FindElement(int32_t card, int32_t id, std::string_view typeName = {}) const;
    // -1 for the Background, the Card's index, the current Card for the Interface object,
    // kNotOnCard for an element this model does not hold.
    int32_t CardOf(const Element& element) const;

    // The element a script reference names, by id (-1 the Interface object, 0 none) or by name,
    // of the type when one is given. card is the Card the reference names, or kCallerCard: then
    // the caller's Card is searched, or the current Card for a caller on the Background (which
    // must name "Background" to reach its own neighbours).
    Element* FindReferenced(const Element& caller, int32_t card, int32_t id, std::string_view typeName) const;
    Element* FindReferencedByName(const Element& caller, int32_t card, std::string_view name,
        std::string_view typeName) const;

    const MediaDatabase* Database() const { return m_database; }
    void SetDatabase(const MediaDatabase* database) { m_database = database; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    Mode GetMode() const { return m_mode; }
    void SetMode(Mode mode) { m_mode = mode; }

    std::vector<Guide>& Guides() { return m_guides; }
    const std::vector<Guide>& Guides() const { return m_guides; }
    bool ShowGuides() const { return m_showGuides; }
    void SetShowGuides(bool show) { m_showGuides = show; }
    bool ShowGrid() const { return m_showGrid; }
    int32_t GridStep() const { return m_gridStep; }
    void SetGrid(bool show, int32_t step) { m_showGrid = show, m_gridStep = step; }
    CardEffect Effect() const { return m_effect; }
    // An effect or parameter of -1 is kept as 0.
    void SetEffect(int16_t effect, int32_t parameter);
    // Whether loading reads the authoring guides and grid.
    bool ReadsGuidesAndGrid() const { return m_readGuidesAndGrid; }
    void SetReadsGuidesAndGrid(bool read) { m_readGuidesAndGrid = read; }
    // Back to a new window's settings: grid shown with step 20, guides shown and none kept,
    // no effect.
    void ResetSettings();

    // Element hosting. An element that shows itself makes its own window a child of
    // HostWindow() at CardToClient(its frame): the card area may sit inside the window at
    // CardOrigin() (a full-screen window centres it). A model without a display answers no
    // window, the origin (0, 0) and no screen context; elements then show nothing.
    virtual ui::TWindow* HostWindow() { return nullptr; }
    virtual CardPoint CardOrigin() const { return {}; }
    virtual ScreenContext* Screen() const { return nullptr; }
    CardRect CardToClient(const CardRect& frame) const;

    // Display hooks.
    virtual void ElementFrameChanging(Element& element) { }
    virtual void ElementFrameChanged(Element& element, const CardRect& oldFrame) { }
    virtual void ElementStateChanged(Element& element) { }
    virtual void InvalidateElement(Element& element) { }
    virtual void UpdateElement(Element& element) { }
    virtual void FocusElement(Element& element) { }
    virtual void CardSizeChanged(int32_t width, int32_t height) { }
    virtual void Redraw() { }
    virtual void RealisePalette(const MemoryBlock& palette) { }
    // The Interface object's "Background", "BackColor", "BackGradient" or "BackBitmap" changed.
    virtual void BackgroundChanged() { }
    // "BackPalette" was set.
    virtual void BackPaletteChanged() { }

private:
    InterfaceObject* m_interface = nullptr;
    std::unique_ptr<InterfaceObject> m_ownedInterface;
    Card m_background;
    std::vector<std::unique_ptr<Card>> m_cards;
    int32_t m_currentCard = 0;
    const MediaDatabase* m_database = nullptr;
    bool m_modified = false;
    Mode m_mode = Mode::Authoring;
    std::vector<Guide> m_guides;
    bool m_showGuides = true;
    bool m_showGrid = true;
    int32_t m_gridStep = kDefaultGridStep;
    CardEffect m_effect;
    bool m_readGuidesAndGrid = true;
};

}  // namespace tamber
