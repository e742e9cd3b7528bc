#include "iface/InterfaceObject.h"

#include <algorithm>

#include "iface/AttributeAccessor.h"
#include "iface/ChildInterface.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceTimer.h"
#include "iface/InterfaceWindow.h"
#include "iface/ScriptHost.h"

namespace tamber {

namespace {

// "LastCard" asks for a number past any real Card; it is lowered to the last one.
constexpr int32_t kLastCardNumber = 99999;

constexpr int kFirstCardLink = 0;
constexpr int kLastCardLink = 1;
constexpr int kNextCardLink = 2;
constexpr int kPreviousCardLink = 3;

int32_t LongParam(std::span<const AttributeValue> params, size_t index)
{
    return index < params.size() ? params[index].Long() : 0;
}

}  // namespace

// Accessors of the Interface attributes; kept here for access to the private fields.
struct InterfaceObjectAccess {
    static std::span<const AttributeAccessor<InterfaceObject>> Table();
};

std::span<const AttributeAccessor<InterfaceObject>> InterfaceObjectAccess::Table()
{
    using I = InterfaceObject;
    using V = AttributeValue;
    static const AttributeAccessor<I> kTable[] = {
        {"BackBitmap", ValueType::Picture, GetMember<&I::m_backBitmap>,
            [](I& i, const V& v) { return i.SetBackBitmap(v.Block()), 1; }},
        {"BackColor", ValueType::Color, GetMember<&I::m_backColor>,
            [](I& i, const V& v) {
                int result = SetMember<&I::m_backColor>(i, v);
                i.BackgroundChanged();
                return result;
            }},
        {"BackGradient", ValueType::Color, GetMember<&I::m_gradientColor>,
            [](I& i, const V& v) {
                int result = SetMember<&I::m_gradientColor>(i, v);
                i.BackgroundChanged();
                return result;
            }},
        {"Background", ValueType::Enum, GetMember<&I::m_background>,
            [](I& i, const V& v) {
                int result = SetEnumBelow<&I::m_background, 4>(i, v);
                i.BackgroundChanged();
                return result;
            }},
        {"BackPalette", ValueType::Palette, GetMember<&I::m_backPalette>,
            [](I& i, const V& v) {
                int result = SetMember<&I::m_backPalette>(i, v);
                if (i.m_window)
                    i.m_window->BackPaletteChanged();
                return result;
            }},
        {"Border", ValueType::Boolean, GetMember<&I::m_border>, SetMember<&I::m_border>},
        {"Caption", ValueType::String, GetMember<&I::m_caption>, SetMember<&I::m_caption>},
        {"CardHeight", ValueType::Long, GetMember<&I::m_cardHeight>,
            [](I& i, const V& v) {
                i.m_cardHeight = v.Long();
                if (i.m_window)
                    i.m_window->CardSizeChanged(i.m_cardWidth, i.m_cardHeight);
                return 1;
            }},
        {"CardWidth", ValueType::Long, GetMember<&I::m_cardWidth>,
            [](I& i, const V& v) {
                i.m_cardWidth = v.Long();
                if (i.m_window)
                    i.m_window->CardSizeChanged(i.m_cardWidth, i.m_cardHeight);
                return 1;
            }},
        {"CurrentCard", ValueType::Long, [](const I& i, V& v) { v.SetLong(i.CurrentCardNumber()); },
            [](I& i, const V& v) { return i.SetCurrentCard(v.Long()), 1; }},
        {"Display", ValueType::Enum, GetMember<&I::m_display>, SetEnumBelow<&I::m_display, 2>},
        {"Frame", ValueType::Enum, GetMember<&I::m_frameStyle>, SetEnumBelow<&I::m_frameStyle, 12>},
        {"hPalette", ValueType::Long,
            [](const I& i, V& v) {
                InterfaceWindow* w = i.RuntimeWindow();
                v.SetLong(w ? w->PaletteHandle() : 0);
            },
            nullptr},
        {"Modal", ValueType::Boolean, GetMember<&I::m_modal>, SetMember<&I::m_modal>},
        {"MouseDown", ValueType::Boolean,
            [](const I& i, V& v) {
                InterfaceWindow* w = i.RuntimeWindow();
                v.SetBoolean(w && w->MouseButtonDown());
            },
            nullptr},
        {"MouseX", ValueType::Long,
            [](const I& i, V& v) {
                InterfaceWindow* w = i.RuntimeWindow();
                v.SetLong(w ? w->MousePosition().x : 0);
            },
            nullptr},
        {"MouseY", ValueType::Long,
            [](const I& i, V& v) {
                InterfaceWindow* w = i.RuntimeWindow();
                v.SetLong(w ? w->MousePosition().y : 0);
            },
            nullptr},
        {"NumCards", ValueType::Long,
            [](const I& i, V& v) { v.SetLong(i.m_window ? i.m_window->NumCards() : 0); }, nullptr},
        {"Opened", ValueType::Boolean, [](const I& i, V& v) { v.SetBoolean(i.m_child && i.m_child->IsOpen()); },
            nullptr},
        {"Position", ValueType::Enum, GetMember<&I::m_position>, SetEnumBelow<&I::m_position, 3>},
        {"TimerCycles", ValueType::Boolean, GetMember<&I::m_timerCycles>, SetMember<&I::m_timerCycles>},
        {"TimerInterval", ValueType::Long, GetMember<&I::m_timerInterval>,
            [](I& i, const V& v) {
                int result = SetMember<&I::m_timerInterval>(i, v);
                InterfaceTimer::Restart(i.RuntimeWindow(), i.m_timerInterval);
                return result;
            }},
        {"WinHeight", ValueType::Long,
            [](const I& i, V& v) {
                InterfaceWindow* w = i.m_display == I::kFloating ? i.ChildWindow() : nullptr;
                v.SetLong(w ? w->RectInParent().Height() : 0);
            },
            nullptr},
        {"WinLeft", ValueType::Long, GetMember<&I::m_winLeft>, SetMember<&I::m_winLeft>},
        {"WinTop", ValueType::Long, GetMember<&I::m_winTop>, SetMember<&I::m_winTop>},
        {"WinWidth", ValueType::Long,
            [](const I& i, V& v) {
                InterfaceWindow* w = i.m_display == I::kFloating ? i.ChildWindow() : nullptr;
                v.SetLong(w ? w->RectInParent().Width() : 0);
            },
            nullptr},
    };
    return kTable;
}

InterfaceObject::InterfaceObject(InterfaceModel* parent) : Element(parent)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Interface));
    SetLinkNames(ElementLinks({"Button : First Card", "Button : Last Card", "Button : Next Card",
                                  "Button : Previous Card"},
        ElementLinks::Exclusive::No));
}

