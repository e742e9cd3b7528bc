#include "elements/GraphicElement.h"

#include <cstdio>

#include "db/MediaDatabase.h"
#include "elements/ControlElements.h"
#include "elements/ElementColors.h"
#include "elements/ElementHost.h"
#include "elements/GraphicView.h"
#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"
#include "iface/ElementView.h"
#include "iface/InterfaceModel.h"
#include "media/Canvas.h"
#include "media/GraphicMedium.h"
#include "media/ScreenContext.h"
#include "platform/FileSystem.h"
#include "platform/MessageSink.h"

namespace tamber {

struct GraphicAccess {
    using G = GraphicElement;

    static std::span<const AttributeAccessor<G>> Table()
    {
        static const AttributeAccessor<G> kTable[] = {
            {"BackColor", ValueType::Color, GetMember<&G::m_backColor>, SetMember<&G::m_backColor>},
            {"Border", ValueType::Boolean, GetMember<&G::m_border>, SetMember<&G::m_border>},
            {"Display", ValueType::Enum, GetMember<&G::m_display>, SetEnumBelow<&G::m_display, 4>},
            {"TransitionEffect", ValueType::Enum, GetMember<&G::m_transition>,
                SetEnumBelow<&G::m_transition, G::kTransitionCount>},
            {"YieldOnAnimate", ValueType::Boolean, GetMember<&G::m_yieldOnAnimate>, SetMember<&G::m_yieldOnAnimate>},
            {"OptimizeSpace", ValueType::Boolean, GetMember<&G::m_optimizeSpace>, SetMember<&G::m_optimizeSpace>},
            {"Transparent", ValueType::Boolean, GetMember<&G::m_transparent>, SetMember<&G::m_transparent>},
            {"DrawingTool", ValueType::Enum, GetMember<&G::m_drawingTool>, SetMember<&G::m_drawingTool>},
            {"Mode", ValueType::Enum, GetMember<&G::m_mode>, SetMember<&G::m_mode>},
            {"FillColor", ValueType::Color, GetMember<&G::m_fillColor>, SetMember<&G::m_fillColor>},
            {"LineColor", ValueType::Color, GetMember<&G::m_lineColor>, SetMember<&G::m_lineColor>},
            {"LineWidth", ValueType::Long, GetMember<&G::m_lineWidth>, SetMember<&G::m_lineWidth>},
            {"TextFont", ValueType::Font, GetMember<&G::m_textFont>, SetMember<&G::m_textFont>},
            {"TextSize", ValueType::Long, GetMember<&G::m_textSize>, SetMember<&G::m_textSize>},
            {"TextStyle", ValueType::Enum, GetMember<&G::m_textStyle>, SetMember<&G::m_textStyle>},
        };
        return kTable;
    }
};

// What the view reports, raised as the element's events; also where the medium's messages go.
class GraphicElement::Events : public GraphicView::Listener, public MessageSink {
public:
    explicit Events(GraphicElement& element) : m_element(element) { }

    // Each event runs inside a notice, so that a handler that hides the element leaves the view
    // alive until its own handler has returned.
    void OverHotLink(int32_t linkId) override
    {
        ControlNotice notice;
        const AttributeValue params[] = {AttributeValue::OfString("")};
        m_element.ExecuteEvent("OverHotLink", linkId, params);
    }
    void HotLinkClicked(int32_t linkId, gfx::Point at) override
    {
        ControlNotice notice;
        const AttributeValue params[]
            = {AttributeValue::OfString(""), AttributeValue::OfLong(at.x), AttributeValue::OfLong(at.y)};
        m_element.ExecuteEvent("HotLinkClicked", linkId, params);
    }
    void AnimationEnded() override
    {
        ControlNotice notice;
        m_element.ExecuteEvent("AnimationEnded", -1, {});
    }
    void ShowMessage(MessageKind, const std::string& caption, const std::string& text) override
    {
        m_element.Message(caption, text);
    }

private:
    GraphicElement& m_element;
};

GraphicElement::GraphicElement(InterfaceModel* parent)
    : Element(parent), m_events(std::make_unique<Events>(*this)), m_backColor(colors::kWhite),
      m_lineColor(colors::kBlack), m_fillColor(colors::kWhite)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Graphic));
}

