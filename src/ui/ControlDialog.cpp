#include "ui/ControlDialog.h"

#include "ui/ButtonControl.h"
#include "ui/LabelControl.h"

namespace tamber::ui {

namespace {

constexpr int32_t kButtonWidth = 75;
constexpr int32_t kButtonHeight = 23;
constexpr int32_t kButtonPitch = 28;

} // namespace

ControlDialog::ControlDialog(std::string caption, int32_t width, int32_t height)
    : m_openCaption(std::move(caption))
    , m_width(width)
    , m_height(height)
{
}

int ControlDialog::Open(TWindow* owner)
{
    SetOwner(owner ? owner->TopLevel() : nullptr);
    return CreateFramed(
        nullptr, m_openCaption, gfx::Rect::FromSize(0, 0, m_width, m_height), Placement::Centered);
}

void ControlDialog::AddLabel(const char* text, const gfx::Rect& rect)
{
    auto label = std::make_unique<LabelControl>();
    label->Create(this, text, rect, Visibility::Shown);
    m_owned.push_back(std::move(label));
}

void ControlDialog::AddOkCancel(int32_t x, int32_t y)
{
    auto add = [&](const char* text, uint16_t id, int32_t top, ButtonKind kind) {
        auto button = std::make_unique<ButtonControl>(kind);
        button->SetId(id);
        button->Create(
            this, text, gfx::Rect::FromSize(x, top, kButtonWidth, kButtonHeight), Visibility::Shown);
        m_owned.push_back(std::move(button));
    };
    add("OK", dialog::kOk, y, ButtonKind::DefaultPush);
    add("Cancel", dialog::kCancel, y + kButtonPitch, ButtonKind::Push);
}

} // namespace tamber::ui