InterfaceObject::~InterfaceObject()
{
    // The child's window shows this object; it goes first.
    m_child.reset();
}

void InterfaceObject::EnterSelfRole()
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Interface));
    MutableDefinition().ApplySelfRole();
    SetId(kSelfRoleId);
}

int InterfaceObject::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    if (FindAttribute(AttributeTable(), name)) {
        int result = GetThroughTable(InterfaceObjectAccess::Table(), *this, name, type, value);
        if (result != kNotInTable)
            return result;
    }
    return Element::GetAttribute(name, type, value);
}

int InterfaceObject::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    if (FindAttribute(AttributeTable(), name)) {
        int result = SetThroughTable(InterfaceObjectAccess::Table(), *this, name, type, value);
        if (result != kNotInTable) {
            if (result == 1)
                MarkModified();
            return result;
        }
    }
    return Element::SetAttribute(name, type, value);
}

int InterfaceObject::CallMethod(std::string_view name, std::span<const AttributeValue> params,
    AttributeValue& result)
{
    int32_t number = CurrentCardNumber();
    int32_t count = m_window ? m_window->NumCards() : 0;
    if (NamesEqual(name, "FirstCard")) {
        SetCurrentCard(1);
    } else if (NamesEqual(name, "LastCard")) {
        SetCurrentCard(kLastCardNumber);
    } else if (NamesEqual(name, "NextCard")) {
        SetCurrentCard(number >= count ? 1 : number + 1);
    } else if (NamesEqual(name, "PreviousCard")) {
        SetCurrentCard(number <= 1 ? (count > 0 ? count : 1) : number - 1);
    } else if (NamesEqual(name, "LoadCard")) {
        // A Card that does not exist is ignored; the Background is no Card.
        int32_t index = LongParam(params, 0) - 1;
        if (m_window && index >= 0)
            m_window->PrepareCard(index);
    } else if (NamesEqual(name, "Open")) {
        if (!IsSelfRole() && m_display == kFloating)
            Child().Open();
    } else if (NamesEqual(name, "Close")) {
        if (IsSelfRole()) {
            InterfaceTimer::Stop(RuntimeWindow());
            if (InterfaceWindow* window = RuntimeWindow())
                window->RequestClose();
        } else if (m_display == kFloating && m_child) {
            m_child->Close();
        }
    } else if (NamesEqual(name, "ActivatePalette")) {
        if (InterfaceWindow* window = RuntimeWindow())
            window->ActivatePalette();
    } else if (NamesEqual(name, "DeactivatePalette")) {
        if (InterfaceWindow* window = RuntimeWindow())
            window->DeactivatePalette();
    } else if (NamesEqual(name, "PaletteFadeIn")) {
        if (InterfaceWindow* window = RuntimeWindow())
            window->FadeIn(LongParam(params, 0));
    } else if (NamesEqual(name, "PaletteFadeOut")) {
        if (InterfaceWindow* window = RuntimeWindow())
            window->FadeOut(LongParam(params, 0));
    } else if (NamesEqual(name, "TimerStart")) {
        InterfaceTimer::Start(RuntimeWindow(), m_timerInterval, LongParam(params, 0));
    } else if (NamesEqual(name, "TimerStop")) {
        InterfaceTimer::Stop(RuntimeWindow());
    } else {
        return Element::CallMethod(name, params, result);
    }
    return 1;
}

