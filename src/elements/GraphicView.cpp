#include "elements/GraphicView.h"

#include <algorithm>
#include <cstdlib>

#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/GraphicMedium.h"
#include "media/Palette.h"
#include "media/ScreenContext.h"
#include "media/Transition.h"
#include "ui/Application.h"
#include "ui/Messages.h"
#include "ui/WindowDc.h"

namespace tamber {

namespace {

gfx::ColorRef ToColorRef(uint32_t packed)
{
    return gfx::ColorRef(packed & 0x00FFFFFF);
}

}  // namespace

GraphicView::GraphicView(ScreenContext& screen, Listener& listener)
    : m_screen(screen), m_listener(listener), m_image(std::make_unique<DibImage>(screen))
{
    SetNoBackground();
}

GraphicView::~GraphicView()
{
    // The stepper points into the medium's canvas.
    m_animation.Stop();
}

int32_t GraphicView::PictureWidth() const
{
    return m_image->Bitmap() ? m_image->Width() : 0;
}

int32_t GraphicView::PictureHeight() const
{
    return m_image->Bitmap() ? std::abs(m_image->Height()) : 0;
}

void GraphicView::SetDisplay(uint16_t display, bool editMode)
{
    m_display = display;
    m_editMode = editMode;
    Relayout();
    Invalidate();
}

void GraphicView::SetBackColor(uint32_t color)
{
    m_backColor = color;
    Invalidate();
}

void GraphicView::Created()
{
    Relayout();
}

void GraphicView::SizeRestored(int32_t, int32_t)
{
    Relayout();
}

void GraphicView::Relayout()
{
    m_layout.Update(ClientWidth(), ClientHeight(), PictureWidth(), PictureHeight(), m_display, m_editMode);
}

void GraphicView::Compose()
{
    m_image = std::make_unique<DibImage>(m_screen);
    gfx::GlyphSource* fonts = App() != nullptr ? App()->Fonts() : nullptr;
    if (!m_medium || m_medium->Compose(m_screen, *m_image, fonts, OfferConversion::Yes) == 0) {
        // No picture: a white one, so that the area still shows as a picture.
        m_image = std::make_unique<DibImage>(m_screen);
        m_image->CreateBlank(1, 1, 0);
    }
}

void GraphicView::SetMedium(std::unique_ptr<GraphicMedium> medium, int32_t effect)
{
    StopAnimation();
    m_medium = std::move(medium);
    Compose();
    if (Palette* own = m_image->OwnPalette(); own && !m_screen.Current())
        own->MakeCurrent();
    m_tracker = GraphicHotLinks();
    Relayout();
    if (IsVisible()) {
        Draw(effect);
        Validate();
    } else {
        Invalidate();
    }
}

void GraphicView::Render(int32_t effect, bool showSteps)
{
    const int32_t width = std::max(ClientWidth(), 1);
    const int32_t height = std::max(ClientHeight(), 1);
    if (!m_frame || m_frame->Width() != width || std::abs(m_frame->Height()) != height) {
        m_frame = std::make_unique<DibImage>(m_screen);
        if (!m_frame->CreateBlank(width, height, 0))
            return;
    }
    DrawingSurface surface(m_screen, *m_frame);
    gfx::Dc* dc = surface.Dc();
    if (!dc)
        return;
    dc->FillRect(gfx::Rect {0, 0, width, height}, gfx::Brush::Solid(ToColorRef(m_backColor)));
    if (!m_image->Bitmap())
        return;
    Transition transition(surface);
    // The reveal happens on the frame; each of its steps is put on the window and shown.
    if (showSteps)
        transition.SetWatcher([this](const TransitionStep&) { ShowFrame(); });
    const gfx::Rect& at = m_layout.Picture();
    if (m_layout.Scaled())
        transition.DrawImage(*m_image, at, effect, PictureColors::Image);
    else
        transition.DrawImage(*m_image, gfx::Point {at.left, at.top}, effect, PictureColors::Image);
}

void GraphicView::CopyFrame(gfx::Dc& dc)
{
    if (!m_frame || !m_frame->Bitmap())
        return;
    std::unique_ptr<gfx::Dc> memory = gfx::Dc::CreateCompatible(dc);
    if (!memory || !memory->SelectBitmap(m_frame->Bitmap()))
        return;
    dc.BitBlt(0, 0, m_frame->Width(), std::abs(m_frame->Height()), memory.get(), 0, 0, gfx::Rop3::kSrcCopy);
}

void GraphicView::ShowFrame()
{
    if (!IsVisible())
        return;
    if (std::unique_ptr<gfx::Dc> dc = ui::CreateWindowDc(ClientDrawTarget()))
        CopyFrame(*dc);
    if (ui::Application* app = ui::Application::Current())
        app->Present();
}

void GraphicView::Draw(int32_t effect)
{
    if (!IsCreated())
        return;
    Render(effect, effect != 0);
    ShowFrame();
}

void GraphicView::Paint(ui::Painter& painter)
{
    Render(0, false);
    if (std::unique_ptr<gfx::Dc> dc = ui::CreateWindowDc(painter.Target()))
        CopyFrame(*dc);
}

bool GraphicView::ScrollTo(int32_t x, int32_t y)
{
    if (!m_layout.ScrollTo(x, y))
        return false;
    Invalidate();
    return true;
}

std::optional<int32_t> GraphicView::LinkAt(gfx::Point client) const
{
    gfx::Point picture;
    if (!m_medium || !m_layout.ToPicture(client, picture))
        return std::nullopt;
    return GraphicHotLinks::Find(m_medium->HotLinks(), m_medium->HasCanvas() ? &m_medium->GetCanvas() : nullptr,
        picture);
}

void GraphicView::PointerAt(gfx::Point client)
{
    std::optional<int32_t> link = LinkAt(client);
    SetCursor(link ? CursorShape::Hand : CursorShape::Arrow);
    if (std::optional<int32_t> entered = m_tracker.Track(link))
        m_listener.OverHotLink(*entered);
}

void GraphicView::ClickAt(gfx::Point client)
{
    std::optional<int32_t> link = LinkAt(client);
    gfx::Point picture;
    if (link && m_layout.ToPicture(client, picture))
        m_listener.HotLinkClicked(*link, picture);
}

void GraphicView::MouseMove(gfx::Point p, uint32_t)
{
    PointerAt(p);
}

void GraphicView::MouseLeave()
{
    // Off the view is off every link: the next link reached is announced again.
    m_tracker.Track(std::nullopt);
}

void GraphicView::ButtonDown(gfx::Point p, uint32_t)
{
    ClickAt(p);
}

bool GraphicView::AnimationStep()
{
    const bool ended = m_animation.Step();
    if (m_animation.RedrawNow()) {
        Compose();
        Draw(0);
        Validate();
    }
    return ended;
}

void GraphicView::FinishAnimation()
{
    KillTimer(kAnimationTimer);
    m_listener.AnimationEnded();
}

bool GraphicView::Animate(std::string_view name)
{
    if (!m_medium || !m_medium->HasCanvas() || !m_animation.Start(m_medium->GetCanvas(), name, nullptr))
        return false;
    if (m_yield) {
        SetTimer(kAnimationTimer, kAnimationPeriodMs);
        return true;
    }
    ui::Application* app = ui::Application::Current();
    while (true) {
        if (AnimationStep()) {
            FinishAnimation();
            return true;
        }
        if (app && app->IsKeyDown(ui::key::kEscape)) {
            m_animation.Stop();
            Compose();
            Invalidate();
            return true;
        }
        // Mouse input aimed at the view is handled between steps, so that hot links answer.
        if (app) {
            ui::Message message;
            while (app->TakeMessage(message, Handle(), ui::msg::kMouseMove)
                || app->TakeMessage(message, Handle(), ui::msg::kButtonDown))
                app->ProcessMessage(message);
        }
    }
}

bool GraphicView::StepAnimation(std::string_view name, int32_t frame)
{
    if (!m_medium || !m_medium->HasCanvas() || !m_animation.Start(m_medium->GetCanvas(), name, nullptr))
        return false;
    bool ended = false;
    int32_t steps = 0;
    while (steps < frame && !ended) {
        ended = m_animation.Step();
        steps = m_animation.StepsDone();
    }
    m_animation.Stop();
    Compose();
    Invalidate();
    return steps >= frame;
}

void GraphicView::StopAnimation()
{
    KillTimer(kAnimationTimer);
    m_animation.Stop();
}

void GraphicView::Timer(uint32_t id)
{
    if (id != kAnimationTimer || !m_animation.Running())
        return;
    if (AnimationStep())
        FinishAnimation();
}

}  // namespace tamber
