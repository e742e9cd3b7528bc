#include "iface/InterfaceModel.h"

#include "iface/ClassDefinition.h"
#include "iface/InterfaceObject.h"

namespace tamber {

InterfaceModel::InterfaceModel() = default;

InterfaceModel::~InterfaceModel()
{
    // Elements may observe one another through their links; drop the Cards before the
    // Interface object they can refer to.
    Clear();
    if (m_interface && !m_ownedInterface)
        m_interface->SetWindow(nullptr);
}

InterfaceObject& InterfaceModel::AdoptInterface(std::unique_ptr<InterfaceObject> object)
{
    m_ownedInterface = std::move(object);
    m_interface = m_ownedInterface.get();
    m_interface->SetParent(this);
    m_interface->SetWindow(this);
    m_interface->EnterSelfRole();
    return *m_interface;
}

void InterfaceModel::ShowInterfaceOf(InterfaceObject* child)
{
    m_ownedInterface.reset();
    m_interface = child;
    if (child)
        child->SetWindow(this);
}

CardRect InterfaceModel::CardToClient(const CardRect& frame) const
{
    CardPoint origin = CardOrigin();
    return CardRect { frame.left + origin.x, frame.top + origin.y, frame.width, frame.height };
}

void InterfaceModel::SetEffect(int16_t effect, int32_t parameter)
{
    m_effect.effect = effect == -1 ? 0 : effect;
    m_effect.parameter = parameter == -1 ? 0 : parameter;
}

void InterfaceModel::ResetSettings()
{
    m_guides.clear();
    m_showGuides = true;
    m_showGrid = true;
    m_gridStep = kDefaultGridStep;
    m_effect = CardEffect();
}

Card* InterfaceModel::CardAt(int32_t index)
{
    if (index == kBackground)
        return &m_background;
    if (index < 0 || index >= NumCards())
        return nullptr;
    return m_cards[index].get();
}

const Card* InterfaceModel::CardAt(int32_t index) const
{
    return const_cast<InterfaceModel*>(this)->CardAt(index);
}

Card& InterfaceModel::AddCard()
{
    m_cards.push_back(std::make_unique<Card>());
    return *m_cards.back();
}

void InterfaceModel::Clear()
{
    m_cards.clear();
    m_background.elements.clear();
    m_currentCard = 0;
}

int InterfaceModel::ShowCard(int32_t index)
{
    if (index == m_currentCard || index < 0 || index >= NumCards())
        return 0;
    if (Card* old = CardAt(m_currentCard)) {
        for (auto& element : old->elements)
            element->Hide();
    }
    m_currentCard = index;
    PrepareCard(index);
    for (auto& element : m_background.elements) {
        if (element->IsVisible())
            element->Show();
    }
    for (auto& element : m_cards[index]->elements) {
        if (element->IsVisible())
            element->Show();
    }
    Redraw();
    return 1;
}

int InterfaceModel::PrepareCard(int32_t index)
{
    Card* card = CardAt(index);
    if (!card)
        return 0;
    for (auto& element : card->elements)
        element->PrepareMedia();
    return 1;
}

Element* InterfaceModel::AddElement(int32_t card, std::unique_ptr<Element> element)
{
    Card* target = CardAt(card);
    if (!target || !element)
        return nullptr;
    element->SetParent(this);
    target->elements.push_back(std::move(element));
    return target->elements.back().get();
}

std::unique_ptr<Element> InterfaceModel::RemoveElement(const Element& element)
{
    Card* card = CardAt(CardOf(element));
    if (!card || &element == m_interface)
        return nullptr;
    std::unique_ptr<Element> removed;
    for (auto it = card->elements.begin(); it != card->elements.end(); ++it) {
        if (it->get() == &element) {
            removed = std::move(*it);
            card->elements.erase(it);
            break;
        }
    }
    auto forget = [&](Card& c) {
        for (auto& other : c.elements)
            other->Links().Forget(&element);
    };
    forget(m_background);
    for (auto& c : m_cards)
        forget(*c);
    if (m_interface)
        m_interface->Links().Forget(&element);
    return removed;
}

Element* InterfaceModel::FindElement(int32_t card, int32_t id, std::string_view typeName) const
{
    if (id == Element::kSelfRoleId)
        return m_interface;
    if (id == 0)
        return nullptr;
    const Card* holder = CardAt(card);
    if (!holder)
        return nullptr;
    for (const auto& element : holder->elements) {
        if (element->GetId() == id && (typeName.empty() || NamesEqual(element->GetTypeName(), typeName)))
            return element.get();
    }
    return nullptr;
}

int32_t InterfaceModel::CardOf(const Element& element) const
{
    if (&element == m_interface)
        return m_currentCard;
    for (const auto& e : m_background.elements) {
        if (e.get() == &element)
            return kBackground;
    }
    for (size_t i = 0; i < m_cards.size(); ++i) {
        for (const auto& e : m_cards[i]->elements) {
            if (e.get() == &element)
                return static_cast<int32_t>(i);
        }
    }
    return kNotOnCard;
}

namespace {

// The Card a script reference searches.
int32_t ReferenceCard(const InterfaceModel& model, const Element& caller, int32_t card)
{
    if (card != InterfaceModel::kCallerCard)
        return card;
    int32_t own = model.CardOf(caller);
    return own == InterfaceModel::kBackground || own == InterfaceModel::kNotOnCard ? model.CurrentCard()
                                                                                   : own;
}

} // namespace

Element* InterfaceModel::FindReferenced(
    const Element& caller, int32_t card, int32_t id, std::string_view typeName) const
{
    return FindElement(ReferenceCard(*this, caller, card), id, typeName);
}

Element* InterfaceModel::FindReferencedByName(
    const Element& caller, int32_t card, std::string_view name, std::string_view typeName) const
{
    const Card* holder = CardAt(ReferenceCard(*this, caller, card));
    if (!holder)
        return nullptr;
    for (const auto& element : holder->elements) {
        if (NamesEqual(element->GetName(), name)
            && (typeName.empty() || NamesEqual(element->GetTypeName(), typeName)))
            return element.get();
    }
    return nullptr;
}

} // namespace tamber
