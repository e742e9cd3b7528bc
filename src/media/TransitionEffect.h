#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tamber {

class TransitionCopier;

// The families of transition effects. After slides and scrolls the picture has moved in with
// plain copies, so the final copy is a plain copy too; the others end with the caller's raster
// operation.
enum class TransitionKind : uint8_t { FinalCopyOnly, Wipe, Slide, Scroll, Outline, Rectangle, Curtain, Dissolve };

// One transition effect: its number (the index of the "TransitionEffect" enumeration of the
// element classes), the name users see, its family and what it draws before the final copy.
struct TransitionEffect {
    using Play = void (*)(TransitionCopier&);

    int32_t number;
    std::string_view name;
    TransitionKind kind;
    Play play;  // null: nothing before the final copy

    // All 23 effects, by number.
    static std::span<const TransitionEffect> All();
    // The effect with that number, or null.
    static const TransitionEffect* Find(int32_t number);
    // Whether the final copy keeps the caller's raster operation.
    bool FinalCopyUsesCallerRop() const { return kind != TransitionKind::Slide && kind != TransitionKind::Scroll; }
};

}  // namespace tamber
