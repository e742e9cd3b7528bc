#include "elements/EditBoxElement.h"

#include "elements/ElementColors.h"
#include "iface/ChunkTags.h"

namespace tamber {

struct EditBoxAccess {
    using E = EditBoxElement;
    using V = AttributeValue;

    static std::span<const AttributeAccessor<E>> Table()
    {
        static const AttributeAccessor<E> kTable[] = {
            {"Border", ValueType::Boolean, GetMember<&E::m_border>, SetMember<&E::m_border>},
            {"LockedText", ValueType::Boolean, GetMember<&E::m_lockedText>, SetMember<&E::m_lockedText>},
            {"Password", ValueType::Boolean, GetMember<&E::m_password>, SetMember<&E::m_password>},
            {"SpinButton", ValueType::Boolean, GetMember<&E::m_spinButton>, SetMember<&E::m_spinButton>},
            // The block keeps the whole text; the String value holds its first 127 characters.
            {"Text", ValueType::String, GetMember<&E::m_text>,
                [](E& e, const V& v) { return e.m_text = v.String(), 1; }},
            {"TextFont", ValueType::Font, GetFontFace<&E::m_font>, SetFontFace<&E::m_font>},
            {"TextSize", ValueType::Long, GetFontSize<&E::m_font>, SetFontSize<&E::m_font>},
            {"TextStyle", ValueType::Enum, GetFontStyle<&E::m_font>, SetFontStyle<&E::m_font>},
            {"ValueInc", ValueType::Double, GetMember<&E::m_valueIncrement>, SetMember<&E::m_valueIncrement>},
            {"ValueMax", ValueType::Double, GetMember<&E::m_valueMax>, SetMember<&E::m_valueMax>},
            {"ValueMin", ValueType::Double, GetMember<&E::m_valueMin>, SetMember<&E::m_valueMin>},
            {"BackColor", ValueType::Color, GetMember<&E::m_backColor>, SetMember<&E::m_backColor>},
            {"TextColor", ValueType::Color, GetMember<&E::m_textColor>, SetMember<&E::m_textColor>},
        };
        return kTable;
    }
};

EditBoxElement::EditBoxElement(InterfaceModel* parent)
    : Element(parent), m_backColor(colors::kWhite), m_textColor(colors::kBlack)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::EditBox));
    SetLinkNames(ElementLinks({"ListBox : Word Select"}, ElementLinks::Exclusive::No));
}

int EditBoxElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(EditBoxAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int EditBoxElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(EditBoxAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
}

int EditBoxElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Bool(m_spinButton);
    w.Bool(m_password);
    w.Bool(m_lockedText);
    w.Rgb(m_backColor);
    m_font.Write(w);
    w.Rgb(m_textColor);
    w.Bool(m_border);
    w.Double(m_valueMin);
    w.Double(m_valueMax);
    w.Double(m_valueIncrement);
    w.Int32(Links().Id(0));
    out.WriteChunk(chunk::kDefn, defn);
    MemoryBlock text;
    if (!m_text.empty())
        text.AppendString(m_text, Nul::Include);
    out.WriteChunk(chunk::kText, text);
    return 2;
}

bool EditBoxElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    ChunkReader r(payload);
    if (tag == chunk::kDefn) {
        m_spinButton = r.Bool();
        m_password = r.Bool();
        m_lockedText = r.Bool();
        m_backColor = r.Rgb();
        m_font.Read(r);
        m_textColor = r.Rgb();
        m_border = r.Bool();
        m_valueMin = r.Double();
        m_valueMax = r.Double();
        m_valueIncrement = r.Double();
        Links().LoadId(0, r.Int32());
        return true;
    }
    if (tag == chunk::kText) {
        m_text = r.CString();
        return true;
    }
    return false;
}

}  // namespace tamber
