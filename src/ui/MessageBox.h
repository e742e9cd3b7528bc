#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/ButtonControl.h"
#include "ui/DialogAnswers.h"
#include "ui/TDialog.h"

namespace tamber::ui {

// The name of a button as the user sees it and scripts get it: "OK", "Cancel", "Yes", "No".
const char* ButtonName(MessageBoxResult result);
// Parses a button name (case ignored); answers 1 and fills result, or 0.
int ParseButtonName(std::string_view name, MessageBoxResult& result);
// The buttons of a box, default first.
std::vector<MessageBoxResult> ButtonsOf(MessageBoxButtons buttons);

// Shows a modal message box and answers the pressed button. With dialog answers installed in
// the application (headless runs) they answer instead and nothing is shown. Closing the box
// without a button answers Cancel when the box has one, else its default button.
MessageBoxResult ShowMessageBox(TWindow* owner, std::string_view text, std::string_view caption,
                                MessageBoxIcon icon, MessageBoxButtons buttons);

// The message box window.
class MessageBoxDialog : public TDialog {
public:
    static constexpr int32_t kIconSize = 32;
    static constexpr int32_t kMargin = 12;
    static constexpr int32_t kButtonWidth = 75;
    static constexpr int32_t kButtonHeight = 23;
    static constexpr int32_t kButtonGap = 6;
    static constexpr int32_t kMaxTextWidth = 400;

    explicit MessageBoxDialog(MessageBoxRequest request);
    // Creates the window, sized to the text, centred on the screen.
    int Open(TWindow* owner);
    const MessageBoxRequest& Request() const { return m_request; }

protected:
    void Created() override;
    void Paint(Painter& p) override;
    void Close() override;

private:
    std::vector<std::string> Lines() const;
    void DrawIcon(Painter& p, int32_t x, int32_t y);

    MessageBoxRequest m_request;
    std::vector<std::unique_ptr<ButtonControl>> m_buttons;
};

} // namespace tamber::ui
