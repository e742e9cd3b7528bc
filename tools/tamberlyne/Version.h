#pragma once

namespace tamberlyne {
inline constexpr const char* kTamberVersion = "0.1.0";
}
