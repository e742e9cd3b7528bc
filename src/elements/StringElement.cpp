#include "elements/StringElement.h"

#include "elements/ElementColors.h"
#include "iface/ChunkTags.h"

namespace tamber {

struct StringAccess {
    using S = StringElement;

    static std::span<const AttributeAccessor<S>> Table()
    {
        static const AttributeAccessor<S> kTable[] = {
            {"ShadowColor", ValueType::Color, GetMember<&S::m_shadowColor>, SetMember<&S::m_shadowColor>},
            {"ShadowXOffset", ValueType::Long, GetMember<&S::m_shadowX>, SetMember<&S::m_shadowX>},
            {"ShadowYOffset", ValueType::Long, GetMember<&S::m_shadowY>, SetMember<&S::m_shadowY>},
            {"Text", ValueType::String, GetMember<&S::m_text>, SetMember<&S::m_text>},
            {"TextAlign", ValueType::Enum, GetMember<&S::m_align>, SetEnumBelow<&S::m_align, 3>},
            {"TextColor", ValueType::Color, GetMember<&S::m_textColor>, SetMember<&S::m_textColor>},
            {"TextFont", ValueType::Font, GetFontFace<&S::m_font>, SetFontFace<&S::m_font>},
            {"TextSize", ValueType::Long, GetFontSize<&S::m_font>, SetFontSize<&S::m_font>},
            {"TextStyle", ValueType::Enum, GetFontStyle<&S::m_font>, SetFontStyle<&S::m_font>},
        };
        return kTable;
    }
};

StringElement::StringElement(InterfaceModel* parent)
    : Element(parent), m_textColor(colors::kBlack), m_shadowColor(colors::kLightGrey)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::String));
}

int StringElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(StringAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int StringElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(StringAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
}

int StringElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.PString(m_text);
    m_font.Write(w);
    w.Rgb(m_textColor);
    w.Int32(m_shadowX);
    w.Int32(m_shadowY);
    w.Rgb(m_shadowColor);
    w.U16(m_align);
    out.WriteChunk(chunk::kDefn, defn);
    return 1;
}

bool StringElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kDefn)
        return false;
    ChunkReader r(payload);
    m_text = r.PString().substr(0, AttributeValue::kMaxStringLength);
    m_font.Read(r);
    m_textColor = r.Rgb();
    m_shadowX = r.Int32();
    m_shadowY = r.Int32();
    m_shadowColor = r.Rgb();
    m_align = r.U16();
    return true;
}

}  // namespace tamber
