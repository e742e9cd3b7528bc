#include "media/TransitionEffect.h"

#include <iterator>

#include "media/DissolveEffect.h"
#include "media/FrameEffects.h"
#include "media/StripEffects.h"

namespace tamber {

namespace {

using K = TransitionKind;

constexpr TransitionEffect kEffects[] = {
    {0, "None", K::FinalCopyOnly, nullptr},
    {1, "Left to Right Wipe", K::Wipe, [](TransitionCopier& c) { PlayWipe(c, Sweep::LeftToRight); }},
    {2, "Right to Left Wipe", K::Wipe, [](TransitionCopier& c) { PlayWipe(c, Sweep::RightToLeft); }},
    {3, "Top to Bottom Wipe", K::Wipe, [](TransitionCopier& c) { PlayWipe(c, Sweep::TopToBottom); }},
    {4, "Bottom to Top Wipe", K::Wipe, [](TransitionCopier& c) { PlayWipe(c, Sweep::BottomToTop); }},
    {5, "Left to Right Slide", K::Slide, [](TransitionCopier& c) { PlaySlide(c, Sweep::LeftToRight); }},
    {6, "Right to Left Slide", K::Slide, [](TransitionCopier& c) { PlaySlide(c, Sweep::RightToLeft); }},
    {7, "Top to Bottom Slide", K::Slide, [](TransitionCopier& c) { PlaySlide(c, Sweep::TopToBottom); }},
    {8, "Bottom to Top Slide", K::Slide, [](TransitionCopier& c) { PlaySlide(c, Sweep::BottomToTop); }},
    {9, "Left to Right Scroll", K::Scroll, [](TransitionCopier& c) { PlayScroll(c, Sweep::LeftToRight); }},
    {10, "Right to Left Scroll", K::Scroll, [](TransitionCopier& c) { PlayScroll(c, Sweep::RightToLeft); }},
    {11, "Top to Bottom Scroll", K::Scroll, [](TransitionCopier& c) { PlayScroll(c, Sweep::TopToBottom); }},
    {12, "Bottom to Top Scroll", K::Scroll, [](TransitionCopier& c) { PlayScroll(c, Sweep::BottomToTop); }},
    {13, "Trace Out", K::Outline, [](TransitionCopier& c) { PlayTrace(c, Motion::Outward); }},
    {14, "Iris Out", K::Rectangle, [](TransitionCopier& c) { PlayIris(c, Motion::Outward); }},
    {15, "Trace In", K::Outline, [](TransitionCopier& c) { PlayTrace(c, Motion::Inward); }},
    {16, "Iris In", K::Rectangle, [](TransitionCopier& c) { PlayIris(c, Motion::Inward); }},
    {17, "HCurtain Close", K::Curtain, [](TransitionCopier& c) { PlayCurtain(c, CurtainAxis::Across, Motion::Inward); }},
    {18, "HCurtain Open", K::Curtain, [](TransitionCopier& c) { PlayCurtain(c, CurtainAxis::Across, Motion::Outward); }},
    {19, "VCurtain Close", K::Curtain, [](TransitionCopier& c) { PlayCurtain(c, CurtainAxis::Down, Motion::Inward); }},
    {20, "VCurtain Open", K::Curtain, [](TransitionCopier& c) { PlayCurtain(c, CurtainAxis::Down, Motion::Outward); }},
    {21, "Zoom", K::Rectangle, [](TransitionCopier& c) { PlayZoom(c); }},
    {22, "Dissolve", K::Dissolve, [](TransitionCopier& c) { PlayDissolve(c); }},
};

constexpr bool NumberedByPosition() {
    for (size_t i = 0; i < std::size(kEffects); ++i) {
        if (kEffects[i].number != static_cast<int32_t>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(NumberedByPosition(), "Find indexes the table by effect number");

}  // namespace

std::span<const TransitionEffect> TransitionEffect::All() {
    return kEffects;
}

const TransitionEffect* TransitionEffect::Find(int32_t number) {
    if (number < 0 || static_cast<size_t>(number) >= std::size(kEffects)) {
        return nullptr;
    }
    return &kEffects[number];
}

}  // namespace tamber
