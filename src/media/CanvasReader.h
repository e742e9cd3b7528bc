#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "media/CanvasCommand.h"
#include "media/CanvasObject.h"
#include "media/CanvasTokenizer.h"

namespace tamber {

// What a canvas text holds.
struct CanvasContent {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<std::unique_ptr<CanvasObject>> objects; // every object, in the order read
    std::vector<CanvasObject*> live; // drawing order, first lowest
    std::vector<CanvasObject*> deleted; // kept for commands that bring them back
    std::vector<CanvasCommand> commands;
    std::vector<CanvasEventGroup> eventGroups;
};

// Reads the canvas text:
//   CANVAS ( width height ) {
//     OBJECT { type id { [eraser shape] attributes... [( points... ] } ... }
//     DELETED { ... }
//     COMMAND { keyword ( operands ) ... }
//     EVENTGROUP { EVENT "name" flag { commands } ... }
//   }
// OBJECT and DELETED come in either order, neither directly after itself; COMMAND only directly
// after one of them; EVENTGROUP after any of the three. See docs/canvas-text.md.
class CanvasReader {
public:
    // Answers 1 with the content filled, or 0 (content undefined) with Error() saying why.
    int Read(std::string_view text, CanvasContent& out);
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what);
    int Refuse(const std::string& what);
    bool Expect(int32_t keyword, const char* what);
    bool ReadNumber(int32_t& value, const char* what);
    // A { } block of items, each starting with a keyword from first to last that readItem
    // reads the rest of.
    bool ReadKeywordBlock(int32_t first, int32_t last, const char* what,
        const std::function<bool(int32_t keyword)>& readItem);
    bool ReadObjects(CanvasContent& content, std::vector<CanvasObject*>& into);
    bool ReadObject(int32_t keyword, CanvasObject& object);
    bool ReadBound(gfx::Rect& bound);
    bool ReadFont(CanvasFont& font);
    // One attribute of an object or an ATTRIBUTE command, named by the token just read.
    // Answers false (with the error set) for an unknown name or a bad value.
    bool ReadAttribute(const CanvasToken& name, CanvasAttributes& attributes, CanvasObject* object);
    bool ReadCommands(std::vector<CanvasCommand>& into);
    bool ReadCommand(int32_t keyword, CanvasCommand& command);
    bool ReadPoint(gfx::Point& point);
    bool ReadEventGroups(std::vector<CanvasEventGroup>& into);

    CanvasTokenizer m_tokens { std::string_view() };
    std::string m_error;
};

} // namespace tamber
