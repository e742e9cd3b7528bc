#include "elements/RectangleElement.h"

#include "elements/ElementColors.h"
#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"

namespace tamber {

std::span<const AttributeAccessor<RectangleElement>> RectangleElement::Accessors()
{
    using R = RectangleElement;

    static const AttributeAccessor<R> kTable[] = {
        { "ShowLine", ValueType::Boolean, GetMember<&R::m_showLine>, SetMember<&R::m_showLine> },
        { "LineThickness", ValueType::Long, GetMember<&R::m_thickness>, SetMember<&R::m_thickness> },
        { "LineColor", ValueType::Color, GetMember<&R::m_lineColor>, SetMember<&R::m_lineColor> },
        { "ShowFill", ValueType::Boolean, GetMember<&R::m_showFill>, SetMember<&R::m_showFill> },
        { "FillColor", ValueType::Color, GetMember<&R::m_fillColor>, SetMember<&R::m_fillColor> },
    };
    return kTable;
}

namespace {

constexpr CardRect kDefaultSize { -50, -50, 100, 100 };

} // namespace

RectangleElement::RectangleElement(InterfaceModel* parent)
    : PassiveElement(parent, ClassId::Rectangle)
    , m_lineColor(colors::kBlack)
    , m_fillColor(colors::kWhite)
{
}

void RectangleElement::Paint(gfx::Dc& dc, int32_t width, int32_t height) const
{
    if (!m_showLine && !m_showFill)
        return;
    dc.SaveDc();
    dc.SelectPen(m_showLine ? gfx::Pen { gfx::PenStyle::Solid, m_thickness, m_lineColor }
                            : gfx::Pen { gfx::PenStyle::Null, 1, m_lineColor });
    dc.SelectBrush(m_showFill ? gfx::Brush::Solid(m_fillColor) : gfx::Brush::Hollow());
    dc.Rectangle(gfx::Rect { 0, 0, width - 1, height - 1 });
    dc.RestoreDc(-1);
}

void RectangleElement::ApplyDefaultSize()
{
    CardRect frame = GetFrame();
    if (frame.width > 0 && frame.height > 0)
        return;
    SetFrame(CardRect { frame.left + kDefaultSize.left, frame.top + kDefaultSize.top, kDefaultSize.width,
        kDefaultSize.height });
}

int RectangleElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Bool(m_showLine);
    w.Int32(m_thickness);
    w.Rgb(m_lineColor);
    w.Bool(m_showFill);
    w.Rgb(m_fillColor);
    out.WriteChunk(chunk::kDefn, defn);
    return 1;
}

bool RectangleElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kDefn)
        return false;
    ChunkReader r(payload);
    m_showLine = r.Bool();
    m_thickness = r.Int32();
    m_lineColor = r.Rgb();
    m_showFill = r.Bool();
    m_fillColor = r.Rgb();
    return true;
}

} // namespace tamber
