#include "ui/Accelerator.h"

namespace tamber::ui {

namespace {

uint32_t ReadLe(const uint8_t* p, size_t bytes)
{
    uint32_t v = 0;
    for (size_t i = 0; i < bytes; ++i)
        v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return v;
}

void WriteLe(uint8_t* p, uint32_t v, size_t bytes)
{
    for (size_t i = 0; i < bytes; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace

std::vector<CustomAccelerator> CustomAccelerator::Parse(const uint8_t* data, size_t size)
{
    std::vector<CustomAccelerator> out;
    if (!data)
        return out;
    for (size_t at = 0; at + kSize <= size; at += kSize) {
        const uint8_t* p = data + at;
        CustomAccelerator a;
        a.key = static_cast<uint16_t>(ReadLe(p + kKeyOffset, 2));
        a.shift = ReadLe(p + kShiftOffset, 4);
        a.ctrl = static_cast<uint16_t>(ReadLe(p + kCtrlOffset, 2));
        a.command = static_cast<uint16_t>(ReadLe(p + kCommandOffset, 2));
        out.push_back(a);
    }
    return out;
}

std::vector<uint8_t> CustomAccelerator::Serialize(const std::vector<CustomAccelerator>& entries)
{
    std::vector<uint8_t> out(entries.size() * kSize, 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        uint8_t* p = out.data() + i * kSize;
        WriteLe(p + kKeyOffset, entries[i].key, 2);
        WriteLe(p + kShiftOffset, entries[i].shift, 4);
        WriteLe(p + kCtrlOffset, entries[i].ctrl, 2);
        WriteLe(p + kCommandOffset, entries[i].command, 2);
    }
    return out;
}

} // namespace tamber::ui
