#include "media/CanvasBitmaps.h"

namespace tamber {

int32_t CanvasBitmaps::RecordLength(int32_t at) const
{
    if (at < 0 || at > m_stored.Size() - kRecordHeaderSize)
        return 0;
    const int32_t length = m_stored.ReadInt(at + 4, 4);
    if (length < 1 || length > m_stored.Size() - at - kRecordHeaderSize)
        return 0;
    return length;
}

int CanvasBitmaps::Find(int32_t objectId, MemoryBlock& picture)
{
    auto take = [&](int32_t at, int32_t length) {
        picture = MemoryBlock(m_stored.Data(at + kRecordHeaderSize), length);
        m_position = at + kRecordHeaderSize + length;
        return 1;
    };
    int32_t length = RecordLength(m_position);
    if (length > 0 && m_stored.ReadInt(m_position, 4) == objectId)
        return take(m_position, length);
    for (int32_t at = 0; (length = RecordLength(at)) > 0; at += kRecordHeaderSize + length) {
        if (m_stored.ReadInt(at, 4) == objectId)
            return take(at, length);
    }
    return 0;
}

void CanvasBitmaps::AppendRecord(MemoryBlock& stored, int32_t objectId, const MemoryBlock& picture)
{
    stored.AppendInt(objectId, 4);
    stored.AppendInt(picture.Size(), 4);
    stored.Append(picture);
}

} // namespace tamber
