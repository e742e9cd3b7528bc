#include "elements/ScrollBarElement.h"

#include "elements/ControlElements.h"
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

ScrollBarElement::ScrollBarElement(InterfaceModel* parent)
    : ControlElement(parent, ClassId::ScrollBar, kDefaultSize)
{
    SetLinkNames(ElementLinks(
        {"Audio : Navigate", "Video : Navigate", "Text : Navigate"}, ElementLinks::Exclusive::Yes));
}

ScrollBarElement::~ScrollBarElement()
{
    Destroy();
}

ui::ScrollBarControl* ScrollBarElement::Bar() const
{
    return static_cast<ui::ScrollBarControl*>(Control());
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
    if (ui::ScrollBarControl* bar = Bar()) {
        bar->SetPos(position);
        InvalidateControlRect();
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
    if (result == kNotInTable)
        return ControlElement::SetAttribute(name, type, value);
    if (result != 1 || !ClassAttributeStored(name))
        return result;
    if (NamesEqual(name, "Min") || NamesEqual(name, "Max")) {
        // A range that ends below its start is kept but not shown.
        if (m_max >= m_min)
            Bar()->SetRange(m_min, m_max);
        InvalidateControlRect();
    } else if (NamesEqual(name, "Page")) {
        Bar()->SetPage(m_page);
    }
    return result;
}

void ScrollBarElement::Create()
{
    if (Control())
        return;
    ui::TWindow* host = PrepareHost();
    if (!host)
        return;
    // Scroll and command notices reach the element through a hidden owner of the control.
    auto sink = std::make_unique<NotificationSink>(
        [this](uint16_t code) {
            ControlNotice notice;
            CommandNotified(code);
        },
        [this](uint16_t code) {
            ControlNotice notice;
            Scrolled(code);
        });
    if (!sink->Create(host, "", gfx::Rect {}))
        return;
    auto control = std::make_unique<ui::ScrollBarControl>(
        m_style == kVertical ? ui::Orientation::Vertical : ui::Orientation::Horizontal);
    control->SetOwner(sink.get());
    if (!control->Create(host, GetName(), ControlRect(), Visibility::Hidden)) {
        sink->Destroy();
        return;
    }
    control->SetRange(m_min, m_max);
    control->SetPage(m_page);
    control->SetPos(m_position);
    AdoptControl(std::move(control), std::move(sink));
    ApplyEnabled();
    ResolveLinks();
}

void ScrollBarElement::ControlGoing()
{
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
    if (ui::ScrollBarControl* bar = Bar())
        m_position = bar->Pos();
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
