#include "elements/NotificationSink.h"

namespace tamber {

NotificationSink::NotificationSink(Handler command, Handler scroll)
    : m_command(std::move(command)), m_scroll(std::move(scroll))
{
    SetTransparency(ui::Transparency::Full);
    SetNoBackground();
}

void NotificationSink::Command(uint16_t id, uint16_t code, ui::TWindow* from)
{
    if (m_command)
        m_command(code);
}

void NotificationSink::Scrolled(ui::ScrollBarKind bar, int32_t code, int32_t pos, ui::TWindow* from)
{
    if (m_scroll)
        m_scroll(static_cast<uint16_t>(code));
}

}  // namespace tamber
