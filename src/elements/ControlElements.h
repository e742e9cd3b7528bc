#pragma once

namespace tamber {

class ElementFactory;

// Registers the constructors of this layer's element classes (Button, EditBox, ListBox,
// ComboBox, ScrollBar, Picture, String, Line, Rectangle, Database, Graphic, Audio, Video) with
// the factory. Start-up calls it once, before any Interface is loaded.
void RegisterControlElements(ElementFactory& factory);

}  // namespace tamber
