#include "elements/ButtonElement.h"

#include "elements/ElementColors.h"
#include "iface/ChunkTags.h"
#include "iface/InterfaceModel.h"

namespace tamber {

namespace {

// Link attributes, in class table order.
enum Link {
    kAudioPlay, kAudioStop, kTextFirstPage, kTextLastPage, kTextNextPage, kTextPreviousPage,
    kVideoPlay, kVideoStop, kVideoResume, kInterfaceFirstCard, kInterfaceLastCard,
    kInterfaceNextCard, kInterfacePreviousCard
};

// The order of the link ids in "Defn": ten, then the two Audio links; "Video : Resume" comes
// after the group.
constexpr Link kStoredLinks[] = {kTextPreviousPage, kTextNextPage, kTextFirstPage, kTextLastPage,
    kVideoPlay, kVideoStop, kInterfaceFirstCard, kInterfaceLastCard, kInterfaceNextCard,
    kInterfacePreviousCard, kAudioPlay, kAudioStop};

// Links answered by calling a method of the linked element.
struct MethodLink {
    Link link;
    const char* method;
};
constexpr MethodLink kMethodLinks[] = {
    {kAudioPlay, "Play"}, {kAudioStop, "Stop"}, {kVideoPlay, "Play"}, {kVideoResume, "Resume"},
    {kVideoStop, "Stop"}, {kInterfaceFirstCard, "FirstCard"}, {kInterfaceLastCard, "LastCard"},
    {kInterfaceNextCard, "NextCard"}, {kInterfacePreviousCard, "PreviousCard"},
};

// The bitmap chunks, by bitmap.
constexpr std::string_view kBitmapTags[ButtonElement::kBitmapCount] = {"BUp", "BUpH", "BDn", "BDnH", "BDs", "BMs"};

// While a bitmap Button is shown its pictures live in the control and the element keeps only
// the first two bytes of a BMP file.
bool IsPlaceholder(const MemoryBlock& picture)
{
    return picture.Size() == 2 && picture.Compare(0, "BM", 2, Exact::Yes) == 0;
}

int32_t ReadLong(Element& element, std::string_view name)
{
    AttributeValue value;
    element.GetAttribute(name, ValueType::Long, value);
    return value.Long();
}

void WriteLong(Element& element, std::string_view name, int32_t number)
{
    element.SetAttribute(name, ValueType::Long, AttributeValue::OfLong(number));
}

}  // namespace

struct ButtonAccess {
    using B = ButtonElement;
    using V = AttributeValue;

    template<int Which>
    static void GetBitmap(const B& b, V& v)
    {
        v.SetBlock(b.m_bitmaps[Which]);
    }
    template<int Which>
    static int SetBitmap(B& b, const V& v)
    {
        b.m_bitmaps[Which] = v.Block();
        return 1;
    }

    static std::span<const AttributeAccessor<B>> Table()
    {
        static const AttributeAccessor<B> kTable[] = {
            {"BackColor", ValueType::Color, GetMember<&B::m_backColor>, SetMember<&B::m_backColor>},
            {"BitmapDisabled", ValueType::Picture, GetBitmap<B::kBitmapDisabled>, SetBitmap<B::kBitmapDisabled>},
            {"BitmapDown", ValueType::Picture, GetBitmap<B::kBitmapDown>, SetBitmap<B::kBitmapDown>},
            {"BitmapDownHighlight", ValueType::Picture, GetBitmap<B::kBitmapDownHighlight>,
                SetBitmap<B::kBitmapDownHighlight>},
            {"BitmapMask", ValueType::Picture, GetBitmap<B::kBitmapMask>, SetBitmap<B::kBitmapMask>},
            {"BitmapUp", ValueType::Picture, GetBitmap<B::kBitmapUp>, SetBitmap<B::kBitmapUp>},
            {"BitmapUpHighlight", ValueType::Picture, GetBitmap<B::kBitmapUpHighlight>,
                SetBitmap<B::kBitmapUpHighlight>},
            {"DrawName", ValueType::Boolean, GetMember<&B::m_drawName>, SetMember<&B::m_drawName>},
            {"Group", ValueType::String, GetMember<&B::m_group>,
                [](B& b, const V& v) { return b.m_group = v.String().substr(0, B::kMaxGroupLength), 1; }},
            {"State", ValueType::Enum, GetMember<&B::m_state>,
                [](B& b, const V& v) {
                    b.SetState(v.Enum() < B::kStateCount ? v.Enum() : B::kStateCount - 1);
                    return 1;
                }},
            {"Style", ValueType::Enum, GetMember<&B::m_style>, SetEnumBelow<&B::m_style, B::kStyleCount>},
            {"TextColor", ValueType::Color, GetMember<&B::m_textColor>, SetMember<&B::m_textColor>},
            {"TextFont", ValueType::Font, GetFontFace<&B::m_font>, SetFontFace<&B::m_font>},
            {"TextSize", ValueType::Long, GetFontSize<&B::m_font>, SetFontSize<&B::m_font>},
            {"TextStyle", ValueType::Enum, GetFontStyle<&B::m_font>, SetFontStyle<&B::m_font>},
        };
        return kTable;
    }
};

ButtonElement::ButtonElement(InterfaceModel* parent)
    : Element(parent), m_backColor(colors::kWhite), m_textColor(colors::kBlack)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Button));
    SetLinkNames(ElementLinks({"Audio : Play", "Audio : Stop", "Text : First Page", "Text : Last Page",
                                  "Text : Next Page", "Text : Previous Page", "Video : Play", "Video : Stop",
                                  "Video : Resume", "Interface : First Card", "Interface : Last Card",
                                  "Interface : Next Card", "Interface : Previous Card"},
        ElementLinks::Exclusive::Yes));
}

int ButtonElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(ButtonAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int ButtonElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(ButtonAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
}

void ButtonElement::SetState(int32_t state)
{
    m_state = state;
    InterfaceModel* model = Parent();
    if (state == kUp || m_group.empty() || !model)
        return;
    for (Card* card : {&model->Background(), model->CardAt(model->CurrentCard())}) {
        if (!card)
            continue;
        for (auto& element : card->elements) {
            if (element.get() == this || !NamesEqual(element->GetTypeName(), "Button"))
                continue;
            auto* other = static_cast<ButtonElement*>(element.get());
            if (NamesEqual(other->m_group, m_group))
                other->m_state = kUp;
        }
    }
}

void ButtonElement::Show()
{
    ResolveLinks();
}

void ButtonElement::Click()
{
    if (!m_group.empty())
        SetState(kDown);
    ActOnLink();
    RaiseEvent("Clicked");
}

void ButtonElement::ActOnLink()
{
    int link = -1;
    for (int i = 0; i < Links().Count(); ++i) {
        if (Links().Id(i) != 0)
            link = i;
    }
    if (link < 0)
        return;
    if (!Links().Target(link))
        ResolveLinks();
    Element* target = Links().Target(link);
    if (!target)
        return;
    for (const MethodLink& action : kMethodLinks) {
        if (action.link == link) {
            AttributeValue result;
            target->CallMethod(action.method, {}, result);
            return;
        }
    }
    // The Text links page a paged Text, or scroll a scrolling one (no columns) by a sixteenth
    // of its height.
    bool scrolling = ReadLong(*target, "NumColumns") == 0;
    const char* position = scrolling ? "ScrollPosition" : "PageNum";
    int32_t step = scrolling ? (target->GetFrame().height - 2) / 16 : 1;
    switch (link) {
    case kTextPreviousPage:
        WriteLong(*target, position, ReadLong(*target, position) - step);
        break;
    case kTextNextPage:
        WriteLong(*target, position, ReadLong(*target, position) + step);
        break;
    case kTextFirstPage:
        WriteLong(*target, position, 1);
        break;
    case kTextLastPage:
        WriteLong(*target, position, ReadLong(*target, scrolling ? "ScrollMax" : "NumPages"));
        break;
    default:
        break;
    }
}

int ButtonElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Int(m_style, 1);
    w.Bool(m_drawName);
    w.Int(m_state, 1);
    w.Rgb(m_backColor);
    m_font.Write(w);
    w.Rgb(m_textColor);
    for (Link link : kStoredLinks)
        w.Int32(Links().Id(link));
    w.PString(m_group);
    w.Int32(Links().Id(kVideoResume));
    out.WriteChunk(chunk::kDefn, defn);
    int chunks = 1;
    for (int i = 0; i < kBitmapCount; ++i) {
        if (m_bitmaps[i].Empty() || IsPlaceholder(m_bitmaps[i]))
            continue;
        out.WriteChunk(kBitmapTags[i], m_bitmaps[i]);
        ++chunks;
    }
    return chunks;
}

bool ButtonElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    tag = chunk::Trimmed(tag);
    if (tag == chunk::kDefn) {
        // Earlier versions end the chunk after the ten links, the Audio links or the group;
        // the fields they lack read as 0 or empty.
        ChunkReader r(payload);
        m_style = r.Int(1);
        m_drawName = r.Bool();
        m_state = r.Int(1);
        m_backColor = r.Rgb();
        m_font.Read(r);
        m_textColor = r.Rgb();
        for (Link link : kStoredLinks)
            Links().LoadId(link, r.Int32());
        m_group = r.PString().substr(0, kMaxGroupLength);
        Links().LoadId(kVideoResume, r.Int32());
        for (MemoryBlock& bitmap : m_bitmaps)
            bitmap.Clear();
        return true;
    }
    for (int i = 0; i < kBitmapCount; ++i) {
        if (tag == kBitmapTags[i]) {
            m_bitmaps[i] = payload;
            return true;
        }
    }
    return false;
}

}  // namespace tamber
