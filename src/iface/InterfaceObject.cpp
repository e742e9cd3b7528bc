#include "iface/InterfaceObject.h"

#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"
#include "iface/InterfaceModel.h"

namespace tamber {

namespace {

// "LastCard" asks for a number past any real Card; it is lowered to the last one.
constexpr int32_t kLastCardNumber = 99999;

constexpr int kFirstCardLink = 0;
constexpr int kLastCardLink = 1;
constexpr int kNextCardLink = 2;
constexpr int kPreviousCardLink = 3;

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
        {"BackColor", ValueType::Color, GetMember<&I::m_backColor>, SetMember<&I::m_backColor>},
        {"BackGradient", ValueType::Color, GetMember<&I::m_gradientColor>, SetMember<&I::m_gradientColor>},
        {"Background", ValueType::Enum, GetMember<&I::m_background>, SetEnumBelow<&I::m_background, 4>},
        {"BackPalette", ValueType::Palette, GetMember<&I::m_backPalette>, SetMember<&I::m_backPalette>},
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
        {"hPalette", ValueType::Long, [](const I&, V& v) { v.SetLong(0); }, nullptr},
        {"Modal", ValueType::Boolean, GetMember<&I::m_modal>, SetMember<&I::m_modal>},
        {"MouseDown", ValueType::Boolean, [](const I&, V& v) { v.SetBoolean(false); }, nullptr},
        {"MouseX", ValueType::Long, [](const I&, V& v) { v.SetLong(0); }, nullptr},
        {"MouseY", ValueType::Long, [](const I&, V& v) { v.SetLong(0); }, nullptr},
        {"NumCards", ValueType::Long,
            [](const I& i, V& v) { v.SetLong(i.m_window ? i.m_window->NumCards() : 0); }, nullptr},
        // The child's own window exists only once it is opened by the window runtime.
        {"Opened", ValueType::Boolean, [](const I&, V& v) { v.SetBoolean(false); }, nullptr},
        {"Position", ValueType::Enum, GetMember<&I::m_position>, SetEnumBelow<&I::m_position, 3>},
        {"TimerCycles", ValueType::Boolean, GetMember<&I::m_timerCycles>, SetMember<&I::m_timerCycles>},
        {"TimerInterval", ValueType::Long, GetMember<&I::m_timerInterval>, SetMember<&I::m_timerInterval>},
        {"WinHeight", ValueType::Long, [](const I&, V& v) { v.SetLong(0); }, nullptr},
        {"WinLeft", ValueType::Long, GetMember<&I::m_winLeft>, SetMember<&I::m_winLeft>},
        {"WinTop", ValueType::Long, GetMember<&I::m_winTop>, SetMember<&I::m_winTop>},
        {"WinWidth", ValueType::Long, [](const I&, V& v) { v.SetLong(0); }, nullptr},
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
        // Elements load their media when shown; there is nothing to prepare ahead here.
    } else {
        // FIXME: "Open", "Close", the palette and timer methods belong to the interface window
        // runtime, which is not built yet; until then they fall through as unknown.
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
