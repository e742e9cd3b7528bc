#include "elements/PictureElement.h"

#include "iface/AttributeAccessor.h"
#include "iface/ChunkTags.h"

namespace tamber {

struct PictureAccess {
    using P = PictureElement;
    using V = AttributeValue;

    static std::span<const AttributeAccessor<P>> Table()
    {
        static const AttributeAccessor<P> kTable[] = {
            {"Bitmap", ValueType::Picture, GetMember<&P::m_bitmap>, SetMember<&P::m_bitmap>},
            {"BitmapWidth", ValueType::Long, [](const P& p, V& v) { v.SetLong(p.BitmapWidth()); }, nullptr},
            {"BitmapHeight", ValueType::Long, [](const P& p, V& v) { v.SetLong(p.BitmapHeight()); }, nullptr},
        };
        return kTable;
    }
};

PictureElement::PictureElement(InterfaceModel* parent) : Element(parent)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Picture));
}

int32_t PictureElement::BitmapWidth() const
{
    return m_bitmap.Size() >= kBmpWidthOffset + 4 ? m_bitmap.ReadInt(kBmpWidthOffset, 4) : 0;
}

int32_t PictureElement::BitmapHeight() const
{
    return m_bitmap.Size() >= kBmpHeightOffset + 4 ? m_bitmap.ReadInt(kBmpHeightOffset, 4) : 0;
}

int PictureElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(PictureAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int PictureElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(PictureAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
}

int PictureElement::WriteClassChunks(MemoryBlock& out) const
{
    out.WriteChunk(chunk::kPict, m_bitmap);
    return 1;
}

bool PictureElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kPict)
        return false;
    m_bitmap = payload;
    return true;
}

}  // namespace tamber
