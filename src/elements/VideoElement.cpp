#include "elements/VideoElement.h"

#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"

namespace tamber {

namespace {

enum Link { kPlayButton, kStopButton, kResumeButton, kNavigateScrollBar };

}  // namespace

struct VideoAccess {
    using Vi = VideoElement;

    static std::span<const AttributeAccessor<Vi>> Table()
    {
        static const AttributeAccessor<Vi> kTable[] = {
            {"DrawHotSpot", ValueType::Boolean, GetMember<&Vi::m_drawHotSpot>, SetMember<&Vi::m_drawHotSpot>},
            {"ClickTest", ValueType::Boolean, GetMember<&Vi::m_clickTest>, SetMember<&Vi::m_clickTest>},
            {"Playing", ValueType::Boolean, GetMember<&Vi::m_playing>, nullptr},
        };
        return kTable;
    }
};

VideoElement::VideoElement(InterfaceModel* parent) : Element(parent)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Video));
    SetLinkNames(ElementLinks({"Button : Play", "Button : Stop", "Button : Resume", "ScrollBar : Navigate"},
        ElementLinks::Exclusive::No));
}

int VideoElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(VideoAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int VideoElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(VideoAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
}

int VideoElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Int32(Links().Id(kPlayButton));
    w.Int32(Links().Id(kStopButton));
    w.Bool(m_drawHotSpot);
    w.Bool(m_clickTest);
    w.Int32(Links().Id(kResumeButton));
    w.Int32(Links().Id(kNavigateScrollBar));
    out.WriteChunk(chunk::kDefn, defn);
    return 1;
}

bool VideoElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kDefn)
        return false;
    ChunkReader r(payload);
    Links().LoadId(kPlayButton, r.Int32());
    Links().LoadId(kStopButton, r.Int32());
    m_drawHotSpot = r.Bool();
    m_clickTest = r.Bool();
    Links().LoadId(kResumeButton, r.Int32());
    Links().LoadId(kNavigateScrollBar, r.Int32());
    return true;
}

}  // namespace tamber