GraphicElement::~GraphicElement()
{
    Destroy();
}

void GraphicElement::Message(const std::string& caption, const std::string& text)
{
    if (Parent() && Parent()->Screen())
        Parent()->Screen()->ShowMessage(text, caption, MessageButtons::Ok);
}

void GraphicElement::Create()
{
    ui::TWindow* host = HostWindowOf(*this);
    ScreenContext* screen = Parent() ? Parent()->Screen() : nullptr;
    if (!host || !screen || m_view)
        return;
    auto view = std::make_unique<GraphicView>(*screen, *m_events);
    gfx::Rect rect = ElementView::ClientRect(*this);
    rect.right += 1;
    rect.bottom += 1;
    if (!view->Create(host, "", rect, Visibility::Hidden))
        return;
    view->SetDisplay(m_display, EditMode());
    view->SetOptimizeSpace(m_optimizeSpace);
    view->SetBackColor(m_backColor);
    view->SetYieldOnAnimate(m_yieldOnAnimate);
    m_view = std::move(view);
    if (!GetMedia().IsNone())
        LoadMedium(m_transition);
}

void GraphicElement::Show()
{
    if (!IsOnShownCard(*this))
        return;
    if (!m_view)
        Create();
    if (m_view)
        m_view->Show();
}

void GraphicElement::Hide()
{
    Destroy();
}

void GraphicElement::Destroy()
{
    if (!m_view)
        return;
    m_view->StopAnimation();
    // The view may be going from within one of its own handlers.
    RetireControl(std::move(m_view));
}

intptr_t GraphicElement::WindowHandle() const
{
    return m_view && m_view->IsCreated() ? static_cast<intptr_t>(m_view->Handle()) : 0;
}

void GraphicElement::SetMedia(const MediaDatabase* database, int32_t mediaId)
{
    SetMediaWithTransition(database, mediaId, m_transition);
}

void GraphicElement::SetMediaWithTransition(const MediaDatabase* database, int32_t mediaId, int32_t effect)
{
    Element::SetMedia(database, mediaId);
    if (m_view)
        LoadMedium(effect);
}

void GraphicElement::LoadMedium(int32_t effect)
{
    MediaRef media = GetMedia();
    MediaDatabase* db = const_cast<MediaDatabase*>(media.database);
    if (media.IsNone() || !db) {
        m_view->SetMedium(nullptr, effect);
        return;
    }
    auto medium = std::make_unique<GraphicMedium>(
        db, GraphicFiles {&FileSystem::Native(), nullptr, db->DatabaseFolder()}, m_events.get());
    switch (medium->Load(static_cast<uint32_t>(media.mediaId))) {
    case GraphicMedium::Status::Ok:
        break;
    case GraphicMedium::Status::CanvasFailed:
        // The picture stands without its canvas.
        medium->GetCanvas().Clear();
        break;
    case GraphicMedium::Status::FileMissing: {
        char text[512];
        std::snprintf(text, sizeof text, kFileText, medium->ExternalFile().c_str());
        Message(kFileCaption, text);
        m_view->SetMedium(nullptr, 0);
        return;
    }
    case GraphicMedium::Status::NoPicture:
        Message(Canvas::kMemoryCaption, Canvas::kMemoryText);
        m_view->SetMedium(nullptr, 0);
        return;
    default:
        m_view->SetMedium(nullptr, effect);
        return;
    }
    GraphicView* view = m_view.get();
    view->SetMedium(std::move(medium), effect);
    CardRect frame = GetFrame();
    if (frame.width == 0 || frame.height == 0) {
        const int32_t width = view->PictureWidth();
        const int32_t height = view->PictureHeight();
        SetFrame(CardRect {frame.left - width / 2, frame.top - height / 2, width, height});
        gfx::Rect rect = ElementView::ClientRect(*this);
        view->SetRect(gfx::Rect {rect.left, rect.top, rect.right + 1, rect.bottom + 1});
    }
}

