#include "elements/GraphicElement.h"

#include "elements/ElementColors.h"
#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"

namespace tamber {

struct GraphicAccess {
    using G = GraphicElement;

    static std::span<const AttributeAccessor<G>> Table()
    {
        static const AttributeAccessor<G> kTable[] = {
            {"BackColor", ValueType::Color, GetMember<&G::m_backColor>, SetMember<&G::m_backColor>},
            {"Border", ValueType::Boolean, GetMember<&G::m_border>, SetMember<&G::m_border>},
            // FIXME: in edit mode only "Normal" and "Center" may be chosen; the refusal and its
            // message come with the element's view.
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

GraphicElement::GraphicElement(InterfaceModel* parent)
    : Element(parent), m_backColor(colors::kWhite), m_lineColor(colors::kBlack), m_fillColor(colors::kWhite)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Graphic));
}

int GraphicElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(GraphicAccess::Table(), *this, name, type, value);
    return result == 1 ? 1 : Element::GetAttribute(name, type, value);
}

int GraphicElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(GraphicAccess::Table(), *this, name, type, value);
    if (result != 1)
        return Element::SetAttribute(name, type, value);
    MarkModified();
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
