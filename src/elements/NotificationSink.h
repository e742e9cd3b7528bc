#pragma once

#include <cstdint>
#include <functional>

#include "ui/TWindow.h"

namespace tamber {

// A hidden window that stands as the owner of an element's control, so that the control's
// command and scroll notifications reach the element rather than the interface window. The
// two kinds arrive apart, which matters where their codes overlap.
class NotificationSink : public ui::TWindow {
public:
    using Handler = std::function<void(uint16_t code)>;

    NotificationSink(Handler command, Handler scroll);

protected:
    void Command(uint16_t id, uint16_t code, ui::TWindow* from) override;
    void Scrolled(ui::ScrollBarKind bar, int32_t code, int32_t pos, ui::TWindow* from) override;

private:
    Handler m_command;
    Handler m_scroll;
};

}  // namespace tamber
