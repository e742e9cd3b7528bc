#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/CanvasObject.h"
#include "platform/gfx/Point.h"

namespace tamber {

enum class CanvasCommandType : int32_t {
    Add = 0,
    Remove = 1,
    Move = 2,
    Resize = 3,
    ToTop = 4,
    Swap = 5,
    AddInGroup = 6,
    MacroBegin = 7,
    MacroEnd = 8,
    Attribute = 9,
    MoveTo = 10,
    SetOrder = 11,
};

// One step of a canvas's edit history or of an animation.
struct CanvasCommand {
    CanvasCommandType type = CanvasCommandType::Add;
    int32_t id = 0; // the object (for ADDINGROUP the group)
    int32_t second = 0; // RESIZE handle, TOTOP's second integer, ADDINGROUP object, SETORDER place
    gfx::Point point; // MOVE, MOVETO, RESIZE
    CanvasAttributes attributes;
};

// A named animation: its commands run one per step.
struct CanvasEventGroup {
    static constexpr size_t kMaxNameLength = 31;

    std::string name;
    bool flag = false; // redraw after every step
    std::vector<CanvasCommand> commands;
};

} // namespace tamber
