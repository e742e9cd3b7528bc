#include "elements/ButtonElement.h"

#include "elements/ControlElements.h"
#include "elements/ElementColors.h"
#include "iface/ChunkTags.h"
#include "iface/InterfaceModel.h"
#include "ui/ButtonControl.h"

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

// The framework button for each style but Transparent, and which pictures it takes: a
// 3BitmapButton has no highlight pictures, so those stay with the element.
struct StyleLook {
    ui::ButtonKind kind;
    bool pictures[ButtonElement::kBitmapCount];
};
constexpr StyleLook kStyleLooks[ButtonElement::kTransparent] = {
    {ui::ButtonKind::Push, {}},
    {ui::ButtonKind::Radio, {}},
    {ui::ButtonKind::Radio3d, {}},
    {ui::ButtonKind::Check, {}},
    {ui::ButtonKind::Check3d, {}},
    {ui::ButtonKind::ThreeState, {}},
    {ui::ButtonKind::Bitmap3, {true, false, true, false, true, true}},
    {ui::ButtonKind::Bitmap5, {true, true, true, true, true, true}},
};

// Control notifications that raise an event of the same meaning.
struct NoticeEvent {
    uint16_t code;
    const char* event;
};
constexpr NoticeEvent kNoticeEvents[] = {
    {ui::notify::kDoubleClicked, "DoubleClicked"},
    {ui::notify::kEnterKey, "EnterKeyPressed"},
    {ui::notify::kEscapeKey, "EscapeKeyPressed"},
    {ui::notify::kTabKey, "TabKeyPressed"},
};

// The bare start of a BMP file: what the element keeps of a picture the control holds.
constexpr char kPlaceholder[] = "BM";
constexpr int32_t kPlaceholderSize = 2;

bool IsPlaceholder(const MemoryBlock& picture)
{
    return picture.Size() == kPlaceholderSize && picture.Compare(0, kPlaceholder, kPlaceholderSize, Exact::Yes) == 0;
}

MemoryBlock Placeholder()
{
    MemoryBlock block;
    block.AppendString(kPlaceholder, Nul::Exclude);
    return block;
}

const MemoryBlock kNoPicture;

// A framework button that also holds the pictures it was given, as BMP file images, so that
// the element can read them back.
class ButtonFace : public ui::ButtonControl {
public:
    using ButtonControl::ButtonControl;
    std::array<MemoryBlock, ButtonElement::kBitmapCount> pictures;
};

// The Transparent style: a window that draws nothing and reports clicks.
class HotArea : public ui::TControl {
public:
    HotArea() { SetTabStop(ui::TabStop::No); }

protected:
    void ButtonDown(gfx::Point, uint32_t) override
    {
        SetCapture();
        m_pressed = true;
    }
    void ButtonUp(gfx::Point p, uint32_t) override
    {
        if (!HasCapture())
            return;
        ReleaseCapture();
        bool click = m_pressed && ClientRect().Contains(p);
        m_pressed = false;
        if (click)
            Notify(ui::notify::kClicked);
    }
    void DoubleClick(gfx::Point, uint32_t) override { Notify(ui::notify::kDoubleClicked); }

private:
    bool m_pressed = false;
};

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

bool IsBitmapStyle(int32_t style)
{
    return style == ButtonElement::k3BitmapButton || style == ButtonElement::k5BitmapButton;
}

}  // namespace

struct ButtonAccess {
    using B = ButtonElement;
    using V = AttributeValue;

    template<int Which>
    static void GetBitmap(const B& b, V& v)
    {
        v.SetBlock(b.Picture(static_cast<B::Bitmap>(Which)));
    }
    template<int Which>
    static int SetBitmap(B& b, const V& v)
    {
        b.m_bitmaps[Which] = v.Block();
        return 1;
    }
    static void GetState(const B& b, V& v) { v.SetEnum(static_cast<uint16_t>(b.GetState())); }

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
            {"State", ValueType::Enum, GetState,
                [](B& b, const V& v) {
                    b.SetState(v.Enum() < B::kStateCount ? v.Enum() : B::kStateCount - 1);
                    return 1;
                }},
            {"Style", ValueType::Enum, GetMember<&B::m_style>,
                [](B& b, const V& v) {
                    int32_t style = v.Enum() < B::kStyleCount ? v.Enum() : B::kStyleCount - 1;
                    if (style != b.m_style) {
                        b.m_style = style;
                        b.StyleChanged();
                    }
                    return 1;
                }},
            {"TextColor", ValueType::Color, GetMember<&B::m_textColor>, SetMember<&B::m_textColor>},
            {"TextFont", ValueType::Font, GetFontFace<&B::m_font>, SetFontFace<&B::m_font>},
            {"TextSize", ValueType::Long, GetFontSize<&B::m_font>, SetFontSize<&B::m_font>},
            {"TextStyle", ValueType::Enum, GetFontStyle<&B::m_font>, SetFontStyle<&B::m_font>},
        };
        return kTable;
    }
};

ButtonElement::ButtonElement(InterfaceModel* parent)
    : ControlElement(parent, ClassId::Button, kDefaultSize)
    , m_backColor(colors::kWhite)
    , m_textColor(colors::kBlack)
{
    SetLinkNames(ElementLinks({ "Audio : Play", "Audio : Stop", "Text : First Page", "Text : Last Page",
                                  "Text : Next Page", "Text : Previous Page", "Video : Play", "Video : Stop",
                                  "Video : Resume", "Interface : First Card", "Interface : Last Card",
                                  "Interface : Next Card", "Interface : Previous Card"},
        ElementLinks::Exclusive::Yes));
}

