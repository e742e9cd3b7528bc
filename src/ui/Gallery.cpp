#include "ui/Gallery.h"

#include <algorithm>
#include <array>
#include <map>

#include "ui/Application.h"
#include "ui/ComboBoxControl.h"
#include "ui/EditControl.h"
#include "ui/LabelControl.h"
#include "ui/ListBoxControl.h"
#include "ui/ScrollBarControl.h"

namespace tamber::ui {

namespace {

struct NoticeRow {
    uint16_t code;
    const char* name;
};

constexpr std::array<NoticeRow, 12> kNotices { {
    { notify::kClicked, "Clicked" },
    { notify::kSelectionChanged, "SelectionChanged" },
    { notify::kDoubleClicked, "DoubleClicked" },
    { notify::kSetFocus, "GotFocus" },
    { notify::kKillFocus, "LostFocus" },
    { notify::kEditChanged, "EditChanged" },
    { notify::kDropDown, "DropDown" },
    { notify::kCloseUp, "PullUp" },
    { notify::kChanged, "Changed" },
    { notify::kEnterKey, "EnterKeyPressed" },
    { notify::kEscapeKey, "EscapeKeyPressed" },
    { notify::kTabKey, "TabKeyPressed" },
} };

// A picture for the bitmap buttons: a diagonal blend between two colours with a dark rim.
std::shared_ptr<gfx::Image> Picture(int32_t w, int32_t h, uint32_t from, uint32_t to)
{
    auto image = std::make_shared<gfx::Image>(w, h, gfx::PixelFormat::Rgb32);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            int32_t t = (x + y) * 255 / std::max(1, w + h - 2);
            uint32_t c = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                int32_t a = static_cast<int32_t>(from >> shift & 0xFF), b = static_cast<int32_t>(to >> shift & 0xFF);
                c |= static_cast<uint32_t>(a + (b - a) * t / 255) << shift;
            }
            bool rim = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            image->Set(x, y, rim ? 0x202020 : c);
        }
    }
    return image;
}

// A mask that cuts the corners off.
std::shared_ptr<gfx::Image> CornerMask(int32_t w, int32_t h)
{
    auto mask = std::make_shared<gfx::Image>(w, h, gfx::PixelFormat::Rgb32);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            int32_t dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
            if (dx + dy < 4)
                mask->Set(x, y, 1);
        }
    }
    return mask;
}

// The small window of one frame style: its number in the middle.
class StyleWindow : public TFramedWindow {
public:
    explicit StyleWindow(int32_t style) : TFramedWindow(style) { SetBackground(look::kWindow); }

protected:
    void Paint(Painter& p) override
    {
        p.DrawTextAligned(ClientRect(), "Frame style " + std::to_string(FrameStyle()), look::kText, HAlign::Center, VAlign::Center);
    }
};

} // namespace

class Gallery::Window : public TFramedWindow {
public:
    explicit Window(Gallery& gallery) : TFramedWindow(5), m_gallery(gallery) { SetBackground(look::kFace); }

    template<typename T>
    T& Add(std::unique_ptr<T> control, std::string name, gfx::Rect rect, std::string caption = {})
    {
        uint16_t id = static_cast<uint16_t>(m_names.size() + 1);
        control->SetId(id);
        m_names[id] = name;
        control->Create(this, caption, rect, Visibility::Shown);
        return *Adopt(std::move(control));
    }
    void Label(const char* text, gfx::Rect rect)
    {
        auto label = std::make_unique<LabelControl>();
        label->Create(this, text, rect, Visibility::Shown);
        Adopt(std::move(label));
    }
    ButtonControl* ok = nullptr;

protected:
    void Command(uint16_t id, uint16_t code, TWindow* from) override
    {
        auto name = m_names.find(id);
        if (from && name != m_names.end() && m_gallery.m_log)
            m_gallery.m_log(name->second + ": " + NoticeName(code));
        TFramedWindow::Command(id, code, from);
    }
    void Scrolled(ScrollBarKind bar, int32_t code, int32_t pos, TWindow* from) override
    {
        if (from && m_gallery.m_log && code != scroll::kEndScroll)
            m_gallery.m_log(std::string(bar == ScrollBarKind::Horizontal ? "HScroll" : "VScroll") + ": " + std::to_string(code)
                            + " " + std::to_string(pos));
    }
    void Close() override
    {
        Application* app = App();
        Destroy();
        if (app)
            app->PostQuit(0);
    }

private:
    Gallery& m_gallery;
    std::map<uint16_t, std::string> m_names;
};

