#pragma once

#include <bit>
#include <cstdint>

namespace tamber {

// The 17-bit linear feedback shift register that orders the cells of a dissolve. From its start
// value it runs through every other non-zero 17-bit value once before it comes back.
class DissolveRegister {
public:
    static constexpr uint32_t kStart = 0x1FFFF;
    static constexpr uint32_t kTaps = 0x18005;

    // Shifts the parity of the tapped bits in at bit 0 and answers the new value.
    uint32_t Next()
    {
        const uint32_t parity = static_cast<uint32_t>(std::popcount(m_value & kTaps)) & 1u;
        m_value = ((m_value << 1) | parity) & kStart;
        return m_value;
    }
    uint32_t Value() const { return m_value; }

private:
    uint32_t m_value = kStart;
};

}  // namespace tamber
