#include "elements/LineElement.h"

#include "elements/ElementColors.h"
#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"

namespace tamber {

std::span<const AttributeAccessor<LineElement>> LineElement::Accessors()
{
    using L = LineElement;
    using V = AttributeValue;

    static const AttributeAccessor<L> kTable[] = {
        { "LineThickness", ValueType::Long, GetMember<&L::m_thickness>, SetMember<&L::m_thickness> },
        { "LineColor", ValueType::Color, GetMember<&L::m_color>, SetMember<&L::m_color> },
        { "Direction", ValueType::Enum, [](const L& l, V& v) { v.SetEnum(l.EffectiveDirection()); },
            [](L& l, const V& v) {
                l.m_direction = v.Enum() == 0 ? L::kHorizontal : L::kVertical;
                return 1;
            } },
    };
    return kTable;
}

namespace {

constexpr CardRect kDefaultSize { -50, -2, 100, 5 };

} // namespace

LineElement::LineElement(InterfaceModel* parent)
    : PassiveElement(parent, ClassId::Line)
    , m_color(colors::kBlack)
{
}

void LineElement::Paint(gfx::Dc& dc, int32_t width, int32_t height)
{
    if (m_direction == kUndecided)
        m_direction = height > width ? kVertical : kHorizontal;
    dc.SaveDc();
    dc.SelectPen(gfx::Pen { gfx::PenStyle::Solid, m_thickness, m_color });
    if (m_direction == kHorizontal) {
        dc.MoveTo(gfx::Point { 0, height / 2 });
        dc.LineTo(gfx::Point { width, height / 2 });
    } else {
        dc.MoveTo(gfx::Point { width / 2, 0 });
        dc.LineTo(gfx::Point { width / 2, height });
    }
    dc.RestoreDc(-1);
}

void LineElement::ApplyDefaultSize()
{
    CardRect frame = GetFrame();
    if (frame.width > 0 && frame.height > 0)
        return;
    SetFrame(CardRect { frame.left + kDefaultSize.left, frame.top + kDefaultSize.top, kDefaultSize.width,
        kDefaultSize.height });
}

LineElement::Direction LineElement::EffectiveDirection() const
{
    if (m_direction != kUndecided)
        return static_cast<Direction>(m_direction);
    return GetFrame().height > GetFrame().width ? kVertical : kHorizontal;
}

int LineElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Int32(m_thickness);
    w.Rgb(m_color);
    out.WriteChunk(chunk::kDefn, defn);
    return 1;
}

bool LineElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kDefn)
        return false;
    ChunkReader r(payload);
    m_thickness = r.Int32();
    m_color = r.Rgb();
    m_direction = kUndecided;
    return true;
}

} // namespace tamber
