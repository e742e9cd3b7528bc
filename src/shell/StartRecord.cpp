#include "shell/StartRecord.h"

#include <array>

namespace tamber::shell {

StartRecord StartRecord::Parse(const MemoryBlock& payload)
{
    StartRecord record;
    if (payload.Size() >= kFrameStyleOffset + kFrameStyleSize)
        record.frameStyle = static_cast<int16_t>(payload.ReadInt(kFrameStyleOffset, kFrameStyleSize));
    int32_t offset = kFrameStyleOffset + kFrameStyleSize;
    for (std::string* field : {&record.caption, &record.startName, &record.name800, &record.name1024,
                               &record.name1280}) {
        if (offset >= payload.Size())
            break;
        offset += payload.ReadPString(offset, *field);
    }
    return record;
}

void StartRecord::Write(MemoryBlock& out) const
{
    out.AppendInt(frameStyle, kFrameStyleSize);
    for (const std::string* field : {&caption, &startName, &name800, &name1024, &name1280})
        out.AppendPString(*field);
}

const std::string& StartRecord::NameForScreen(int32_t screenWidth) const
{
    struct WidthName {
        int32_t width;
        const std::string StartRecord::*name;
    };
    static constexpr std::array<WidthName, 3> kByWidth = {{
        {800, &StartRecord::name800},
        {1024, &StartRecord::name1024},
        {1280, &StartRecord::name1280},
    }};
    for (const auto& entry : kByWidth) {
        if (entry.width == screenWidth && !(this->*entry.name).empty())
            return this->*entry.name;
    }
    return startName;
}

}  // namespace tamber::shell
