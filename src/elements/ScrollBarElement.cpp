#include "elements/ScrollBarElement.h"

#include "elements/ElementHost.h"
#include "elements/NotificationSink.h"
#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"
#include "iface/InterfaceModel.h"
#include "ui/ScrollBarControl.h"

namespace tamber {

namespace {

// Link attributes, in class table order.
enum Link { kAudioNavigate, kVideoNavigate, kTextNavigate };

// Scroll codes that raise "PositionChanged": line and page steps, and a position set at once.
bool RaisesPositionChanged(int32_t code)
{
    return (code >= ui::scroll::kLineUp && code <= ui::scroll::kPageDown)
        || code == ScrollBarElement::kPositionSet;
}

bool IsPlaying(Element& element)
{
    AttributeValue playing;
    return element.GetAttribute("Playing", ValueType::Boolean, playing) == 1 && playing.Boolean();
}

void Call(Element& element, std::string_view method, std::span<const AttributeValue> params = {})
{
    AttributeValue result;
    element.CallMethod(method, params, result);
}

}  // namespace

struct ScrollBarAccess {
    using S = ScrollBarElement;
    using V = AttributeValue;

    static std::span<const AttributeAccessor<S>> Table()
    {
        static const AttributeAccessor<S> kTable[] = {
            {"Max", ValueType::Long, GetMember<&S::m_max>, SetMember<&S::m_max>},
            {"Min", ValueType::Long, GetMember<&S::m_min>, SetMember<&S::m_min>},
            {"Page", ValueType::Long, GetMember<&S::m_page>, SetAtLeastOne<&S::m_page>},
            {"Position", ValueType::Long, GetMember<&S::m_position>,
                [](S& s, const V& v) { return s.SetPosition(v.Long()); }},
            {"Style", ValueType::Enum, GetMember<&S::m_style>, SetEnumBelow<&S::m_style, 2>},
        };
        return kTable;
    }
};

ScrollBarElement::ScrollBarElement(InterfaceModel* parent) : Element(parent)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::ScrollBar));
    SetLinkNames(ElementLinks({"Audio : Navigate", "Video : Navigate", "Text : Navigate"},
        ElementLinks::Exclusive::Yes));
}

ScrollBarElement::~ScrollBarElement()
{
    Destroy();
}

intptr_t ScrollBarElement::WindowHandle() const
{
    return m_control && m_control->IsCreated() ? m_control->Handle() : 0;
}

int ScrollBarElement::SetPosition(int32_t position)
{
    if (position > m_max)
        position = m_max;
    if (position < m_min)
        position = m_min;
    if (position == m_position)
        return 1;
    m_position = position;
    if (m_control) {
        m_control->SetPos(position);
        InvalidateOnParent();
        Scrolled(kPositionSet);
    }
    return 1;
}

int ScrollBarElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(ScrollBarAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int ScrollBarElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(ScrollBarAccess::Table(), *this, name, type, value);
    if (result == kNotInTable) {
        result = Element::SetAttribute(name, type, value);
        // The common "Enabled" reaches the control too.
        if (result == 1 && m_control && NamesEqual(name, "Enabled")) {
            if (IsEnabled())
                m_control->Enable();
            else
                m_control->Disable();
        }
        return result;
    }
    if (result != 1)
        return result;
    MarkModified();
    if (!m_control)
        return result;
    const AttributeDef* def = FindAttribute(AttributeTable(), name);
    if (def && (def->flags & AF_RECONSTRUCT)) {
        Destroy();
        Show();
    } else if (NamesEqual(name, "Min") || NamesEqual(name, "Max")) {
        m_control->SetRange(m_min, m_max);
        InvalidateOnParent();
    } else if (NamesEqual(name, "Page")) {
        m_control->SetPage(m_page);
    }
    return result;
}

void ScrollBarElement::InvalidateOnParent()
{
    if (ui::TWindow* parent = HostWindowOf(*this))
        parent->Invalidate(ControlRect(*this));
}

void ScrollBarElement::ApplyDefaultSize()
{
    CardRect frame = GetFrame();
    if (frame.width > 0 && frame.height > 0)
        return;
    SetFrame(CardRect {frame.left + kDefaultSize.left, frame.top + kDefaultSize.top, kDefaultSize.width,
        kDefaultSize.height});
}

