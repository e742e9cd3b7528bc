#include "ui/TDialog.h"

#include "ui/Application.h"
#include "ui/ButtonControl.h"
#include "ui/Controls.h"

namespace tamber::ui {

TDialog::TDialog()
    : TFramedWindow(11)
{
    SetModal(Modal::Yes);
    SetBackground(look::kFace);
}

int TDialog::Execute()
{
    Application* app = App();
    if (!app || !IsCreated())
        return 0;
    m_ended = false;
    int result = app->RunModal(*this);
    Destroy();
    return result;
}

void TDialog::EndDialog(int result)
{
    if (m_ended)
        return;
    m_ended = true;
    if (Application* app = App())
        app->EndModal(*this, result);
}

void TDialog::ButtonPressed(uint16_t id)
{
    EndDialog(id);
}

void TDialog::Command(uint16_t id, uint16_t code, TWindow* from)
{
    if (!from) {
        TFramedWindow::Command(id, code, from);
        return;
    }
    switch (code) {
    case notify::kClicked:
        ButtonPressed(id);
        break;
    case notify::kEnterKey: {
        // Enter on a push button presses it; elsewhere it presses the default button.
        auto* button = dynamic_cast<ButtonControl*>(from);
        if (button && (button->Kind() == ButtonKind::Push || button->Kind() == ButtonKind::DefaultPush))
            ButtonPressed(button->Id());
        else
            ButtonPressed(m_defaultId);
        break;
    }
    case notify::kEscapeKey:
        Close();
        break;
    default:
        break;
    }
}

void TDialog::Close()
{
    ButtonPressed(dialog::kCancel);
}

bool TDialog::KeyDown(uint32_t key)
{
    if (key == key::kEnter) {
        ButtonPressed(m_defaultId);
        return true;
    }
    if (key == key::kEscape) {
        Close();
        return true;
    }
    return false;
}

} // namespace tamber::ui
