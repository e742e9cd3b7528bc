#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/ComboBoxControl.h"
#include "ui/EditControl.h"

namespace tamber::ui::test {
namespace {

constexpr uint16_t kComboId = 1;

// The focus notices the combo box sent its owner, in order.
std::vector<uint16_t> FocusNotices(RecordingWindow& owner)
{
    std::vector<uint16_t> out;
    for (const Seen& s : owner.seen) {
        uint16_t code = CommandCode(s.wParam);
        if (s.code == msg::kCommand && CommandId(s.wParam) == kComboId && (code == notify::kSetFocus || code == notify::kKillFocus))
            out.push_back(code);
    }
    owner.seen.clear();
    return out;
}

using Codes = std::vector<uint16_t>;

class ComboBoxFocus : public ::testing::TestWithParam<ComboKind> {
protected:
    void SetUp() override
    {
        owner.Create(nullptr, "form", gfx::Rect::FromSize(0, 0, 400, 300), Visibility::Shown);
        combo = std::make_unique<ComboBoxControl>(GetParam());
        combo->SetId(kComboId);
        combo->Create(&owner, "", gfx::Rect::FromSize(10, 10, 120, 22), Visibility::Shown);
        for (const char* item : {"red", "green", "blue"})
            combo->AddString(item);
        other.Create(&owner, "", gfx::Rect::FromSize(10, 100, 120, 22), Visibility::Shown);
        h.app.ProcessPending();
        owner.seen.clear();
    }

    UiHarness h;
    RecordingWindow owner;
    std::unique_ptr<ComboBoxControl> combo;
    EditControl other;
};

TEST_P(ComboBoxFocus, MovesInsideTheBoxAreNeitherGainNorLoss)
{
    const int32_t button = 10 + 120 - 5;
    h.Click(button, 20);
    ASSERT_TRUE(combo->IsDroppedDown());
    EXPECT_EQ(FocusNotices(owner), (Codes {notify::kSetFocus}));

    // Picking from the list, and opening and closing it again, keep the focus within the box.
    gfx::Rect list = combo->List().WindowRect();
    h.Click(list.left + 10, list.top + 1 + 12 + 3);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(combo->CurSel(), 1);
    h.Click(button, 20);
    h.Click(button, 20);
    EXPECT_EQ(FocusNotices(owner), Codes {});

    // Leaving for another control is one loss and closes the open list.
    h.Click(button, 20);
    other.SetFocus();
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(FocusNotices(owner), (Codes {notify::kKillFocus}));
    h.Click(30, 20);
    EXPECT_EQ(FocusNotices(owner), (Codes {notify::kSetFocus}));
}

TEST_P(ComboBoxFocus, FocusGivenByProgramEntersOnce)
{
    combo->SetFocus();
    combo->SetFocus();
    if (EditControl* edit = combo->Edit())
        edit->SetFocus();
    EXPECT_EQ(FocusNotices(owner), (Codes {notify::kSetFocus}));
    other.SetFocus();
    EXPECT_EQ(FocusNotices(owner), (Codes {notify::kKillFocus}));
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ComboBoxFocus, ::testing::Values(ComboKind::DropDownList, ComboKind::Editable));

}  // namespace
}  // namespace tamber::ui::test