int32_t InterfaceObject::CurrentCardNumber() const
{
    return (m_window ? m_window->CurrentCard() : m_currentCard) + 1;
}

void InterfaceObject::SetCurrentCard(int32_t number)
{
    int32_t from = CurrentCardNumber();
    int32_t index = number - 1;
    if (index < 0)
        index = 0;
    if (!m_window) {
        m_currentCard = index;
        return;
    }
    if (index > m_window->NumCards() - 1)
        index = m_window->NumCards() - 1;
    m_window->ShowCard(index);
    m_currentCard = m_window->CurrentCard();
    if (m_window->GetMode() == InterfaceModel::Mode::Authoring)
        m_window->Redraw();
    const AttributeValue args[] = {AttributeValue::OfLong(from), AttributeValue::OfLong(m_currentCard + 1)};
    RaiseEvent("CurrentCardChanged", args);
    UpdateLinkButtons();
}

void InterfaceObject::UpdateLinkButtons()
{
    if (!m_window)
        return;
    int32_t index = m_window->CurrentCard();
    bool notFirst = index > 0;
    bool notLast = index < m_window->NumCards() - 1;
    ResolveLinks();
    const std::pair<int, bool> states[] = {
        {kFirstCardLink, notFirst}, {kPreviousCardLink, notFirst}, {kLastCardLink, notLast}, {kNextCardLink, notLast}};
    for (auto [link, enabled] : states) {
        if (Element* button = Links().Target(link))
            button->SetAttribute("Enabled", ValueType::Boolean, AttributeValue::OfBoolean(enabled));
    }
}

void InterfaceObject::SetBackBitmap(const MemoryBlock& picture)
{
    m_backBitmap = picture;
    if (m_backBitmap.Empty())
        m_background = kSolid;
    else if (m_background == kSolid || m_background == kGradient)
        m_background = kStretchedPicture;
    BackgroundChanged();
}

void InterfaceObject::BackgroundChanged()
{
    if (m_window)
        m_window->BackgroundChanged();
}

InterfaceWindow* InterfaceObject::RuntimeWindow() const
{
    return dynamic_cast<InterfaceWindow*>(m_window);
}

ChildInterface& InterfaceObject::Child()
{
    if (!m_child)
        m_child = std::make_unique<ChildInterface>(*this);
    return *m_child;
}

InterfaceWindow* InterfaceObject::ChildWindow() const
{
    return m_child ? m_child->Window() : nullptr;
}

void InterfaceObject::Show()
{
    if (!IsSelfRole())
        Child().Show();
}

void InterfaceObject::PrepareMedia()
{
    if (!IsSelfRole())
        Child().Prepare();
}

void InterfaceObject::Hide()
{
    if (!IsSelfRole() && m_child)
        m_child->Hide();
}

intptr_t InterfaceObject::WindowHandle() const
{
    InterfaceWindow* window = IsSelfRole() ? RuntimeWindow() : ChildWindow();
    return window && window->IsCreated() ? static_cast<intptr_t>(window->Handle()) : 0;
}

void InterfaceObject::HideChildWindow()
{
    if (m_child)
        m_child->UserClosed();
}

void InterfaceObject::ForgetShownDefinitions()
{
    // The shown Interface's definitions follow the element's own: remove the last match.
    auto& events = MutableDefinition().events;
    for (int32_t at = 0; at + EventDef::kRecordSize <= m_ownEvents.Size(); at += EventDef::kRecordSize) {
        EventDef def = EventDef::ReadRecord(m_ownEvents, at);
        auto found = std::find(events.rbegin(), events.rend(), def);
        if (found != events.rend())
            events.erase(std::next(found).base());
    }
    m_ownEvents.Clear();
    auto& attributes = MutableDefinition().attributes;
    for (const UserAttributeBlock::Record& record : SelfUserAttributes().Records()) {
        auto found = std::find_if(attributes.rbegin(), attributes.rend(), [&](const AttributeDef& def) {
            return def.flags == kSelfRecordAttributeFlags && def.type == record.type
                && NamesEqual(def.name, std::string_view(record.name).substr(0, kMaxDefinitionName));
        });
        if (found != attributes.rend())
            attributes.erase(std::next(found).base());
    }
    SelfUserAttributes().Clear();
}

