#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "iface/Card.h"
#include "iface/CardGeometry.h"

namespace tamber {

class Element;
class InterfaceObject;
class MediaDatabase;

// The content of an interface window: the Background and the Cards with their elements, the
// current Card and the Interface object that stands for the Interface itself. The window that
// shows it derives from this class and overrides the display hooks (all of which do nothing
// here), so the model runs and is tested without any display.
class InterfaceModel {
public:
    static constexpr int32_t kBackground = -1;
    static constexpr int32_t kNotOnCard = -2;

    enum class Mode { Authoring, Running };

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

    // Elements. AddElement takes ownership and answers the element.
    Element* AddElement(int32_t card, std::unique_ptr<Element> element);
    std::unique_ptr<Element> RemoveElement(const Element& element);
    // Id -1 answers the Interface object and id 0 nothing; otherwise the element of that Card
    // (or of the Background) with the id and, when typeName is given, of that type.
    Element* FindElement(int32_t card, int32_t id, std::string_view typeName = {}) const;
    // -1 for the Background, the Card's index, the current Card for the Interface object,
    // kNotOnCard for an element this model does not hold.
    int32_t CardOf(const Element& element) const;

    const MediaDatabase* Database() const { return m_database; }
    void SetDatabase(const MediaDatabase* database) { m_database = database; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    Mode GetMode() const { return m_mode; }
    void SetMode(Mode mode) { m_mode = mode; }

    // Display hooks.
    virtual void ElementFrameChanging(Element& element) { }
    virtual void ElementFrameChanged(Element& element, const CardRect& oldFrame) { }
    virtual void ElementStateChanged(Element& element) { }
    virtual void InvalidateElement(Element& element) { }
    virtual void UpdateElement(Element& element) { }
    virtual void FocusElement(Element& element) { }
    virtual void CardSizeChanged(int32_t width, int32_t height) { }
    virtual void Redraw() { }

private:
    InterfaceObject* m_interface = nullptr;
    std::unique_ptr<InterfaceObject> m_ownedInterface;
    Card m_background;
    std::vector<std::unique_ptr<Card>> m_cards;
    int32_t m_currentCard = 0;
    const MediaDatabase* m_database = nullptr;
    bool m_modified = false;
    Mode m_mode = Mode::Authoring;
};

}  // namespace tamber
