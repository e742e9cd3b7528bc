#include "shell/BlankStartWindow.h"

#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "ui/Application.h"

namespace tamber::shell {

BlankStartWindow::BlankStartWindow() = default;

BlankStartWindow::~BlankStartWindow()
{
    m_frame.Destroy();
}

int BlankStartWindow::Create(MediaDatabase& database, const MemoryBlock& interfaceBytes, int16_t frameStyle,
                             const std::string& caption)
{
    m_frame.SetFrameStyle(frameStyle);
    if (!m_frame.CreateFramed(nullptr, "", kInitialFrame, ui::Placement::Centered, Visibility::Hidden))
        return 0;
    m_model.SetMode(InterfaceModel::Mode::Running);
    m_model.AdoptInterface(std::make_unique<InterfaceObject>());
    InterfaceRecord::Load(m_model, &database, interfaceBytes);
    if (InterfaceObject* object = m_model.Interface()) {
        m_width = object->CardWidth();
        m_height = object->CardHeight();
    }
    gfx::Rect outer = m_frame.WindowRect();
    m_frame.Resize(m_width + outer.Width() - m_frame.ClientWidth(), m_height + outer.Height() - m_frame.ClientHeight());
    return 1;
}

void BlankStartWindow::MakeFullScreen()
{
    Display& screen = ui::Application::Current()->Screen();
    m_frame.SetFrameStyle(0);
    m_frame.Hide();
    m_frame.SetRect(gfx::Rect::FromSize(0, 0, screen.Width(), screen.Height()));
    m_frame.Show();
    m_fullScreen = true;
}

void BlankStartWindow::RaiseOpened()
{
    if (InterfaceObject* object = m_model.Interface())
        object->RaiseEvent("Opened");
}

}  // namespace tamber::shell
