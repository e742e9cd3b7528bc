#include "ui/MessageBox.h"

#include "base/AsciiCase.h"

#include <algorithm>
#include <array>

#include "ui/Application.h"

namespace tamber::ui {

namespace {

struct ButtonRow {
    MessageBoxResult result;
    const char* name;
    const char* label;
};

constexpr std::array<ButtonRow, 4> kButtonNames { {
    { MessageBoxResult::Ok, "OK", "OK" },
    { MessageBoxResult::Cancel, "Cancel", "Cancel" },
    { MessageBoxResult::Yes, "Yes", "&Yes" },
    { MessageBoxResult::No, "No", "&No" },
} };


const char* LabelOf(MessageBoxResult result)
{
    for (const ButtonRow& row : kButtonNames) {
        if (row.result == result)
            return row.label;
    }
    return "";
}

} // namespace

const char* ButtonName(MessageBoxResult result)
{
    for (const ButtonRow& row : kButtonNames) {
        if (row.result == result)
            return row.name;
    }
    return "";
}

int ParseButtonName(std::string_view name, MessageBoxResult& result)
{
    for (const ButtonRow& row : kButtonNames) {
        if (EqualFolded(name, row.name)) {
            result = row.result;
            return 1;
        }
    }
    return 0;
}

std::vector<MessageBoxResult> ButtonsOf(MessageBoxButtons buttons)
{
    switch (buttons) {
    case MessageBoxButtons::OkCancel:
        return { MessageBoxResult::Ok, MessageBoxResult::Cancel };
    case MessageBoxButtons::YesNo:
        return { MessageBoxResult::Yes, MessageBoxResult::No };
    case MessageBoxButtons::YesNoCancel:
        return { MessageBoxResult::Yes, MessageBoxResult::No, MessageBoxResult::Cancel };
    case MessageBoxButtons::Ok:
        break;
    }
    return { MessageBoxResult::Ok };
}

MessageBoxResult ShowMessageBox(TWindow* owner, std::string_view text, std::string_view caption, MessageBoxIcon icon,
                                MessageBoxButtons buttons)
{
    MessageBoxRequest request { std::string(text), std::string(caption), icon, buttons };
    Application* app = Application::Current();
    std::vector<MessageBoxResult> offered = ButtonsOf(buttons);
    if (!app)
        return offered.front();
    if (DialogAnswers* answers = app->Answers()) {
        MessageBoxResult answer = offered.front();
        if (answers->AnswerMessageBox(request, answer))
            return answer;
    }
    MessageBoxDialog box(std::move(request));
    if (!box.Open(owner))
        return offered.front();
    int result = box.Execute();
    for (MessageBoxResult r : offered) {
        if (static_cast<int>(r) == result)
            return r;
    }
    return offered.front();
}

MessageBoxDialog::MessageBoxDialog(MessageBoxRequest request)
    : m_request(std::move(request))
{
    SetDefaultId(static_cast<uint16_t>(ButtonsOf(m_request.buttons).front()));
}

std::vector<std::string> MessageBoxDialog::Lines() const
{
    // Lines break at line feeds and, where a line is too wide, at the last blank that fits.
    std::vector<std::string> out;
    auto face = Font();
    std::string line;
    auto flush = [&] {
        out.push_back(line);
        line.clear();
    };
    const std::string& text = m_request.text;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r')
            continue;
        if (c == '\n') {
            flush();
            continue;
        }
        line.push_back(c);
        if (Painter::TextWidth(face.get(), line) > kMaxTextWidth) {
            size_t blank = line.rfind(' ');
            if (blank != std::string::npos && blank > 0) {
                std::string rest = line.substr(blank + 1);
                line.resize(blank);
                flush();
                line = rest;
            } else {
                char last = line.back();
                line.pop_back();
                flush();
                line.push_back(last);
            }
        }
    }
    flush();
    return out;
}

int MessageBoxDialog::Open(TWindow* owner)
{
    SetOwner(owner ? owner->TopLevel() : nullptr);
    std::vector<std::string> lines = Lines();
    auto face = Font();
    int32_t lineHeight = face ? face->Metrics().height : 13;
    int32_t textWidth = 0;
    for (const std::string& l : lines)
        textWidth = std::max(textWidth, Painter::TextWidth(face.get(), l));
    int32_t textHeight = std::max(kIconSize, static_cast<int32_t>(lines.size()) * lineHeight);
    int32_t count = static_cast<int32_t>(ButtonsOf(m_request.buttons).size());
    int32_t buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
    int32_t clientWidth = std::max(kMargin + kIconSize + kMargin + textWidth + kMargin, buttonsWidth + 2 * kMargin);
    int32_t clientHeight = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
    Insets in { kDialogBorder, kDialogBorder + kCaptionHeight, kDialogBorder, kDialogBorder };
    gfx::Rect r = gfx::Rect::FromSize(0, 0, clientWidth + in.left + in.right, clientHeight + in.top + in.bottom);
    return CreateFramed(nullptr, m_request.caption, r, Placement::Centered);
}

