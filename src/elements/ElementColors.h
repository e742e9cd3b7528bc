#pragma once

#include <cstdint>

namespace tamber {

// Packed colours (0x00BBGGRR) used as element defaults.
namespace colors {
inline constexpr uint32_t kWhite = 0x00FFFFFF;
inline constexpr uint32_t kBlack = 0x00000000;
inline constexpr uint32_t kLightGrey = 0x00C0C0C0;
}  // namespace colors

}  // namespace tamber
