#pragma once

#include <cstdint>

namespace tamber {

class TransitionCopier;

// The direction in which a strip effect moves.
enum class Sweep : uint8_t { LeftToRight, RightToLeft, TopToBottom, BottomToTop };

// Effects that go strip by strip, one step of the surface wide (or high) at a time.
// Wipes reveal the picture in place.
void PlayWipe(TransitionCopier& copier, Sweep sweep);
// Slides move the picture in from one side over what was there.
void PlaySlide(TransitionCopier& copier, Sweep sweep);
// Scrolls push what was there out of the rectangle while the picture follows it in.
void PlayScroll(TransitionCopier& copier, Sweep sweep);

}  // namespace tamber
