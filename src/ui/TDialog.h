#pragma once

#include "ui/TFramedWindow.h"

namespace tamber::ui {

// Command identifiers of the standard dialog buttons.
namespace dialog {
constexpr uint16_t kOk = 1;
constexpr uint16_t kCancel = 2;
constexpr uint16_t kYes = 6;
constexpr uint16_t kNo = 7;
} // namespace dialog

// A modal dialog: a framed window with the dialog frame, caption and system menu on the face
// colour, run by a nested message loop until EndDialog. Enter presses the default button (the
// control with the default identifier), Escape and the close box answer Cancel.
class TDialog : public TFramedWindow {
public:
    TDialog();

    // Shows the dialog and runs it until it ends; answers the result given to EndDialog.
    int Execute();
    void EndDialog(int result);
    void SetDefaultId(uint16_t id) { m_defaultId = id; }
    uint16_t DefaultId() const { return m_defaultId; }

protected:
    void Command(uint16_t id, uint16_t code, TWindow* from) override;
    void Close() override;
    bool KeyDown(uint32_t key) override;
    // A button of the dialog was clicked (or Enter pressed its default). The default ends
    // the dialog with the button's identifier.
    virtual void ButtonPressed(uint16_t id);

private:
    uint16_t m_defaultId = dialog::kOk;
    bool m_ended = false;
};

} // namespace tamber::ui