ButtonElement::~ButtonElement()
{
    Destroy();
}

int ButtonElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(ButtonAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::GetAttribute(name, type, value);
    // Reading the state takes the user's clicks into the field.
    if (result == 1 && NamesEqual(name, "State"))
        m_state = GetState();
    return result;
}

int ButtonElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(ButtonAccess::Table(), *this, name, type, value);
    if (result == kNotInTable) {
        result = ControlElement::SetAttribute(name, type, value);
        if (result == 1 && Control() && NamesEqual(name, "Name"))
            ApplyLook();
        return result;
    }
    if (result == 1 && ClassAttributeStored(name))
        ApplyLook();
    return result;
}

int32_t ButtonElement::GetState() const
{
    auto* button = dynamic_cast<ui::ButtonControl*>(Control());
    return button && button->IsCreated() ? button->CheckState() : m_state;
}

const MemoryBlock& ButtonElement::Picture(Bitmap which) const
{
    const MemoryBlock& held = m_bitmaps[which];
    if (!IsPlaceholder(held))
        return held;
    auto* face = dynamic_cast<ButtonFace*>(Control());
    return face ? face->pictures[which] : kNoPicture;
}

void ButtonElement::SetState(int32_t state)
{
    m_state = state;
    if (auto* button = dynamic_cast<ui::ButtonControl*>(Control()); button && button->CheckState() != state) {
        button->SetCheck(state);
        if (InterfaceModel* model = Parent())
            model->InvalidateElement(*this);
    }
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
                other->SetState(kUp);
        }
    }
}

void ButtonElement::Create()
{
    Destroy();
    ui::TWindow* host = PrepareHost();
    if (!host)
        return;
    std::unique_ptr<ui::TControl> control;
    if (m_style == kTransparent) {
        control = std::make_unique<HotArea>();
    } else {
        const StyleLook& look = kStyleLooks[m_style];
        auto face = std::make_unique<ButtonFace>(look.kind);
        // A bitmap style shows pictures only when it has an Up picture.
        if (IsBitmapStyle(m_style) && !m_bitmaps[kBitmapUp].Empty()) {
            ui::ButtonBitmaps images;
            std::shared_ptr<const gfx::Image>* slots[kBitmapCount] = {&images.up, &images.upHighlight,
                &images.down, &images.downHighlight, &images.disabled, &images.mask};
            for (int i = 0; i < kBitmapCount; ++i) {
                if (!look.pictures[i] || m_bitmaps[i].Empty() || IsPlaceholder(m_bitmaps[i]))
                    continue;
                *slots[i] = PictureToImage(m_bitmaps[i]);
                face->pictures[i] = std::move(m_bitmaps[i]);
                m_bitmaps[i] = Placeholder();
            }
            face->SetBitmaps(std::move(images));
        }
        face->SetCheck(m_state);
        control = std::move(face);
    }
    control->SetListener([this](ui::TControl&, uint16_t code) { Notified(code); });
    control->Create(host, GetName(), ControlRect(), Visibility::Hidden);
    AdoptControl(std::move(control));
    ApplyLook();
    ResolveLinks();
}

void ButtonElement::Show()
{
    ControlElement::Show();
    ResolveLinks();
}

ControlElement::Growth ButtonElement::ControlGrowth() const
{
    return m_style == kTransparent ? Growth::None : Growth::OnePixel;
}

void ButtonElement::ControlGoing()
{
    m_state = GetState();
    TakeBackPictures();
}

void ButtonElement::TakeBackPictures()
{
    auto* face = dynamic_cast<ButtonFace*>(Control());
    if (!face)
        return;
    for (int i = 0; i < kBitmapCount; ++i) {
        if (IsPlaceholder(m_bitmaps[i]))
            m_bitmaps[i] = std::move(face->pictures[i]);
    }
}

void ButtonElement::ApplyLook()
{
    ui::TControl& control = *Control();
    control.SetCaption(GetName());
    ApplyEnabled();
    if (auto* button = dynamic_cast<ui::ButtonControl*>(&control)) {
        button->SetBackColor(m_backColor);
        button->SetTextColor(m_textColor);
        button->SetFont(ControlFont(m_font));
        button->SetDrawCaption(m_drawName || !IsBitmapStyle(m_style) ? ui::DrawCaption::Yes : ui::DrawCaption::No);
        if (button->CheckState() != m_state)
            button->SetCheck(m_state);
    }
    if (InterfaceModel* model = Parent())
        model->InvalidateElement(*this);
}

void ButtonElement::StyleChanged()
{
    if (!Control())
        return;
    bool shown = Control()->IsShown();
    Create();
    if (shown && Control())
        Control()->Show();
}

void ButtonElement::Notified(uint16_t code)
{
    ControlNotice notice;
    if (code == ui::notify::kClicked) {
        Click();
        return;
    }
    for (const NoticeEvent& entry : kNoticeEvents) {
        if (entry.code == code) {
            RaiseEvent(entry.event);
            return;
        }
    }
}

void ButtonElement::Click()
{
    m_state = GetState();
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
    w.Int(GetState(), 1);
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
        // A placeholder the control cannot resolve writes nothing.
        const MemoryBlock& picture = Picture(static_cast<Bitmap>(i));
        if (picture.Empty() || IsPlaceholder(picture))
            continue;
        out.WriteChunk(kBitmapTags[i], picture);
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
        if (m_style < 0 || m_style >= kStyleCount)
            m_style = kPushButton;
        m_drawName = r.Bool();
        m_state = r.Int(1);
        if (m_state < 0 || m_state >= kStateCount)
            m_state = kUp;
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
