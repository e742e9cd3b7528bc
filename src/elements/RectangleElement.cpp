#include "elements/RectangleElement.h"

#include "elements/ElementColors.h"
#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"

namespace tamber {

struct RectangleAccess {
    using R = RectangleElement;

    static std::span<const AttributeAccessor<R>> Table()
    {
        static const AttributeAccessor<R> kTable[] = {
            {"ShowLine", ValueType::Boolean, GetMember<&R::m_showLine>, SetMember<&R::m_showLine>},
            {"LineThickness", ValueType::Long, GetMember<&R::m_thickness>, SetMember<&R::m_thickness>},
            {"LineColor", ValueType::Color, GetMember<&R::m_lineColor>, SetMember<&R::m_lineColor>},
            {"ShowFill", ValueType::Boolean, GetMember<&R::m_showFill>, SetMember<&R::m_showFill>},
            {"FillColor", ValueType::Color, GetMember<&R::m_fillColor>, SetMember<&R::m_fillColor>},
        };
        return kTable;
    }
};

RectangleElement::RectangleElement(InterfaceModel* parent)
    : Element(parent), m_lineColor(colors::kBlack), m_fillColor(colors::kWhite)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Rectangle));
}

int RectangleElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(RectangleAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int RectangleElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(RectangleAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
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

}  // namespace tamber