int GraphicElement::CallMethod(std::string_view name, std::span<const AttributeValue> params, AttributeValue& result)
{
    static constexpr std::string_view kOwn[] = {"Animate", "GetMaxScrollX", "GetMaxScrollY", "GetScrollX",
        "GetScrollY", "Print", "ScrollTo", "StepAnimation", "StopAnimation"};
    bool own = false;
    for (std::string_view method : kOwn)
        own = own || NamesEqual(name, method);
    if (!own)
        return Element::CallMethod(name, params, result);
    if (!m_view)
        return 1;
    auto stringAt = [&](size_t i) { return i < params.size() ? params[i].String() : std::string(); };
    auto longAt = [&](size_t i) { return i < params.size() ? params[i].Long() : 0; };
    const GraphicLayout& layout = m_view->Layout();
    if (NamesEqual(name, "Animate"))
        m_view->Animate(stringAt(0));
    else if (NamesEqual(name, "StepAnimation"))
        result.SetBoolean(m_view->StepAnimation(stringAt(0), longAt(1)));
    else if (NamesEqual(name, "StopAnimation"))
        m_view->StopAnimation();
    else if (NamesEqual(name, "GetMaxScrollX"))
        result.SetLong(layout.MaxScrollX());
    else if (NamesEqual(name, "GetMaxScrollY"))
        result.SetLong(layout.MaxScrollY());
    else if (NamesEqual(name, "GetScrollX"))
        result.SetLong(layout.ScrollX());
    else if (NamesEqual(name, "GetScrollY"))
        result.SetLong(layout.ScrollY());
    else if (NamesEqual(name, "ScrollTo"))
        m_view->ScrollTo(longAt(0), longAt(1));
    // "Print": the player has no printing; the call succeeds and prints nothing.
    return 1;
}

int GraphicElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(GraphicAccess::Table(), *this, name, type, value);
    return result == 1 ? 1 : Element::GetAttribute(name, type, value);
}

int GraphicElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    if (EditMode() && type == ValueType::Enum && NamesEqual(name, "Display")
        && (value.Enum() == kStretch || value.Enum() == kBestFit)) {
        Message("Error", kDisplayRefusal);
        return 1;
    }
    int result = SetThroughTable(GraphicAccess::Table(), *this, name, type, value);
    if (result != 1)
        return Element::SetAttribute(name, type, value);
    MarkModified();
    if (!m_view)
        return 1;
    if (NamesEqual(name, "Display") || NamesEqual(name, "Mode"))
        m_view->SetDisplay(m_display, EditMode());
    else if (NamesEqual(name, "BackColor"))
        m_view->SetBackColor(m_backColor);
    else if (NamesEqual(name, "YieldOnAnimate"))
        m_view->SetYieldOnAnimate(m_yieldOnAnimate);
    else if (NamesEqual(name, "OptimizeSpace"))
        m_view->SetOptimizeSpace(m_optimizeSpace);
    return 1;
}

int GraphicElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.U16(m_display);
    w.U16(m_transition);
    w.Int32(m_reserved);
    w.Rgb(m_backColor);
    w.Bool(m_border);
    w.Bool(m_transparent);
    w.Bytes(kNewDefsMarker);
    w.Int32(m_mode);
    w.Int32(m_drawingTool);
    w.Rgb(m_lineColor);
    w.Rgb(m_fillColor);
    w.Int32(m_lineWidth);
    w.CString(m_textFont);
    w.Int32(m_textSize);
    w.U16(m_textStyle);
    w.Bool(m_yieldOnAnimate);
    w.Bool(m_optimizeSpace);
    out.WriteChunk(chunk::kDefn, defn);
    return 1;
}

bool GraphicElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kDefn)
        return false;
    ChunkReader r(payload);
    m_display = r.U16();
    m_transition = r.U16();
    m_reserved = r.Int32();
    m_backColor = r.Rgb();
    m_border = r.Bool();
    m_transparent = r.Bool();
    // Older elements end here; the editing settings and the two flags keep their values.
    if (!r.Expect(kNewDefsMarker))
        return true;
    m_mode = r.Int32();
    m_drawingTool = r.Int32();
    m_lineColor = r.Rgb();
    m_fillColor = r.Rgb();
    m_lineWidth = r.Int32();
    m_textFont = r.CString().substr(0, AttributeValue::kMaxStringLength);
    m_textSize = r.Int32();
    m_textStyle = r.U16();
    if (!r.AtEnd())
        m_yieldOnAnimate = r.Bool();
    if (!r.AtEnd())
        m_optimizeSpace = r.Bool();
    return true;
}

}  // namespace tamber
