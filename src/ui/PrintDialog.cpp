#include "ui/PrintDialog.h"

#include <algorithm>
#include <cstdlib>

#include "ui/Application.h"

namespace tamber::ui {

namespace {

int32_t NumberOf(const EditControl& edit, int32_t fallback)
{
    const std::string& text = edit.Text();
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end == text.c_str())
        return fallback;
    return static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

} // namespace

int ShowPrintDialog(TWindow* owner, const PrintRequest& request, PrintSettings& settings)
{
    Application* app = Application::Current();
    if (!app)
        return 0;
    if (DialogAnswers* answers = app->Answers()) {
        PrintSettings answered = settings;
        if (answers->AnswerPrintDialog(request, answered)) {
            settings = answered;
            return 1;
        }
    }
    PrintDialog dialog(request, settings);
    if (!dialog.Open(owner))
        return 0;
    if (dialog.Execute() != dialog::kOk)
        return 0;
    settings = dialog.Settings();
    return 1;
}

PrintDialog::PrintDialog(const PrintRequest& request, const PrintSettings& settings)
    : ControlDialog("Print", 330, 190)
    , m_request(request)
    , m_initial(settings)
    , m_result(settings)
{
    if (m_request.maxPage < m_request.minPage)
        std::swap(m_request.minPage, m_request.maxPage);
}

void PrintDialog::Created()
{
    auto radio = [this](const char* text, uint16_t id, gfx::Rect r) {
        auto b = std::make_unique<ButtonControl>(ButtonKind::Radio);
        b->SetId(id);
        b->SetGroup("range");
        b->SetBackColor(look::kFace);
        b->Create(this, text, r, Visibility::Shown);
        return b;
    };
    auto number = [this](uint16_t id, gfx::Rect r, int32_t value, uint32_t options) {
        auto e = std::make_unique<EditControl>();
        e->SetId(id);
        e->SetOptions(options);
        e->Create(this, "", r, Visibility::Shown);
        e->SetText(std::to_string(value));
        return e;
    };
    m_all = radio("&All", kAllId, gfx::Rect::FromSize(20, 26, 120, 18));
    m_pages = radio("Pa&ges", kPagesId, gfx::Rect::FromSize(20, 50, 64, 18));
    AddLabel("&from:", gfx::Rect::FromSize(88, 51, 34, 16));
    m_from = number(
        kFromId, gfx::Rect::FromSize(122, 48, 44, 22), std::max(m_initial.fromPage, m_request.minPage), 0);
    AddLabel("&to:", gfx::Rect::FromSize(172, 51, 20, 16));
    m_to = number(kToId, gfx::Rect::FromSize(194, 48, 44, 22),
        std::clamp(m_initial.toPage, m_request.minPage, m_request.maxPage), 0);
    AddLabel("&Copies:", gfx::Rect::FromSize(20, 96, 50, 16));
    m_copies = number(kCopiesId, gfx::Rect::FromSize(74, 93, 60, 22),
        std::clamp(m_initial.copies, 1, kMaxCopies), kEditSpin);
    m_copies->SetSpinLimits(1, kMaxCopies, 1);
    m_collate = std::make_unique<ButtonControl>(ButtonKind::Check3d);
    m_collate->SetId(kCollateId);
    m_collate->SetBackColor(look::kFace);
    m_collate->Create(this, "Colla&te copies", gfx::Rect::FromSize(150, 95, 120, 18), Visibility::Shown);
    m_collate->SetCheck(m_initial.collate ? 1 : 0);
    (m_initial.allPages ? m_all : m_pages)->SetCheck(1);
    AddOkCancel(244, 10);
    m_all->SetFocus();
}

void PrintDialog::Paint(Painter& p)
{
    // The group frame of the page range.
    gfx::Rect group { 10, 12, 238, 80 };
    p.FrameRect(group, look::kShadow);
    p.FrameRect(group.Offset(1, 1), look::kHighlight);
    int32_t w = p.TextWidth("Print range");
    p.FillRect(gfx::Rect::FromSize(16, 5, w + 6, p.TextHeight()), look::kFace);
    p.DrawText(19, 12 - p.TextHeight() / 2, "Print range", look::kText);
}

PrintSettings PrintDialog::Settings() const
{
    PrintSettings s;
    s.allPages = m_all->CheckState() != 0;
    s.fromPage = std::clamp(NumberOf(*m_from, m_request.minPage), m_request.minPage, m_request.maxPage);
    s.toPage = std::clamp(NumberOf(*m_to, s.fromPage), s.fromPage, m_request.maxPage);
    s.copies = std::clamp(NumberOf(*m_copies, 1), 1, kMaxCopies);
    s.collate = m_collate->CheckState() != 0;
    return s;
}

void PrintDialog::Command(uint16_t id, uint16_t code, TWindow* from)
{
    // Typing a page number chooses the page range.
    if ((from == m_from.get() || from == m_to.get()) && code == notify::kSetFocus) {
        m_pages->SetCheck(1);
        m_all->SetCheck(0);
        return;
    }
    if ((from == m_all.get() || from == m_pages.get() || from == m_collate.get()) && code == notify::kClicked)
        return;
    TDialog::Command(id, code, from);
}

void PrintDialog::ButtonPressed(uint16_t id)
{
    if (id == dialog::kOk)
        m_result = Settings();
    TDialog::ButtonPressed(id);
}

} // namespace tamber::ui
