#include "iface/InterfaceWindow.h"

#include <algorithm>

#include "db/MediaDatabase.h"
#include "iface/BackgroundFill.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "iface/ScriptHost.h"
#include "media/Palette.h"
#include "media/ScreenContext.h"
#include "media/SystemColors.h"
#include "platform/gfx/ColorRef.h"
#include "platform/gfx/SystemPalette.h"
#include "ui/Application.h"
#include "ui/MessageBox.h"

namespace tamber {

namespace {

// Posted to the window itself when a child Interface element queued an event.
constexpr uint32_t kRunPostedEvents = ui::msg::kUser + 0x40;
// A background palette this short is completed with the reserved system colours.
constexpr int32_t kMaxPaletteWithoutSystemColors = 236;
constexpr int32_t kDefaultWidth = InterfaceObject::kDefaultCardWidth;
constexpr int32_t kDefaultHeight = InterfaceObject::kDefaultCardHeight;

gfx::Rect ToRect(const CardRect& r)
{
    return gfx::Rect::FromSize(r.left, r.top, r.width, r.height);
}

}  // namespace

std::unique_ptr<InterfaceWindow> InterfaceWindow::OpenTopLevel(MediaDatabase* database, const MemoryBlock& record,
    const TopLevelOptions& options)
{
    ui::Application* app = ui::Application::Current();
    if (!app)
        return nullptr;
    auto window = std::make_unique<InterfaceWindow>(options.screen, options.frameStyle);
    if (!window->CreateFramed(nullptr, "", gfx::Rect::FromSize(0, 0, kDefaultWidth, kDefaultHeight)))
        return nullptr;
    window->LoadRecord(database, record);
    InterfaceObject& object = *window->Interface();
    const int32_t screenWidth = app->Screen().Width();
    const int32_t screenHeight = app->Screen().Height();
    if (object.CardWidth() == screenWidth || object.CardHeight() == screenHeight) {
        window->MakeFullScreen();
    } else {
        window->FitToCard();
        window->Move((screenWidth - object.CardWidth()) / 2, (screenHeight - object.CardHeight()) / 2);
        window->SetCaption(options.caption);
    }
    object.RaiseEvent("Opened");
    return window;
}

std::unique_ptr<InterfaceWindow> InterfaceWindow::OpenTopLevel(MediaDatabase& database, int32_t mediaId,
    const TopLevelOptions& options)
{
    EntryInfo info;
    if (mediaId < 0 || database.FindEntryById(static_cast<uint32_t>(mediaId), &info) != 1)
        return nullptr;
    MemoryBlock record;
    if (database.ReadEntryPart(info, 0, nullptr, record) != 1)
        return nullptr;
    return OpenTopLevel(&database, record, options);
}

InterfaceWindow::InterfaceWindow(ScreenContext* screen, int32_t frameStyle, OwnObject own)
    : TFramedWindow(frameStyle), m_screen(screen), m_mouse(*this)
{
    SetNoBackground();
    if (screen)
        m_palette = std::make_unique<Palette>(*screen);
    if (own == OwnObject::Yes)
        AdoptInterface(std::make_unique<InterfaceObject>());
    SetMode(Mode::Running);
    // Plug-ins live while any Interface window does.
    m_scriptHost = ScriptHost::Installed();
    if (m_scriptHost)
        m_scriptHost->InterfaceWindowOpened();
}

InterfaceWindow::~InterfaceWindow()
{
    Destroy();
    // Elements first: their windows and links refer to this window.
    Clear();
    // A host replaced meanwhile never counted this window.
    if (m_scriptHost && m_scriptHost == ScriptHost::Installed())
        m_scriptHost->InterfaceWindowClosed();
}

int InterfaceWindow::LoadRecord(MediaDatabase* database, const MemoryBlock& record)
{
    m_mouse.Forget();
    m_posted.clear();
    m_mediaDatabase = database;
    InterfaceRecord::Load(*this, database, record);
    if (InterfaceObject* object = Interface())
        object->ResolveLinks();
    RenderBackground();
    Invalidate();
    return 1;
}

int InterfaceWindow::LoadMedium(MediaDatabase* database, int32_t mediaId)
{
    EntryInfo info;
    if (!database || mediaId < 0 || database->FindEntryById(static_cast<uint32_t>(mediaId), &info) != 1)
        return -1;
    MemoryBlock record;
    if (database->ReadEntryPart(info, 0, nullptr, record) != 1)
        return 0;
    return LoadRecord(database, record);
}

void InterfaceWindow::MakeFullScreen()
{
    ui::Application* app = ui::Application::Current();
    if (!app || !IsCreated())
        return;
    bool shown = IsShown();
    SetFrameStyle(0);
    Hide();
    SetRect(gfx::Rect::FromSize(0, 0, app->Screen().Width(), app->Screen().Height()));
    if (shown)
        Show();
    m_fullScreen = true;
    Invalidate();
}

void InterfaceWindow::FitToCard()
{
    InterfaceObject* object = Interface();
    if (!object || !IsCreated() || m_fullScreen)
        return;
    gfx::Rect outer = RectInParent();
    int32_t frameWidth = outer.Width() - ClientWidth();
    int32_t frameHeight = outer.Height() - ClientHeight();
    Resize(object->CardWidth() + frameWidth, object->CardHeight() + frameHeight);
}

CardPoint InterfaceWindow::CardOrigin() const
{
    const InterfaceObject* object = Interface();
    if (!m_fullScreen || !object)
        return {};
    return CardPoint {std::max(0, (ClientWidth() - object->CardWidth()) / 2),
        std::max(0, (ClientHeight() - object->CardHeight()) / 2)};
}

gfx::Rect InterfaceWindow::CardArea() const
{
    const InterfaceObject* object = Interface();
    CardPoint origin = CardOrigin();
    if (!object)
        return ClientRect();
    return gfx::Rect::FromSize(origin.x, origin.y, object->CardWidth(), object->CardHeight());
}

gfx::Rect InterfaceWindow::ElementArea(const Element& element) const
{
    return ToRect(CardToClient(element.GetFrame()));
}

ui::TWindow* InterfaceWindow::ElementWindow(const Element& element) const
{
    ui::Application* app = ui::Application::Current();
    intptr_t handle = element.WindowHandle();
    if (!app || handle == 0)
        return nullptr;
    ui::TWindow* window = app->FromHandle(static_cast<uint32_t>(handle));
    return window && window->Parent() == this ? window : nullptr;
}

int InterfaceWindow::ShowCard(int32_t index)
{
    if (index == CurrentCard() || index < 0 || index >= NumCards())
        return 0;
    m_mouse.Forget();
    m_holdRedraw = true;
    InterfaceModel::ShowCard(index);
    m_holdRedraw = false;
    if (!IsCreated())
        return 1;
    if (GetMode() == Mode::Running) {
        Invalidate(CardArea());
        Update();
    } else {
        Invalidate();
    }
    return 1;
}

void InterfaceWindow::ElementFrameChanged(Element& element, const CardRect& oldFrame)
{
    if (!IsCreated())
        return;
    auto* child = dynamic_cast<InterfaceObject*>(&element);
    if (child && child->DisplayMode() == InterfaceObject::kEmbedded) {
        // An embedded child's window is one pixel larger than its frame.
        if (child->ChildWindow())
            child->Show();
    } else if (ui::TWindow* window = ElementWindow(element)) {
        window->SetRect(ToRect(CardToClient(element.WindowFrame())));
    }
    Invalidate(ToRect(CardToClient(oldFrame)));
    Invalidate(ElementArea(element));
}

void InterfaceWindow::ElementStateChanged(Element& element)
{
    InvalidateElement(element);
}

void InterfaceWindow::InvalidateElement(Element& element)
{
    if (!IsCreated())
        return;
    if (ui::TWindow* window = ElementWindow(element))
        window->Invalidate();
    Invalidate(ElementArea(element));
}

void InterfaceWindow::UpdateElement(Element& element)
{
    InvalidateElement(element);
    if (IsCreated())
        Update();
}

void InterfaceWindow::FocusElement(Element& element)
{
    if (ui::TWindow* window = ElementWindow(element))
        window->SetFocus();
}

void InterfaceWindow::CardSizeChanged(int32_t, int32_t)
{
    if (m_sizeFollowsCard)
        FitToCard();
    RenderBackground();
    if (IsCreated())
        Invalidate();
}

void InterfaceWindow::Redraw()
{
    if (m_holdRedraw || !IsCreated())
        return;
    Invalidate();
    if (GetMode() == Mode::Running)
        Update();
}

void InterfaceWindow::BackgroundChanged()
{
    RenderBackground();
    if (IsCreated())
        Invalidate(CardArea());
}

void InterfaceWindow::RenderBackground()
{
    InterfaceObject* object = Interface();
    if (!object)
        return;
    BackgroundFill::Settings settings;
    settings.kind = object->BackgroundKind();
    settings.backColor = object->BackColor();
    settings.gradientColor = object->GradientColor();
    settings.picture = &object->BackBitmap();
    settings.width = object->CardWidth();
    settings.height = object->CardHeight();
    MemoryBlock colors;
    BackgroundFill::Render(settings, m_backImage, &colors);
    // A picture with a colour table brings its palette along.
    if (!colors.Empty()) {
        object->TakePictureColors(colors);
        if (m_palette)
            LoadPaletteBytes(colors);
    }
}

void InterfaceWindow::Paint(ui::Painter& painter)
{
    gfx::Rect card = CardArea();
    gfx::Rect clip = painter.ClipInClient();
    if (m_fullScreen) {
        // Around a centred card the screen stays black.
        gfx::Rect client = ClientRect();
        painter.FillRect(gfx::Rect {client.left, client.top, client.right, card.top}, gfx::kBlack);
        painter.FillRect(gfx::Rect {client.left, card.bottom, client.right, client.bottom}, gfx::kBlack);
        painter.FillRect(gfx::Rect {client.left, card.top, card.left, card.bottom}, gfx::kBlack);
        painter.FillRect(gfx::Rect {card.right, card.top, client.right, card.bottom}, gfx::kBlack);
    }
    gfx::Rect part = clip.Intersect(card).Offset(-card.left, -card.top);
    if (!part.IsEmpty() && !m_backImage.IsEmpty())
        painter.Blit(m_backImage, part, gfx::Point {card.left + part.left, card.top + part.top});
}

void InterfaceWindow::FrameworkMouse(uint32_t code, gfx::Point p, uint32_t)
{
    if (GetMode() != Mode::Running || !Interface())
        return;
    // An embedded child Interface dispatches its own mouse events.
    for (ui::TWindow* child : Children()) {
        if (child->IsShown() && child->RectInParent().Contains(p) && dynamic_cast<InterfaceWindow*>(child))
            return;
    }
    CardPoint client {p.x, p.y};
    CardPoint origin = CardOrigin();
    CardPoint card {p.x - origin.x, p.y - origin.y};
    m_mousePosition = client;
    switch (code) {
    case ui::msg::kFrameworkMouseMove:
        m_mouse.Move(card, client);
        break;
    case ui::msg::kFrameworkButtonDown:
        m_buttonDown = true;
        m_mouse.ButtonEvent(MouseDispatcher::Button::Down, card, client);
        break;
    case ui::msg::kFrameworkButtonUp:
        m_buttonDown = false;
        m_mouse.ButtonEvent(MouseDispatcher::Button::Up, card, client);
        break;
    case ui::msg::kFrameworkDoubleClick:
        m_buttonDown = true;
        m_mouse.ButtonEvent(MouseDispatcher::Button::DoubleClick, card, client);
        break;
    default:
        break;
    }
}

void InterfaceWindow::Timer(uint32_t id)
{
    if (id == TimerId() && Interface())
        Interface()->TimerTicked();
}

intptr_t InterfaceWindow::WindowProc(uint32_t code, uintptr_t wParam, intptr_t lParam)
{
    if (code == kRunPostedEvents) {
        RunPostedEvents();
        return 0;
    }
    return TFramedWindow::WindowProc(code, wParam, lParam);
}

void InterfaceWindow::RequestClose()
{
    if (m_inEditor) {
        ui::ShowMessageBox(this, kEditorCloseText, kEditorCloseCaption, ui::MessageBoxIcon::Information,
            ui::MessageBoxButtons::Ok);
        return;
    }
    StopTimer();
    if (IsCreated() && !m_closePosted) {
        m_closePosted = true;
        PostMessage(ui::msg::kClose);
    }
}

void InterfaceWindow::Close()
{
    m_closePosted = false;
    InterfaceObject* object = Interface();
    if (object)
        object->RaiseEvent("Closed");
    if (object && !object->IsSelfRole()) {
        object->HideChildWindow();
        return;
    }
    StopTimer();
    Destroy();
}

void InterfaceWindow::Destroyed()
{
    StopTimer();
    m_mouse.Forget();
}

void InterfaceWindow::PostEvent(Element& element, std::string_view name, std::span<const AttributeValue> params)
{
    m_posted.push_back(PostedEvent {&element, std::string(name), {params.begin(), params.end()}});
    if (IsCreated() && m_posted.size() == 1)
        PostMessage(kRunPostedEvents);
}

void InterfaceWindow::RunPostedEvents()
{
    // Oldest first; handlers may post more, which run in this same pass.
    while (!m_posted.empty()) {
        PostedEvent event = std::move(m_posted.front());
        m_posted.erase(m_posted.begin());
        if (CardOf(*event.element) == kNotOnCard)
            continue;
        event.element->RaiseEvent(event.name, event.params);
    }
}

void InterfaceWindow::LoadPaletteBytes(const MemoryBlock& bytes)
{
    m_palette->Import(bytes);
    if (m_palette->Count() > kMaxPaletteWithoutSystemColors)
        return;
    for (int i = SystemColors::kLowCount - 1; i >= 0; --i)
        m_palette->AppendColor(SystemColors::At(i), AtEnd::No);
    for (int i = SystemColors::kLowCount; i < SystemColors::kCount; ++i)
        m_palette->AppendColor(SystemColors::At(i), AtEnd::Yes);
}

void InterfaceWindow::ShowCurrentPalette()
{
    if (m_screen && m_screen->Current() && m_screen->Current()->Device())
        m_screen->ShowPalette(*m_screen->Current()->Device());
    if (IsCreated())
        Invalidate();
}

void InterfaceWindow::RealisePalette(const MemoryBlock& palette)
{
    if (!m_palette || palette.Empty())
        return;
    LoadPaletteBytes(palette);
    m_palette->MakeCurrent();
    ShowCurrentPalette();
}

void InterfaceWindow::BackPaletteChanged()
{
    InterfaceObject* object = Interface();
    if (!m_palette || !object)
        return;
    LoadPaletteBytes(object->BackPalette());
    if (m_palette->IsCurrent())
        ShowCurrentPalette();
    Redraw();
}

void InterfaceWindow::ActivatePalette()
{
    InterfaceObject* object = Interface();
    if (!m_palette || !object || object->BackPalette().Empty())
        return;
    LoadPaletteBytes(object->BackPalette());
    m_palette->MakeCurrent();
    ShowCurrentPalette();
}

void InterfaceWindow::DeactivatePalette()
{
    InterfaceObject* object = Interface();
    if (!m_screen || !object || object->BackPalette().Empty() || !m_screen->Current())
        return;
    m_screen->Current()->ReleaseCurrent();
    gfx::Palette system(gfx::SystemPalette::DefaultPalette());
    m_screen->ShowPalette(system);
    if (IsCreated())
        Invalidate();
}

void InterfaceWindow::FadeIn(int32_t steps)
{
    InterfaceObject* object = Interface();
    if (m_palette && object && !object->BackPalette().Empty())
        LoadPaletteBytes(object->BackPalette());
    if (m_screen && m_screen->Current())
        m_screen->Current()->FadeIn(steps);
}

void InterfaceWindow::FadeOut(int32_t steps)
{
    if (m_screen && m_screen->Current())
        m_screen->Current()->FadeOut(steps);
}

int32_t InterfaceWindow::PaletteHandle() const
{
    if (!m_screen || !m_screen->Current())
        return 0;
    // A stable, non-zero number for the current palette object.
    return static_cast<int32_t>(reinterpret_cast<uintptr_t>(m_screen->Current()) & 0x7FFFFFF0) | 1;
}

}  // namespace tamber