void InterfaceObject::TimerTicked()
{
    InterfaceWindow* window = RuntimeWindow();
    ScriptHost* host = ScriptHost::Installed();
    if (host && host->InError()) {
        InterfaceTimer::Stop(window);
        return;
    }
    if (!m_timerCycles)
        InterfaceTimer::Stop(window);
    const AttributeValue args[] = {AttributeValue::OfLong(static_cast<int32_t>(InterfaceTimer::Elapsed())),
        AttributeValue::OfLong(InterfaceTimer::TimerId())};
    RaiseEvent("Timer", args);
}

int InterfaceObject::ExecuteEvent(std::string_view name, int32_t hotLink, std::span<const AttributeValue> params,
    bool* handled)
{
    if (!name.empty() && name.front() == '!')
        return Element::ExecuteEvent(name.substr(1), hotLink, params, handled);
    InterfaceWindow* own = IsSelfRole() ? nullptr : ChildWindow();
    if (!own)
        return Element::ExecuteEvent(name, hotLink, params, handled);
    // The Interface the child shows handles the event first, in its own window.
    InterfaceModel* parent = Parent();
    std::swap(Script(), m_ownScript);
    std::swap(Tokens(), m_ownTokens);
    SetParent(own);
    int ran = Element::ExecuteEvent(name, hotLink, params, handled);
    SetParent(parent);
    std::swap(Script(), m_ownScript);
    std::swap(Tokens(), m_ownTokens);
    if (auto* holder = dynamic_cast<InterfaceWindow*>(parent))
        holder->PostEvent(*this, "!" + std::string(name), params);
    return ran;
}

int InterfaceObject::WriteClassChunks(MemoryBlock& out) const
{
    if (IsSelfRole()) {
        MemoryBlock defi;
        ChunkWriter w(defi);
        w.Int32(m_cardWidth);
        w.Int32(m_cardHeight);
        w.Int32(m_timerInterval);
        w.Bool(m_timerCycles);
        w.Int32(m_background);
        w.Rgb(m_backColor);
        w.Rgb(m_gradientColor);
        out.WriteChunk(chunk::kDefi, defi);
        out.WriteChunk(chunk::kBPic, m_backBitmap);
        MemoryBlock palette;
        palette.Append(m_backPalette.Data(), std::min(m_backPalette.Size(), kMaxPaletteBytes));
        out.WriteChunk(chunk::kBPal, palette);
        return 3;
    }
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Int32(m_cardWidth);
    w.Int32(m_cardHeight);
    w.Bool(m_border);
    w.Int32(m_display);
    w.Int32(m_frameStyle);
    w.Int32(m_position);
    w.Int32(m_winLeft);
    w.Int32(m_winTop);
    w.PString(m_caption);
    w.Bool(m_modal);
    for (int link = 0; link < Links().Count(); ++link)
        w.Int32(Links().Id(link));
    out.WriteChunk(chunk::kDefn, defn);
    return 1;
}

bool InterfaceObject::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    ChunkReader r(payload);
    if (tag == chunk::kDefn) {
        m_cardWidth = r.Int32();
        m_cardHeight = r.Int32();
        m_border = r.Bool();
        m_display = r.Int32();
        m_frameStyle = r.Int32();
        m_position = r.Int32();
        m_winLeft = r.Int32();
        m_winTop = r.Int32();
        m_caption = r.PString().substr(0, AttributeValue::kMaxStringLength);
        m_modal = r.Bool();
        for (int link = 0; link < Links().Count(); ++link)
            Links().LoadId(link, r.Int32());
        return true;
    }
    if (tag == chunk::kDefi) {
        m_cardWidth = r.Int32();
        m_cardHeight = r.Int32();
        m_timerInterval = r.Int32();
        m_timerCycles = r.Bool();
        m_background = r.Int32();
        m_backColor = r.Rgb();
        m_gradientColor = r.Rgb();
        return true;
    }
    if (tag == chunk::kBPic) {
        m_backBitmap = payload;
        return true;
    }
    if (tag == chunk::kBPal) {
        m_backPalette = payload;
        return true;
    }
    return false;
}

}  // namespace tamber
