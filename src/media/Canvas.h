#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"
#include "media/CanvasCommand.h"
#include "media/CanvasObject.h"

namespace tamber {

class CanvasPictureSource;
class HotLinkTable;
class MessageSink;

// The object canvas of a Graphic medium: drawing objects over its picture (live ones in drawing
// order, deleted ones kept for commands that bring them back), the edit history's commands and
// the named animations. Objects are owned here and never move in memory, so groups, erasers and
// hot links point at them.
class Canvas {
public:
    static constexpr const char* kMemoryCaption = "MEMORY ERROR";
    static constexpr const char* kMemoryText
        = "Insufficient Memory! Please increase your available RAM, or Virtual Memory.";

    // Where a read looks besides the text.
    struct Sources {
        const MemoryBlock* bitmaps = nullptr; // the "Bmps" part
        CanvasPictureSource* files = nullptr; // pictures named by BITMAP objects
        HotLinkTable* hotLinks = nullptr; // object links are bound to the objects
        MessageSink* messages = nullptr; // told when memory runs out
    };

    // Replaces everything with the canvas text's content. BITMAP objects take their pictures
    // from the "Bmps" records, else from their file name; those without one are dropped. Group
    // members, eraser parents and object hot links are bound to the objects. A text that breaks
    // the grammar answers 0 and leaves the canvas empty (Error() says why).
    int Read(std::string_view text, const Sources& sources);
    void Clear();
    const std::string& Error() const { return m_error; }

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    // Live or deleted; null when no object has the id.
    CanvasObject* Find(int32_t id) const;
    const std::vector<CanvasObject*>& Live() const { return m_live; }
    const std::vector<CanvasObject*>& Deleted() const { return m_deleted; }
    const std::vector<CanvasCommand>& Commands() const { return m_commands; }
    const std::vector<CanvasEventGroup>& EventGroups() const { return m_eventGroups; }
    // By name, without regard to ASCII case; null when there is none.
    const CanvasEventGroup* FindEventGroup(std::string_view name) const;

    // Carries out one command on the objects. The macro brackets change nothing here (see
    // CanvasStepper). Answers 1, or 0 when the command names no object it can act on.
    int Execute(const CanvasCommand& command);

private:
    void AttachPictures(const Sources& sources);
    void Bind(HotLinkTable* hotLinks);
    void Drop(CanvasObject* object);

    int32_t m_width = 0;
    int32_t m_height = 0;
    std::vector<std::unique_ptr<CanvasObject>> m_objects;
    std::vector<CanvasObject*> m_live;
    std::vector<CanvasObject*> m_deleted;
    std::vector<CanvasCommand> m_commands;
    std::vector<CanvasEventGroup> m_eventGroups;
    std::string m_error;
};

} // namespace tamber
