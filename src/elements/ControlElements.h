#pragma once

#include <memory>

#include "base/MemoryBlock.h"
#include "platform/gfx/GlyphSource.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Rect.h"

namespace tamber {

namespace ui {
class TWindow;
}  // namespace ui

class Element;
class ElementFactory;
struct ElementFont;

// Registers the constructors of this layer's element classes (Button, EditBox, ListBox,
// ComboBox, ScrollBar, Picture, String, Line, Rectangle, Database, Graphic, Audio, Video) with
// the factory. Start-up calls it once, before any Interface is loaded.
void RegisterControlElements(ElementFactory& factory);

// The framework font for an element's face, point size and TextStyle (bold, italic, underline,
// strike-out bits), at the screen's 96 pixels per inch.
gfx::FontRequest ControlFont(const ElementFont& font);

// A picture (a BMP file image) as the 32-bit image the framework's controls draw; null when the
// picture is empty or does not decode.
std::shared_ptr<const gfx::Image> PictureToImage(const MemoryBlock& picture);

// Controls call their elements back from inside their own message handling, and the handler
// may take the control away (a Card change hides it) while the control's own code is still
// running. A ControlNotice marks such a call; a control retired meanwhile loses its window at
// once, and the object is deleted when the next outermost notice begins.
class ControlNotice {
public:
    ControlNotice();
    ~ControlNotice();
    ControlNotice(const ControlNotice&) = delete;
    ControlNotice& operator=(const ControlNotice&) = delete;
    static bool Active();
};
void RetireControl(std::unique_ptr<ui::TWindow> control);

}  // namespace tamber
