#include "elements/AudioElement.h"

#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "iface/ChunkTags.h"

namespace tamber {

namespace {

enum Link { kPlayButton, kStopButton, kNavigateScrollBar };

constexpr std::string_view kBitmapUpTag = "BUp";
constexpr std::string_view kBitmapDownTag = "BDn";

}  // namespace

struct AudioAccess {
    using A = AudioElement;
    using V = AttributeValue;

    static std::span<const AttributeAccessor<A>> Table()
    {
        static const AttributeAccessor<A> kTable[] = {
            {"AutoHotLinks", ValueType::Boolean, GetMember<&A::m_autoHotLinks>, SetMember<&A::m_autoHotLinks>},
            {"BitmapUp", ValueType::Picture, GetMember<&A::m_bitmapUp>, SetMember<&A::m_bitmapUp>},
            {"BitmapDown", ValueType::Picture, GetMember<&A::m_bitmapDown>, SetMember<&A::m_bitmapDown>},
            {"Cycles", ValueType::Boolean, GetMember<&A::m_cycles>, SetMember<&A::m_cycles>},
            {"Length", ValueType::Long,
                [](const A& a, V& v) {
                    v.SetLong(a.m_samplesPerSecond > 0
                            ? static_cast<int32_t>(int64_t {a.m_sampleCount} * 1000 / a.m_samplesPerSecond)
                            : 0);
                },
                nullptr},
            {"Playing", ValueType::Boolean, GetMember<&A::m_playing>, nullptr},
            {"Position", ValueType::Long, [](const A& a, V& v) { v.SetLong(a.PositionMilliseconds()); },
                [](A& a, const V& v) {
                    a.m_samplePosition = static_cast<int32_t>(int64_t {a.m_samplesPerSecond} * v.Long() / 1000);
                    return 1;
                }},
        };
        return kTable;
    }
};

AudioElement::AudioElement(InterfaceModel* parent) : Element(parent)
{
    LoadClassDefinition(static_cast<uint16_t>(ClassId::Audio));
    SetLinkNames(ElementLinks({"Button : Play", "Button : Stop", "ScrollBar : Navigate"},
        ElementLinks::Exclusive::No));
}

int32_t AudioElement::PositionMilliseconds() const
{
    if (m_samplesPerSecond <= 0)
        return 0;
    return static_cast<int32_t>(int64_t {m_samplePosition} * 1000 / m_samplesPerSecond);
}

int AudioElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetThroughTable(AudioAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int AudioElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(AudioAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
}

int AudioElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Bool(m_autoHotLinks);
    w.Bool(m_cycles);
    w.Int32(Links().Id(kPlayButton));
    w.Int32(Links().Id(kStopButton));
    w.Int32(Links().Id(kNavigateScrollBar));
    out.WriteChunk(chunk::kDefn, defn);
    int chunks = 1;
    if (!m_bitmapUp.Empty()) {
        out.WriteChunk(kBitmapUpTag, m_bitmapUp);
        ++chunks;
    }
    if (!m_bitmapDown.Empty()) {
        out.WriteChunk(kBitmapDownTag, m_bitmapDown);
        ++chunks;
    }
    return chunks;
}

bool AudioElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag == chunk::kDefn) {
        // The oldest form holds AutoHotLinks only.
        ChunkReader r(payload);
        m_autoHotLinks = r.Bool();
        m_cycles = r.Bool();
        Links().LoadId(kPlayButton, r.Int32());
        Links().LoadId(kStopButton, r.Int32());
        Links().LoadId(kNavigateScrollBar, r.Int32());
        m_bitmapUp.Clear();
        m_bitmapDown.Clear();
        return true;
    }
    if (tag == kBitmapUpTag) {
        m_bitmapUp = payload;
        return true;
    }
    if (tag == kBitmapDownTag) {
        m_bitmapDown = payload;
        return true;
    }
    return false;
}

}  // namespace tamber
