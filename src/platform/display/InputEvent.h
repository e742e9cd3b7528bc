#pragma once

#include <cstdint>

namespace tamber {

// Key codes are the Windows virtual-key codes, the numbers stored accelerators and scripts use.
// Letters and digits are their upper-case ASCII codes.
namespace key {
constexpr int32_t kLeftButton = 0x01;
constexpr int32_t kRightButton = 0x02;
constexpr int32_t kCancel = 0x03;  // Ctrl+Break
constexpr int32_t kMiddleButton = 0x04;
constexpr int32_t kBackspace = 0x08;
constexpr int32_t kTab = 0x09;
constexpr int32_t kEnter = 0x0D;
constexpr int32_t kShift = 0x10;
constexpr int32_t kControl = 0x11;
constexpr int32_t kAlt = 0x12;
constexpr int32_t kPause = 0x13;
constexpr int32_t kCapsLock = 0x14;
constexpr int32_t kEscape = 0x1B;
constexpr int32_t kSpace = 0x20;
constexpr int32_t kPageUp = 0x21;
constexpr int32_t kPageDown = 0x22;
constexpr int32_t kEnd = 0x23;
constexpr int32_t kHome = 0x24;
constexpr int32_t kLeft = 0x25;
constexpr int32_t kUp = 0x26;
constexpr int32_t kRight = 0x27;
constexpr int32_t kDown = 0x28;
constexpr int32_t kInsert = 0x2D;
constexpr int32_t kDelete = 0x2E;
constexpr int32_t kNumpad0 = 0x60;
constexpr int32_t kMultiply = 0x6A;
constexpr int32_t kAdd = 0x6B;
constexpr int32_t kSubtract = 0x6D;
constexpr int32_t kDecimal = 0x6E;
constexpr int32_t kDivide = 0x6F;
constexpr int32_t kF1 = 0x70;   // F1..F12 are consecutive
constexpr int32_t kF11 = 0x7A;
constexpr int32_t kF12 = 0x7B;
constexpr int32_t kNumLock = 0x90;
constexpr int32_t kScrollLock = 0x91;
constexpr int32_t kSemicolon = 0xBA;
constexpr int32_t kEquals = 0xBB;
constexpr int32_t kComma = 0xBC;
constexpr int32_t kMinus = 0xBD;
constexpr int32_t kPeriod = 0xBE;
constexpr int32_t kSlash = 0xBF;
constexpr int32_t kBackquote = 0xC0;
constexpr int32_t kLeftBracket = 0xDB;
constexpr int32_t kBackslash = 0xDC;
constexpr int32_t kRightBracket = 0xDD;
constexpr int32_t kQuote = 0xDE;
constexpr int32_t kCount = 256;
}  // namespace key

enum class EventType : uint8_t {
    None = 0,
    MouseMove,
    MouseDown,
    MouseUp,
    MouseWheel,
    KeyDown,
    KeyUp,
    Char,       // a typed character, after the key that produced it
    Quit,       // the user closed the display's window
};

enum class MouseButton : uint8_t { None = 0, Left = 1, Right = 2, Middle = 3 };

// Modifier keys held when the event happened.
enum Modifier : uint8_t {
    kModShift = 1,
    kModControl = 2,
    kModAlt = 4,
};

// One input event in screen coordinates.
struct InputEvent {
    EventType type = EventType::None;
    int32_t x = 0;
    int32_t y = 0;
    MouseButton button = MouseButton::None;
    int32_t clicks = 1;      // 2 on the second press of a double click
    int32_t wheel = 0;       // wheel steps, positive away from the user
    int32_t key = 0;         // virtual-key code of KeyDown and KeyUp
    uint8_t ch = 0;          // Windows-1252 character of Char
    uint8_t modifiers = 0;   // Modifier bits
    bool repeat = false;     // a KeyDown repeated by holding the key
};

}  // namespace tamber