Gallery::Gallery(NoticeLog log)
    : m_log(std::move(log))
{
}

Gallery::~Gallery()
{
    m_tip.reset();
    m_frames.clear();
    m_main.reset();
}

TFramedWindow& Gallery::MainWindow()
{
    return *m_main;
}

ButtonControl& Gallery::OkButton()
{
    return *m_main->ok;
}

void Gallery::ShowOkTip()
{
    Application* app = Application::Current();
    if (!app || !m_main)
        return;
    gfx::Rect ok = OkButton().WindowRect();
    InputEvent move;
    move.type = EventType::MouseMove;
    move.x = ok.left + ok.Width() / 2;
    move.y = ok.top + ok.Height() / 2;
    app->Screen().PostEvent(move);
    app->RunFor(ControlTip::kDelay);
}

const char* Gallery::NoticeName(uint16_t code)
{
    for (const NoticeRow& row : kNotices) {
        if (row.code == code)
            return row.name;
    }
    return "Notice";
}

int Gallery::Build()
{
    Application* app = Application::Current();
    if (!app)
        return 0;
    m_main = std::make_unique<Window>(*this);
    Window& w = *m_main;
    w.CreateFramed(nullptr, "Tamber gallery", gfx::Rect::FromSize(10, 10, 620, 470));

    w.Label("Buttons", gfx::Rect::FromSize(10, 6, 200, 16));
    w.ok = &w.Add(std::make_unique<ButtonControl>(), "OK", gfx::Rect::FromSize(10, 26, 90, 24), "&OK");
    w.Add(std::make_unique<ButtonControl>(ButtonKind::DefaultPush), "Default", gfx::Rect::FromSize(110, 26, 90, 24), "&Default");
    w.Add(std::make_unique<ButtonControl>(), "Disabled", gfx::Rect::FromSize(210, 26, 90, 24), "Disabled").Disable();
    struct Mark {
        ButtonKind kind;
        const char* caption;
        int32_t x, y, check;
        const char* group;
    };
    const Mark marks[] = {
        { ButtonKind::Radio, "Radio one", 10, 58, 1, "flat" },
        { ButtonKind::Radio, "Radio two", 10, 78, 0, "flat" },
        { ButtonKind::Radio3d, "3-D radio", 130, 58, 1, "deep" },
        { ButtonKind::Radio3d, "3-D radio two", 130, 78, 0, "deep" },
        { ButtonKind::Check, "Check box", 250, 58, 1, "" },
        { ButtonKind::Check3d, "3-D check box", 250, 78, 1, "" },
        { ButtonKind::ThreeState, "Three-state", 380, 58, 2, "" },
        { ButtonKind::Check3d, "Unchecked", 380, 78, 0, "" },
    };
    for (const Mark& m : marks) {
        auto b = std::make_unique<ButtonControl>(m.kind);
        b->SetGroup(m.group);
        b->SetBackColor(look::kFace);
        w.Add(std::move(b), m.caption, gfx::Rect::FromSize(m.x, m.y, 120, 18), m.caption).SetCheck(m.check);
    }
    ButtonBitmaps three;
    three.up = Picture(64, 32, 0xE0E0FF, 0x4040C0);
    three.down = Picture(64, 32, 0x4040C0, 0xE0E0FF);
    three.disabled = Picture(64, 32, 0xE0E0E0, 0x808080);
    three.mask = CornerMask(64, 32);
    auto b3 = std::make_unique<ButtonControl>(ButtonKind::Bitmap3);
    b3->SetBitmaps(three);
    b3->SetBackColor(look::kFace);
    b3->SetTextColor(look::kWindow);
    w.Add(std::move(b3), "Bitmap3", gfx::Rect::FromSize(10, 102, 64, 32), "Three");
    ButtonBitmaps five = three;
    five.up = Picture(64, 32, 0xFFE0C0, 0xC06000);
    five.upHighlight = Picture(64, 32, 0xFFFFA0, 0xE0A000);
    five.down = Picture(64, 32, 0xC06000, 0xFFE0C0);
    five.downHighlight = Picture(64, 32, 0xE0A000, 0xFFFFA0);
    auto b5 = std::make_unique<ButtonControl>(ButtonKind::Bitmap5);
    b5->SetBitmaps(five);
    b5->SetBackColor(look::kFace);
    b5->SetDrawCaption(DrawCaption::No);
    w.Add(std::move(b5), "Bitmap5", gfx::Rect::FromSize(84, 102, 64, 32));

    w.Label("Lists", gfx::Rect::FromSize(10, 142, 200, 16));
    auto& single = w.Add(std::make_unique<ListBoxControl>(), "List", gfx::Rect::FromSize(10, 160, 140, 110));
    for (const char* item : { "Apple", "apricot", "Banana", "Cherry", "Damson", "Elderberry" })
        single.AddString(item);
    single.SetCurSel(2);
    auto& multi = w.Add(std::make_unique<ListBoxControl>(SelectionMode::Multiple), "MultiList", gfx::Rect::FromSize(160, 160, 140, 110));
    for (int i = 1; i <= 12; ++i)
        multi.AddString("Card " + std::to_string(i));
    multi.SetSelected(1, true);
    multi.SetSelected(3, true);
    auto& drop = w.Add(std::make_unique<ComboBoxControl>(), "Combo", gfx::Rect::FromSize(310, 160, 150, 22));
    for (const char* item : { "Solid", "Gradient", "Stretched Picture", "Tiled Picture" })
        drop.AddString(item);
    drop.SetCurSel(1);
    auto& editable = w.Add(std::make_unique<ComboBoxControl>(ComboKind::Editable), "EditCombo", gfx::Rect::FromSize(310, 190, 150, 22));
    for (const char* item : { "Arial", "Courier New", "Times New Roman" })
        editable.AddString(item);
    editable.SetText("Arial");
    auto vertical = std::make_unique<ScrollBarControl>(Orientation::Vertical);
    vertical->SetRange(0, 100);
    vertical->SetPage(20);
    vertical->SetPos(50);
    w.Add(std::move(vertical), "VScroll", gfx::Rect::FromSize(480, 160, 16, 110));

    w.Label("Edit boxes", gfx::Rect::FromSize(10, 280, 200, 16));
    w.Add(std::make_unique<EditControl>(), "Edit", gfx::Rect::FromSize(10, 298, 140, 22)).SetText("Hello");
    auto password = std::make_unique<EditControl>();
    password->SetOptions(kEditPassword);
    w.Add(std::move(password), "Password", gfx::Rect::FromSize(160, 298, 140, 22)).SetText("secret");
    auto locked = std::make_unique<EditControl>();
    locked->SetOptions(kEditReadOnly);
    w.Add(std::move(locked), "ReadOnly", gfx::Rect::FromSize(310, 298, 140, 22)).SetText("Read-only");
    auto spin = std::make_unique<EditControl>();
    spin->SetOptions(kEditSpin);
    spin->SetSpinLimits(0, 10, 1);
    w.Add(std::move(spin), "Spin", gfx::Rect::FromSize(460, 298, 80, 22)).SetText("5");

    w.Label("Scroll bar", gfx::Rect::FromSize(10, 330, 200, 16));
    auto horizontal = std::make_unique<ScrollBarControl>(Orientation::Horizontal);
    horizontal->SetRange(0, 100);
    horizontal->SetPage(10);
    horizontal->SetPos(30);
    w.Add(std::move(horizontal), "HScroll", gfx::Rect::FromSize(10, 348, 300, 16));

    m_tip = std::make_unique<ControlTip>();
    m_tip->Attach(*w.ok, "Press to confirm");

    // One window per frame style, where the screen has room for them.
    int32_t screenWidth = app->Screen().Width(), screenHeight = app->Screen().Height();
    for (int32_t style = 0; style <= 11; ++style) {
        int32_t x = 650 + (style % 2) * 186, y = 10 + (style / 2) * 80;
        if (x + 176 > screenWidth || y + 70 > screenHeight)
            continue;
        auto frame = std::make_unique<StyleWindow>(style);
        frame->CreateFramed(nullptr, "Style " + std::to_string(style), gfx::Rect::FromSize(x, y, 176, 70), Placement::AsGiven,
                            Visibility::Shown);
        m_frames.push_back(std::move(frame));
    }
    w.Show();
    w.ok->SetFocus();
    return 1;
}

} // namespace tamber::ui
