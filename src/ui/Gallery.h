#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/ButtonControl.h"
#include "ui/ControlTip.h"
#include "ui/TFramedWindow.h"

namespace tamber::ui {

// A window showing every standard control in its states, and a small window for each frame
// style 0-11: the framework's showcase and its visual regression picture. Notifications of the
// controls are reported, one line each ("OK: Clicked"), to the notice log when one is given.
class Gallery {
public:
    using NoticeLog = std::function<void(const std::string& line)>;

    explicit Gallery(NoticeLog log = {});
    ~Gallery();

    // Builds the windows on the current application's screen; answers 1, or 0 without one.
    int Build();
    TFramedWindow& MainWindow();
    ButtonControl& OkButton();
    // Rests the pointer on the OK button until its control tip shows.
    void ShowOkTip();
    // The notice name of a notification code ("Clicked", "SelectionChanged" ...).
    static const char* NoticeName(uint16_t code);

private:
    class Window;
    std::unique_ptr<Window> m_main;
    std::vector<std::unique_ptr<TFramedWindow>> m_frames;
    std::unique_ptr<ControlTip> m_tip;
    NoticeLog m_log;
};

} // namespace tamber::ui
