#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/TControl.h"
#include "ui/TDialog.h"

namespace tamber::ui {

// A dialog laid out from standard controls with a fixed caption and size. It opens centred over
// its owner's top-level window and keeps the labels and buttons it adds until it is destroyed;
// controls the dialog talks to after creation stay members of the derived class.
class ControlDialog : public TDialog {
public:
    // Creates the window (hidden until Execute); answers nonzero on success.
    int Open(TWindow* owner);

protected:
    ControlDialog(std::string caption, int32_t width, int32_t height);

    void AddLabel(const char* text, const gfx::Rect& rect);
    // OK (the default button) at (x, y) and Cancel below it.
    void AddOkCancel(int32_t x, int32_t y);

private:
    std::string m_openCaption;
    int32_t m_width;
    int32_t m_height;
    std::vector<std::unique_ptr<TControl>> m_owned;
};

} // namespace tamber::ui
