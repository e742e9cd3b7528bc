#pragma once

#include <cstdint>

#include "platform/gfx/Point.h"

namespace tamber::ui {

// Message codes. The numbers are the classic window-system ones, so code written against them
// reads the same here; 0x500 and up are the framework's own.
namespace msg {
constexpr uint32_t kCreate = 0x0001;
constexpr uint32_t kDestroy = 0x0002;
constexpr uint32_t kMove = 0x0003;
constexpr uint32_t kSize = 0x0005;
constexpr uint32_t kActivate = 0x0006;
constexpr uint32_t kSetFocus = 0x0007;
constexpr uint32_t kKillFocus = 0x0008;
constexpr uint32_t kEnable = 0x000A;
constexpr uint32_t kPaint = 0x000F;
constexpr uint32_t kClose = 0x0010;
constexpr uint32_t kQuit = 0x0012;
constexpr uint32_t kEraseBackground = 0x0014;
constexpr uint32_t kShowWindow = 0x0018;
constexpr uint32_t kSetCursor = 0x0020;
constexpr uint32_t kMouseActivate = 0x0021;
constexpr uint32_t kPositionChanging = 0x0046;
constexpr uint32_t kHitTest = 0x0084;
constexpr uint32_t kNcPaint = 0x0085;
constexpr uint32_t kNcMouseMove = 0x00A0;
constexpr uint32_t kNcButtonDown = 0x00A1;
constexpr uint32_t kNcButtonUp = 0x00A2;
constexpr uint32_t kNcDoubleClick = 0x00A3;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kChar = 0x0102;
constexpr uint32_t kCommand = 0x0111;
constexpr uint32_t kSysCommand = 0x0112;
constexpr uint32_t kTimer = 0x0113;
constexpr uint32_t kHScroll = 0x0114;
constexpr uint32_t kVScroll = 0x0115;
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kButtonDown = 0x0201;
constexpr uint32_t kButtonUp = 0x0202;
constexpr uint32_t kDoubleClick = 0x0203;
constexpr uint32_t kRightButtonDown = 0x0204;
constexpr uint32_t kRightButtonUp = 0x0205;
constexpr uint32_t kMouseLeave = 0x02A3;
constexpr uint32_t kQueryNewPalette = 0x030F;
constexpr uint32_t kPaletteChanged = 0x0311;
// Authoring guide-line messages, handed to the window's guide-line handler unchanged.
constexpr uint32_t kGuideLineFirst = 0x0500;
constexpr uint32_t kGuideLineLast = 0x0508;
// The framework's mouse messages: wParam = key-state flags, lParam = client point.
constexpr uint32_t kFrameworkMouseMove = 0x0509;
constexpr uint32_t kFrameworkButtonDown = 0x050A;
constexpr uint32_t kFrameworkButtonUp = 0x050B;
constexpr uint32_t kFrameworkDoubleClick = 0x050C;
// First code free for callers' own messages.
constexpr uint32_t kUser = 0x0600;
} // namespace msg

// Key-state flags of mouse messages.
constexpr uint32_t kMouseLeftFlag = 0x0001;
constexpr uint32_t kMouseRightFlag = 0x0002;
constexpr uint32_t kMouseShiftFlag = 0x0004;
constexpr uint32_t kMouseCtrlFlag = 0x0008;

// Virtual key codes.
namespace key {
constexpr uint32_t kBackspace = 0x08;
constexpr uint32_t kTab = 0x09;
constexpr uint32_t kEnter = 0x0D;
constexpr uint32_t kShift = 0x10;
constexpr uint32_t kCtrl = 0x11;
constexpr uint32_t kAlt = 0x12;
constexpr uint32_t kEscape = 0x1B;
constexpr uint32_t kSpace = 0x20;
constexpr uint32_t kPageUp = 0x21;
constexpr uint32_t kPageDown = 0x22;
constexpr uint32_t kEnd = 0x23;
constexpr uint32_t kHome = 0x24;
constexpr uint32_t kLeft = 0x25;
constexpr uint32_t kUp = 0x26;
constexpr uint32_t kRight = 0x27;
constexpr uint32_t kDown = 0x28;
constexpr uint32_t kInsert = 0x2D;
constexpr uint32_t kDelete = 0x2E;
constexpr uint32_t kF1 = 0x70;
constexpr uint32_t kF12 = 0x7B;
constexpr uint32_t kLeftButton = 0x01;
constexpr uint32_t kRightButton = 0x02;
} // namespace key

// Where a screen point lies in a window (answers of the hit test).
enum class HitArea : int32_t {
    Nowhere = 0,
    Client = 1,
    Caption = 2,
    SystemMenu = 3,
    MinimizeBox = 8,
    CloseBox = 20,
    Left = 10,
    Right = 11,
    Top = 12,
    TopLeft = 13,
    TopRight = 14,
    Bottom = 15,
    BottomLeft = 16,
    BottomRight = 17,
    Border = 18,
};

// System commands (kSysCommand wParam).
namespace syscmd {
constexpr uint32_t kSize = 0xF000;
constexpr uint32_t kMove = 0xF010;
constexpr uint32_t kMinimize = 0xF020;
constexpr uint32_t kClose = 0xF060;
constexpr uint32_t kKeyMenu = 0xF100;
constexpr uint32_t kRestore = 0xF120;
} // namespace syscmd

// Points travel in lParam as two signed 16-bit halves, x low.
constexpr intptr_t PackPoint(gfx::Point p)
{
    return static_cast<intptr_t>(static_cast<uint32_t>(static_cast<uint16_t>(p.x))
        | static_cast<uint32_t>(static_cast<uint16_t>(p.y)) << 16);
}
constexpr gfx::Point UnpackPoint(intptr_t l)
{
    return gfx::Point { static_cast<int16_t>(l & 0xFFFF), static_cast<int16_t>((l >> 16) & 0xFFFF) };
}
// A command's wParam: the identifier in the low half, the notification code in the high half.
constexpr uintptr_t PackCommand(uint16_t id, uint16_t code) { return static_cast<uintptr_t>(id) | static_cast<uintptr_t>(code) << 16; }
constexpr uint16_t CommandId(uintptr_t w) { return static_cast<uint16_t>(w & 0xFFFF); }
constexpr uint16_t CommandCode(uintptr_t w) { return static_cast<uint16_t>((w >> 16) & 0xFFFF); }
// Notification code of a command sent by an accelerator.
constexpr uint16_t kFromAccelerator = 1;

// One message of the queue. window is a window handle (0: a thread message such as quit).
struct Message {
    uint32_t window = 0;
    uint32_t code = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    uint32_t time = 0;
    gfx::Point screenPoint; // the pointer when the message was made
    uint8_t character = 0; // the character a key-down produces (Windows-1252), 0 for none
};

inline bool IsMouseMessage(uint32_t code)
{
    return (code >= msg::kMouseMove && code <= msg::kRightButtonUp) || (code >= msg::kNcMouseMove && code <= msg::kNcDoubleClick);
}

} // namespace tamber::ui
