#include "db/JumpTable.h"

#include <algorithm>

#include "db/MediaCatalogFormat.h"

namespace tamber {

using namespace catalog;

int32_t JumpTable::Parse(const MemoryBlock& block)
{
    m_targets.clear();
    if (block.Size() < kJumpCountSize)
        return block.Size() == 0 ? 1 : 0;
    int32_t count = block.ReadInt(0, 4);
    int32_t pos = kJumpCountSize;
    // Every target takes at least its 8-byte head, which bounds a count that lies.
    if (count < 0 || int64_t { count } * kJumpHeadSize > block.Size() - pos)
        return 0;
    for (int32_t i = 0; i < count; ++i) {
        if (block.Size() - pos < kJumpHeadSize)
            return 0;
        JumpTarget target;
        target.id = block.ReadInt(pos, 4);
        int32_t length = block.ReadInt(pos + 4, 4);
        pos += kJumpHeadSize;
        if (length < 0) {
            if (length == INT32_MIN || pos >= block.Size())
                return 0;
            int32_t consumed = block.ReadPString(pos, target.name);
            if (consumed > block.Size() - pos)
                return 0;
            pos += consumed;
            length = -length;
        }
        if (length > block.Size() - pos)
            return 0;
        target.data = MemoryBlock(block.Data(pos), length);
        pos += length;
        m_targets.push_back(std::move(target));
    }
    return 1;
}

MemoryBlock JumpTable::Serialize() const
{
    MemoryBlock block(0);
    block.AppendInt(static_cast<int32_t>(m_targets.size()), 4);
    for (const auto& t : m_targets) {
        block.AppendInt(t.id, 4);
        if (t.name.empty()) {
            block.AppendInt(t.data.Size(), 4);
        } else {
            block.AppendInt(-t.data.Size(), 4);
            block.AppendPString(t.name);
        }
        block.Append(t.data);
    }
    return block;
}

const JumpTarget* JumpTable::Nth(int32_t index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return &m_targets[static_cast<size_t>(index)];
}

const JumpTarget* JumpTable::FindId(int32_t id) const
{
    for (const auto& t : m_targets)
        if (t.id == id)
            return &t;
    return nullptr;
}

std::vector<uint32_t> JumpTable::LinkedMedia(const MemoryBlock& data)
{
    std::vector<uint32_t> media;
    if (data.Size() < kActionCountSize)
        return media;
    int32_t actions = data.ReadInt(0, 2) & 0xFFFF;
    int32_t pos = kActionCountSize;
    for (int32_t a = 0; a < actions && data.Size() - pos >= kActionLengthSize; ++a) {
        int32_t length = data.ReadInt(pos, 2) & 0xFFFF;
        pos += kActionLengthSize;
        int32_t end = pos + std::min(length, data.Size() - pos);
        int32_t p = pos;
        if (end - p >= kActionChunkCountSize) {
            int32_t chunks = data.ReadInt(p, 2) & 0xFFFF;
            p += kActionChunkCountSize;
            for (int32_t c = 0; c < chunks && end - p >= kActionChunkHeadSize; ++c) {
                bool isMediaObject = data.Compare(p, kMediaObjectChunk, 4, Exact::Yes) == 0;
                int32_t payload = data.ReadInt(p + 4, 2) & 0xFFFF;
                p += kActionChunkHeadSize;
                if (isMediaObject && payload >= 4 && end - p >= 4)
                    media.push_back(static_cast<uint32_t>(data.ReadInt(p, 4)));
                p += std::min(payload, end - p);
            }
        }
        pos = end;
    }
    return media;
}

MemoryBlock JumpTable::LinkTo(uint32_t mediaId)
{
    MemoryBlock action(0);
    action.AppendInt(1, 2);  // one chunk
    action.AppendString(kMediaObjectChunk, Nul::Exclude);
    action.AppendInt(4, 2);
    action.AppendInt(static_cast<int32_t>(mediaId), 4);
    MemoryBlock data(0);
    data.AppendInt(1, 2);  // one action
    data.AppendInt(action.Size(), 2);
    data.Append(action);
    return data;
}

}  // namespace tamber
