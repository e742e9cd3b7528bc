#pragma once

#include <cstdint>

namespace tamber::ui {

enum class InputKind : uint8_t { MouseMove, ButtonDown, ButtonUp, KeyDown, KeyUp, CloseRequest };
enum class MouseButton : uint8_t { Left = 0, Right = 1 };
enum class ClickCount : uint8_t { Single = 1, Double = 2 };

constexpr uint32_t kModShift = 1;
constexpr uint32_t kModCtrl = 2;
constexpr uint32_t kModAlt = 4;

// One piece of user input as the screen reports it, in screen pixels. Key events carry the
// virtual key code and, for key-downs that type something, the character (Windows-1252).
struct InputEvent {
    InputKind kind = InputKind::MouseMove;
    int32_t x = 0;
    int32_t y = 0;
    MouseButton button = MouseButton::Left;
    ClickCount clicks = ClickCount::Single;
    uint32_t key = 0;
    uint32_t modifiers = 0;
    uint8_t character = 0;
};

} // namespace tamber::ui
