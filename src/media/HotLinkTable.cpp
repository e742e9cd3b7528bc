#include "media/HotLinkTable.h"

namespace tamber {

int HotLinkTable::Parse(const MemoryBlock& stored)
{
    m_links.clear();
    if (stored.Size() < kCountSize)
        return 0;
    const int32_t count = stored.ReadInt(0, 4);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t at = kCountSize + i * kEntrySize;
        if (at + kEntrySize > stored.Size())
            break;
        const int32_t kind = stored.ReadInt(at + kKindOffset, 1);
        if (kind != static_cast<int32_t>(HotLinkKind::Area)
            && kind != static_cast<int32_t>(HotLinkKind::Object))
            break;
        HotLink link;
        link.kind = static_cast<HotLinkKind>(kind);
        if (link.kind == HotLinkKind::Area) {
            link.area
                = HotLinkArea { stored.ReadInt(at + kAreaOffset, 4), stored.ReadInt(at + kAreaOffset + 4, 4),
                      stored.ReadInt(at + kAreaOffset + 8, 4), stored.ReadInt(at + kAreaOffset + 12, 4) };
        } else {
            link.objectId = stored.ReadInt(at + kAreaOffset, 4);
        }
        link.linkId = stored.ReadInt(at + kLinkIdOffset, 4);
        m_links.push_back(link);
    }
    return 1;
}

MemoryBlock HotLinkTable::Store() const
{
    MemoryBlock out;
    out.AppendInt(Count(), 4);
    for (const HotLink& link : m_links) {
        out.AppendInt(static_cast<int32_t>(link.kind), 1);
        if (link.kind == HotLinkKind::Area) {
            for (int32_t v : { link.area.x, link.area.y, link.area.width, link.area.height })
                out.AppendInt(v, 4);
        } else {
            out.AppendInt(link.objectId, 4);
            for (int k = 0; k < 3; ++k)
                out.AppendInt(0, 4);
        }
        out.AppendInt(link.linkId, 4);
    }
    return out;
}

int HotLinkTable::GetArea(int32_t index, HotLinkArea& area, int32_t& linkId) const
{
    if (index < 0 || index >= Count() || m_links[index].kind != HotLinkKind::Area)
        return 0;
    area = m_links[index].area;
    linkId = m_links[index].linkId;
    return 1;
}

int HotLinkTable::GetObject(int32_t index, int32_t& objectId, int32_t& linkId) const
{
    if (index < 0 || index >= Count() || m_links[index].kind != HotLinkKind::Object)
        return 0;
    objectId = m_links[index].objectId;
    linkId = m_links[index].linkId;
    return 1;
}

int HotLinkTable::SetArea(int32_t linkId, const HotLinkArea& area)
{
    for (auto it = m_links.rbegin(); it != m_links.rend(); ++it) {
        if (it->kind == HotLinkKind::Area && it->linkId == linkId) {
            it->area = area;
            return 1;
        }
    }
    return 0;
}

} // namespace tamber
