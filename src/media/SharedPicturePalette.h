#pragma once

#include <vector>

#include "platform/gfx/Palette.h"

namespace tamber {

class ScreenContext;

// The one 256-colour palette that all rich-text pictures share on displays of 8 bits or less:
// fifteen basic colours, a 6 x 6 x 6 colour cube and grey ramps. It exists while at least one
// picture counts itself as a user.
class SharedPicturePalette {
public:
    static constexpr int kSize = 256;

    static std::vector<gfx::PaletteEntry> Entries();
    // Counts a user; the first user on a display of at most 8 bits builds the palette. Answers
    // whether the palette exists (false on deeper displays).
    static bool AddUser(ScreenContext& context);
    // Uncounts a user; the last one deletes the palette.
    static void RemoveUser(ScreenContext& context);
    static const gfx::Palette* Get(ScreenContext& context);
};

}  // namespace tamber
