#include "iface/ChildInterface.h"

#include "iface/ElementView.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceWindow.h"
#include "ui/Application.h"

namespace tamber {

namespace {

// The "Border" of an embedded child is a thin frame.
constexpr int32_t kThinBorderStyle = 1;

}  // namespace

ChildInterface::ChildInterface(InterfaceObject& element) : m_element(element) { }

ChildInterface::~ChildInterface() = default;

InterfaceWindow* ChildInterface::ParentWindow() const
{
    return dynamic_cast<InterfaceWindow*>(m_element.Parent());
}

bool ChildInterface::Floating() const
{
    return m_element.DisplayMode() == InterfaceObject::kFloating;
}

InterfaceWindow* ChildInterface::Window() const
{
    return m_window && m_window->IsCreated() ? m_window.get() : nullptr;
}

bool ChildInterface::IsOpen() const
{
    return Floating() && Window() && m_window->IsShown();
}

bool ChildInterface::Create(InterfaceWindow& parent)
{
    const bool floating = Floating();
    int32_t style = floating ? m_element.FrameStyleCode() : (m_element.HasBorder() ? kThinBorderStyle : 0);
    m_window.reset();
    auto window = std::make_unique<InterfaceWindow>(parent.Screen(), style, InterfaceWindow::OwnObject::No);
    window->SetInEditor(parent.InEditor());
    window->SetModal(floating && m_element.IsModal() ? ui::Modal::Yes : ui::Modal::No);
    window->SetSizeFollowsCard(floating);
    int created = 0;
    if (floating) {
        window->SetOwner(parent.TopLevel());
        created = window->CreateFramed(nullptr, m_element.CaptionText(),
            gfx::Rect::FromSize(InterfaceWindow::kOffScreen, InterfaceWindow::kOffScreen, m_element.CardWidth(),
                m_element.CardHeight()));
    } else {
        gfx::Rect frame = ElementView::ClientRect(m_element);
        frame.right += 1;
        frame.bottom += 1;
        created = window->Create(&parent, m_element.CaptionText(), frame, Visibility::Hidden);
    }
    if (!created)
        return false;
    m_window = std::move(window);
    m_window->ShowInterfaceOf(&m_element);
    m_window->SetMode(InterfaceModel::Mode::Running);
    m_element.ResolveLinks();
    MediaRef media = m_element.GetMedia();
    if (media.mediaId < 0 || m_window->LoadMedium(parent.MutableDatabase(), media.mediaId) != 1) {
        if (m_window->NumCards() == 0)
            m_window->AddCard();
        m_window->FitToCard();
        m_window->BackgroundChanged();
    }
    return true;
}

void ChildInterface::Place(InterfaceWindow& parent)
{
    ui::Application* app = ui::Application::Current();
    if (!app || !m_window)
        return;
    if (!Floating()) {
        gfx::Rect frame = ElementView::ClientRect(m_element);
        m_window->SetRect(gfx::Rect {frame.left, frame.top, frame.right + 1, frame.bottom + 1});
        return;
    }
    const int32_t screenWidth = app->Screen().Width();
    const int32_t screenHeight = app->Screen().Height();
    switch (m_element.PositionMode()) {
    case InterfaceObject::kFullscreen:
        m_window->MakeFullScreen();
        return;
    case InterfaceObject::kCentered: {
        gfx::Rect outer = m_window->RectInParent();
        m_window->Move((screenWidth - outer.Width()) / 2, (screenHeight - outer.Height()) / 2);
        return;
    }
    default: {
        gfx::Point origin = parent.ClientToScreen(gfx::Point {0, 0});
        m_window->Move(origin.x + m_element.WindowLeft(), origin.y + m_element.WindowTop());
        return;
    }
    }
}

void ChildInterface::Show()
{
    InterfaceWindow* parent = ParentWindow();
    if (!parent || !parent->IsCreated())
        return;
    // Showing an open floating window again would move it back to its computed place.
    if (Floating() && (!m_open || (Window() && m_window->IsShown())))
        return;
    ShowWindow(*parent);
}

void ChildInterface::ShowWindow(InterfaceWindow& parent)
{
    if (!Window() && !Create(parent))
        return;
    Place(parent);
    m_window->Show();
    if (!Floating())
        parent.Invalidate(m_window->RectInParent());
}

void ChildInterface::Hide()
{
    if (!Window())
        return;
    if (m_window->IsModal())
        m_window->Destroy();
    else
        m_window->Hide();
}

void ChildInterface::Prepare()
{
    // A modal window would block its parent from the moment it exists, and each "Open" makes
    // it afresh anyway.
    InterfaceWindow* parent = ParentWindow();
    if (!Window() && parent && parent->IsCreated() && !(Floating() && m_element.IsModal()))
        Create(*parent);
}

void ChildInterface::UserClosed()
{
    m_open = false;
    Hide();
}

int ChildInterface::Open()
{
    InterfaceWindow* parent = ParentWindow();
    if (!Floating() || !parent || !parent->IsCreated())
        return 0;
    m_open = true;
    if (Window())
        m_window->Hide();
    ShowWindow(*parent);
    if (!Window())
        return 0;
    m_element.RaiseEvent("Opened");
    if (ui::Application* app = ui::Application::Current(); app && Window())
        app->Activate(m_window.get());
    return 1;
}

int ChildInterface::Close()
{
    // A child open on a Card that is not shown closes too, without a window to hide.
    const bool shown = IsOpen();
    m_open = false;
    if (!shown)
        return 0;
    m_window->Hide();
    m_element.RaiseEvent("Closed");
    // A modal window is destroyed only now, once the Interface it shows has handled "Closed",
    // and not when that handler opened it again.
    if (!m_open)
        Hide();
    return 1;
}

}  // namespace tamber
