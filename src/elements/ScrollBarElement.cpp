#include "elements/ScrollBarElement.h"

#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"

namespace tamber {

namespace {

// Link attributes, in class table order.
enum Link { kAudioNavigate, kVideoNavigate, kTextNavigate };

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
                [](S& s, const V& v) {
                    int32_t position = v.Long();
                    if (position > s.m_max)
                        position = s.m_max;
                    if (position < s.m_min)
                        position = s.m_min;
                    s.m_position = position;
                    return 1;
                }},
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

int ScrollBarElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(ScrollBarAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int ScrollBarElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(ScrollBarAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
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