void ScrollBarElement::Create()
{
    ApplyDefaultSize();
    if (m_notifying == 0)
        m_retired.clear();
    if (m_control)
        return;
    ui::TWindow* parent = HostWindowOf(*this);
    if (!parent)
        return;
    InvalidateOnParent();
    auto sink = std::make_unique<NotificationSink>(
        [this](uint16_t code) {
            ++m_notifying;
            CommandNotified(code);
            --m_notifying;
        },
        [this](uint16_t code) {
            ++m_notifying;
            Scrolled(code);
            --m_notifying;
        });
    if (!sink->Create(parent, "", gfx::Rect {}))
        return;
    auto control = std::make_unique<ui::ScrollBarControl>(
        m_style == kVertical ? ui::Orientation::Vertical : ui::Orientation::Horizontal);
    control->SetOwner(sink.get());
    if (!control->Create(parent, GetName(), ControlRect(*this))) {
        sink->Destroy();
        return;
    }
    m_sink = std::move(sink);
    m_control = std::move(control);
    m_control->SetRange(m_min, m_max);
    m_control->SetPage(m_page);
    m_control->SetPos(m_position);
    if (!IsEnabled())
        m_control->Disable();
    ResolveLinks();
}

void ScrollBarElement::Show()
{
    if (!IsOnShownCard(*this))
        return;
    Create();
    if (m_control)
        m_control->Show();
}

void ScrollBarElement::Hide()
{
    if (m_control)
        m_control->Hide();
}

void ScrollBarElement::Destroy()
{
    if (!m_control)
        return;
    std::unique_ptr<ui::ScrollBarControl> control = std::move(m_control);
    std::unique_ptr<NotificationSink> sink = std::move(m_sink);
    control->Destroy();
    sink->Destroy();
    if (m_notifying > 0) {
        m_retired.push_back(std::move(control));
        m_retired.push_back(std::move(sink));
    }
    m_dragging = false;
    m_wasPlaying = false;
}

void ScrollBarElement::CommandNotified(uint16_t code)
{
    static constexpr struct {
        uint16_t code;
        const char* event;
    } kKeyEvents[] = {
        {ui::notify::kEnterKey, "EnterKeyPressed"},
        {ui::notify::kEscapeKey, "EscapeKeyPressed"},
        {ui::notify::kTabKey, "TabKeyPressed"},
    };
    for (const auto& entry : kKeyEvents) {
        if (entry.code == code)
            RaiseEvent(entry.event);
    }
}

void ScrollBarElement::Scrolled(int32_t code)
{
    if (m_control)
        m_position = m_control->Pos();
    const int32_t position = m_position;
    const bool dragging = code == kThumbDragging;
    const bool firstDrag = dragging && !m_dragging;
    m_dragging = dragging;

    if (Element* audio = Links().Target(kAudioNavigate)) {
        if (firstDrag) {
            m_wasPlaying = IsPlaying(*audio);
            if (m_wasPlaying)
                Call(*audio, "Play");
        } else if (!dragging) {
            audio->SetAttribute("Position", ValueType::Long, AttributeValue::OfLong(position * kAudioUnitsPerStep));
            if (m_wasPlaying)
                Call(*audio, "Play");
            m_wasPlaying = false;
        }
    }
    if (Element* video = Links().Target(kVideoNavigate)) {
        if (firstDrag) {
            m_wasPlaying = IsPlaying(*video);
        } else if (!dragging) {
            m_wasPlaying = IsPlaying(*video);
            if (!m_wasPlaying) {
                const AttributeValue frame[] = {AttributeValue::OfLong(position)};
                Call(*video, "GotoFrame", frame);
            }
        }
    }
    if (Element* text = Links().Target(kTextNavigate); text && !dragging)
        text->SetAttribute("PageNum", ValueType::Long, AttributeValue::OfLong(position));

    const AttributeValue args[] = {AttributeValue::OfLong(position)};
    if (dragging)
        RaiseEvent("Tracking", args);
    else if (RaisesPositionChanged(code))
        RaiseEvent("PositionChanged", args);
}

int ScrollBarElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Int32(m_style);
    w.Int32(m_min);
    w.Int32(m_max);
    w.Int32(m_page);
    w.Int32(m_position);
    w.Int32(Links().Id(kTextNavigate));
    w.Int32(Links().Id(kAudioNavigate));
    w.Int32(Links().Id(kVideoNavigate));
    out.WriteChunk(chunk::kDefn, defn);
    return 1;
}

bool ScrollBarElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kDefn)
        return false;
    ChunkReader r(payload);
    m_style = r.Int32();
    m_min = r.Int32();
    m_max = r.Int32();
    m_page = r.Int32();
    m_position = r.Int32();
    Links().LoadId(kTextNavigate, r.Int32());
    Links().LoadId(kAudioNavigate, r.Int32());
    Links().LoadId(kVideoNavigate, r.Int32());
    return true;
}

}  // namespace tamber