void MessageBoxDialog::Created()
{
    std::vector<MessageBoxResult> offered = ButtonsOf(m_request.buttons);
    int32_t count = static_cast<int32_t>(offered.size());
    int32_t width = count * kButtonWidth + (count - 1) * kButtonGap;
    int32_t x = (ClientWidth() - width) / 2, y = ClientHeight() - kMargin - kButtonHeight;
    for (MessageBoxResult r : offered) {
        auto button = std::make_unique<ButtonControl>(r == offered.front() ? ButtonKind::DefaultPush : ButtonKind::Push);
        button->SetId(static_cast<uint16_t>(r));
        button->Create(this, LabelOf(r), gfx::Rect::FromSize(x, y, kButtonWidth, kButtonHeight), Visibility::Shown);
        x += kButtonWidth + kButtonGap;
        m_buttons.push_back(std::move(button));
    }
    m_buttons.front()->SetFocus();
}

void MessageBoxDialog::Close()
{
    std::vector<MessageBoxResult> offered = ButtonsOf(m_request.buttons);
    bool cancel = std::find(offered.begin(), offered.end(), MessageBoxResult::Cancel) != offered.end();
    ButtonPressed(static_cast<uint16_t>(cancel ? MessageBoxResult::Cancel : offered.front()));
}

void MessageBoxDialog::DrawIcon(Painter& p, int32_t x, int32_t y)
{
    gfx::Rect box = gfx::Rect::FromSize(x, y, kIconSize, kIconSize);
    switch (m_request.icon) {
    case MessageBoxIcon::Information:
    case MessageBoxIcon::Question: {
        gfx::ColorRef ink = gfx::Rgb(0, 0, 255);
        p.FillEllipse(box, look::kDarkShadow);
        p.FillEllipse(box.Inflate(-1, -1), look::kWindow);
        if (m_request.icon == MessageBoxIcon::Information) {
            p.FillRect(gfx::Rect::FromSize(x + 14, y + 6, 4, 4), ink);
            p.FillRect(gfx::Rect::FromSize(x + 14, y + 12, 4, 13), ink);
            p.FillRect(gfx::Rect::FromSize(x + 12, y + 12, 2, 2), ink);
            p.FillRect(gfx::Rect::FromSize(x + 12, y + 23, 8, 2), ink);
        } else {
            // A question mark: a hook of three bars and a dot.
            p.FillRect(gfx::Rect::FromSize(x + 10, y + 6, 12, 3), ink);
            p.FillRect(gfx::Rect::FromSize(x + 19, y + 8, 3, 7), ink);
            p.FillRect(gfx::Rect::FromSize(x + 15, y + 14, 6, 3), ink);
            p.FillRect(gfx::Rect::FromSize(x + 14, y + 16, 3, 4), ink);
            p.FillRect(gfx::Rect::FromSize(x + 9, y + 8, 3, 3), ink);
            p.FillRect(gfx::Rect::FromSize(x + 14, y + 22, 3, 3), ink);
        }
        break;
    }
    case MessageBoxIcon::Warning:
        for (int32_t row = 0; row < 28; ++row) {
            int32_t half = row / 2;
            p.HLine(x + 16 - half - 1, x + 16 + half + 1, y + 2 + row, look::kDarkShadow);
            if (row > 1 && row < 27)
                p.HLine(x + 16 - half + 1, x + 16 + half - 1, y + 2 + row, gfx::Rgb(255, 255, 0));
        }
        p.FillRect(gfx::Rect::FromSize(x + 15, y + 10, 3, 10), look::kDarkShadow);
        p.FillRect(gfx::Rect::FromSize(x + 15, y + 22, 3, 3), look::kDarkShadow);
        break;
    case MessageBoxIcon::Error:
        p.FillEllipse(box, look::kDarkShadow);
        p.FillEllipse(box.Inflate(-1, -1), gfx::Rgb(255, 0, 0));
        for (int32_t d = 0; d < 14; ++d) {
            p.FillRect(gfx::Rect::FromSize(x + 9 + d, y + 9 + d, 2, 1), look::kWindow);
            p.FillRect(gfx::Rect::FromSize(x + 22 - d, y + 9 + d, 2, 1), look::kWindow);
        }
        break;
    }
}

void MessageBoxDialog::Paint(Painter& p)
{
    DrawIcon(p, kMargin, kMargin);
    int32_t lineHeight = p.TextHeight();
    int32_t y = kMargin;
    std::vector<std::string> lines = Lines();
    int32_t textHeight = static_cast<int32_t>(lines.size()) * lineHeight;
    if (textHeight < kIconSize)
        y += (kIconSize - textHeight) / 2;
    for (const std::string& line : lines) {
        p.DrawText(kMargin + kIconSize + kMargin, y, line, look::kText);
        y += lineHeight;
    }
}

} // namespace tamber::ui
