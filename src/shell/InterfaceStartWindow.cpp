#include "shell/InterfaceStartWindow.h"

#include "iface/InterfaceObject.h"

namespace tamber::shell {

int InterfaceStartWindow::Create(MediaDatabase& database, const MemoryBlock& interfaceBytes, int16_t frameStyle,
                                 const std::string& caption)
{
    auto window = std::make_unique<InterfaceWindow>(m_screen, frameStyle);
    // The caption is applied by start-up, and only to a window that is not full-screen.
    if (!window->CreateFramed(nullptr, "", kInitialFrame, ui::Placement::Centered, Visibility::Hidden))
        return 0;
    window->LoadRecord(&database, interfaceBytes);
    window->FitToCard();
    m_window = std::move(window);
    return 1;
}

int32_t InterfaceStartWindow::InterfaceWidth() const
{
    return m_window && m_window->Interface() ? m_window->Interface()->CardWidth() : 0;
}

int32_t InterfaceStartWindow::InterfaceHeight() const
{
    return m_window && m_window->Interface() ? m_window->Interface()->CardHeight() : 0;
}

void InterfaceStartWindow::RaiseOpened()
{
    if (InterfaceObject* object = m_window ? m_window->Interface() : nullptr)
        object->RaiseEvent("Opened");
}

}  // namespace tamber::shell
