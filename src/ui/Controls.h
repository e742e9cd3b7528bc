#pragma once

#include <cstdint>

namespace tamber::ui {

// Notification codes controls send their owner in a command message (high half of wParam).
namespace notify {
constexpr uint16_t kClicked = 0;
constexpr uint16_t kSelectionChanged = 1;
constexpr uint16_t kDoubleClicked = 2;
constexpr uint16_t kSetFocus = 3;
constexpr uint16_t kKillFocus = 4;
constexpr uint16_t kEditChanged = 5;
constexpr uint16_t kDropDown = 7;
constexpr uint16_t kCloseUp = 8;
constexpr uint16_t kChanged = 0x0300;
constexpr uint16_t kEnterKey = 0x0600;
constexpr uint16_t kEscapeKey = 0x0601;
constexpr uint16_t kTabKey = 0x0602;
} // namespace notify

// Scroll-bar notification codes (low half of the scroll message's wParam, position in the high
// half). Thumb dragging is 6; 7 is a position set at once (thumb released, Home, End, or a
// program's own setting); 8 ends every mouse action.
namespace scroll {
constexpr uint16_t kLineUp = 2;
constexpr uint16_t kLineDown = 3;
constexpr uint16_t kPageUp = 4;
constexpr uint16_t kPageDown = 5;
constexpr uint16_t kThumbTrack = 6;
constexpr uint16_t kThumbPosition = 7;
constexpr uint16_t kEndScroll = 8;
} // namespace scroll

} // namespace tamber::ui
