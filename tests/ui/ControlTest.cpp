#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/ButtonControl.h"
#include "ui/Clipboard.h"
#include "ui/ComboBoxControl.h"
#include "ui/ControlTip.h"
#include "ui/EditControl.h"
#include "ui/ListBoxControl.h"
#include "ui/ScrollBarControl.h"

namespace tamber::ui::test {
namespace {

// A top-level form at (0, 0) that collects its controls' notifications as (id, code) pairs.
struct Form {
    explicit Form(UiHarness& h) : h(h)
    {
        owner.Create(nullptr, "form", gfx::Rect::FromSize(0, 0, 400, 300), Visibility::Shown);
        h.app.ProcessPending();
    }
    template<typename T>
    T& Add(std::unique_ptr<T> control, uint16_t id, gfx::Rect rect, std::string caption = "")
    {
        control->SetId(id);
        control->Create(&owner, caption, rect, Visibility::Shown);
        T* raw = owner.Adopt(std::move(control));
        h.app.ProcessPending();
        return *raw;
    }
    std::vector<std::pair<uint16_t, uint16_t>> Notices()
    {
        std::vector<std::pair<uint16_t, uint16_t>> out;
        for (const Seen& s : owner.seen) {
            if (s.code == msg::kCommand && CommandCode(s.wParam) != notify::kSetFocus && CommandCode(s.wParam) != notify::kKillFocus)
                out.emplace_back(CommandId(s.wParam), CommandCode(s.wParam));
        }
        owner.seen.clear();
        return out;
    }
    std::vector<std::pair<uint16_t, int32_t>> Scrolls()
    {
        std::vector<std::pair<uint16_t, int32_t>> out;
        for (const Seen& s : owner.seen) {
            if (s.code == msg::kHScroll || s.code == msg::kVScroll)
                out.emplace_back(static_cast<uint16_t>(s.wParam & 0xFFFF), static_cast<int16_t>((s.wParam >> 16) & 0xFFFF));
        }
        owner.seen.clear();
        return out;
    }
    UiHarness& h;
    RecordingWindow owner;
};

using Notices = std::vector<std::pair<uint16_t, uint16_t>>;

TEST(ButtonControl, PushButtonClicksOnlyWhenReleasedInside)
{
    UiHarness h;
    Form f(h);
    auto& b = f.Add(std::make_unique<ButtonControl>(), 5, gfx::Rect::FromSize(10, 10, 80, 24), "OK");
    h.Click(20, 20);
    EXPECT_EQ(f.Notices(), (Notices { { 5, notify::kClicked } }));
    h.Down(20, 20);
    EXPECT_TRUE(b.IsPressed());
    h.Move(200, 200);
    EXPECT_FALSE(b.IsPressed());
    h.Up(200, 200);
    EXPECT_TRUE(f.Notices().empty());
    h.Key(key::kSpace);
    EXPECT_EQ(f.Notices(), (Notices { { 5, notify::kClicked } }));
    h.DoubleClick(20, 20);
    EXPECT_EQ(f.Notices(), (Notices { { 5, notify::kClicked }, { 5, notify::kDoubleClicked } }));
    b.Disable();
    h.Click(20, 20);
    EXPECT_TRUE(f.Notices().empty());
}

TEST(ButtonControl, CheckBoxesRadioGroupsAndThreeStates)
{
    UiHarness h;
    Form f(h);
    auto& check = f.Add(std::make_unique<ButtonControl>(ButtonKind::Check3d), 1, gfx::Rect::FromSize(10, 10, 100, 20), "c");
    auto& three = f.Add(std::make_unique<ButtonControl>(ButtonKind::ThreeState), 2, gfx::Rect::FromSize(10, 40, 100, 20), "t");
    std::vector<ButtonControl*> radios;
    const char* groups[] = { "a", "a", "b" };
    for (int i = 0; i < 3; ++i) {
        auto radio = std::make_unique<ButtonControl>(ButtonKind::Radio);
        radio->SetGroup(groups[i]);
        radios.push_back(&f.Add(std::move(radio), static_cast<uint16_t>(10 + i), gfx::Rect::FromSize(150, 10 + 30 * i, 100, 20), "r"));
    }
    h.Click(15, 20);
    EXPECT_EQ(check.CheckState(), 1);
    h.Click(15, 20);
    EXPECT_EQ(check.CheckState(), 0);
    std::vector<int32_t> states;
    for (int i = 0; i < 4; ++i) {
        h.Click(15, 50);
        states.push_back(three.CheckState());
    }
    EXPECT_EQ(states, (std::vector<int32_t> { 1, 2, 0, 1 }));
    check.SetCheck(5);
    EXPECT_EQ(check.CheckState(), 1) << "a two-state box has no third state";

    h.Click(155, 20);
    h.Click(155, 80);
    h.Click(155, 50);
    EXPECT_EQ(radios[0]->CheckState(), 0);
    EXPECT_EQ(radios[1]->CheckState(), 1);
    EXPECT_EQ(radios[2]->CheckState(), 1) << "another group keeps its own check";
}

TEST(ButtonControl, BitmapButtonPicksPicturesAndHighlightsUnderThePointer)
{
    UiHarness h;
    Form f(h);
    auto image = [](uint32_t rgb) {
        auto i = std::make_shared<gfx::Image>(20, 10, gfx::PixelFormat::Rgb32);
        i->Fill(rgb);
        return i;
    };
    ButtonBitmaps bitmaps;
    bitmaps.up = image(0x0000FF);
    bitmaps.upHighlight = image(0x00FFFF);
    bitmaps.down = image(0xFF0000);
    bitmaps.downHighlight = image(0xFF00FF);
    bitmaps.disabled = image(0x808080);
    auto mask = std::make_shared<gfx::Image>(20, 10, gfx::PixelFormat::Rgb32);
    mask->Set(0, 0, 1);
    bitmaps.mask = mask;
    auto button = std::make_unique<ButtonControl>(ButtonKind::Bitmap5);
    button->SetBitmaps(bitmaps);
    button->SetDrawCaption(DrawCaption::No);
    button->SetBackColor(0x00FF00);
    auto& b = f.Add(std::move(button), 3, gfx::Rect::FromSize(50, 50, 20, 10));
    EXPECT_EQ(b.CurrentBitmap(), bitmaps.up.get());
    EXPECT_EQ(h.Pixel(55, 55), 0x0000FFu);
    EXPECT_EQ(h.Pixel(50, 50), 0x00FF00u) << "the mask lets the back colour through";
    h.Move(55, 55);
    EXPECT_EQ(b.CurrentBitmap(), bitmaps.upHighlight.get());
    EXPECT_EQ(h.Pixel(55, 55), 0x00FFFFu);
    h.Down(55, 55);
    EXPECT_EQ(b.CurrentBitmap(), bitmaps.downHighlight.get());
    h.Up(55, 55);
    h.Move(150, 150);
    EXPECT_EQ(b.CurrentBitmap(), bitmaps.up.get());
    b.Disable();
    EXPECT_EQ(b.CurrentBitmap(), bitmaps.disabled.get());
    b.SetKind(ButtonKind::Bitmap3);
    b.Enable();
    h.Move(55, 55);
    EXPECT_EQ(b.CurrentBitmap(), bitmaps.up.get()) << "three-bitmap buttons do not highlight";
}

TEST(ListBoxControl, SingleSelectionUnderMouseAndKeyboard)
{
    UiHarness h;
    Form f(h);
    auto& list = f.Add(std::make_unique<ListBoxControl>(), 7, gfx::Rect::FromSize(10, 10, 120, 4 + 12 * 5));
    for (const char* item : { "Apple", "apricot", "Banana" })
        list.AddString(item);
    // Each row is 12 pixels high (10 of text and 2), inside a 2-pixel border.
    h.Click(20, 12 + 12 + 3);
    EXPECT_EQ(list.CurSel(), 1);
    EXPECT_EQ(f.Notices(), (Notices { { 7, notify::kSelectionChanged } }));
    h.Click(20, 12 + 12 + 3);
    EXPECT_TRUE(f.Notices().empty()) << "choosing the same item again is no change";
    h.Key(key::kDown);
    EXPECT_EQ(list.CurSel(), 2);
    h.Key(key::kHome);
    EXPECT_EQ(list.CurSel(), 0);
    h.Type("b");
    EXPECT_EQ(list.CurSel(), 2);
    EXPECT_EQ(f.Notices().size(), 3u);
    h.DoubleClick(20, 12 + 3);
    EXPECT_EQ(f.Notices(), (Notices { { 7, notify::kSelectionChanged }, { 7, notify::kDoubleClicked } }));
    EXPECT_EQ(list.CurSel(), 0);

    EXPECT_EQ(list.FindPrefix("AP"), 0);
    EXPECT_EQ(list.FindPrefix("apr"), 1);
    EXPECT_EQ(list.FindPrefix("Applesauce"), -1);
    EXPECT_EQ(list.InsertSorted("apple pie"), 1);
    EXPECT_EQ(list.InsertSorted("cherry"), 4);
    EXPECT_EQ(list.InsertString(99, "x"), 5);
    EXPECT_EQ(list.InsertString(0, "first"), 0);
    EXPECT_EQ(list.CurSel(), 1) << "the selection follows its item";
    EXPECT_EQ(list.DeleteString(1), 1);
    EXPECT_EQ(list.CurSel(), -1);
    EXPECT_EQ(list.DeleteString(42), 0);
    EXPECT_EQ(list.GetText(42), "");
    EXPECT_EQ(list.SetCurSel(42), 0);
}

TEST(ListBoxControl, MultipleSelectionTogglesAndReportsInOrder)
{
    UiHarness h;
    Form f(h);
    auto& list = f.Add(std::make_unique<ListBoxControl>(SelectionMode::Multiple), 8, gfx::Rect::FromSize(10, 10, 120, 4 + 12 * 6));
    for (int i = 1; i <= 6; ++i)
        list.AddString("item " + std::to_string(i));
    h.Click(20, 12 + 12 * 4 + 3);
    h.Click(20, 12 + 12 * 1 + 3);
    EXPECT_EQ(list.SelectedItems(), (std::vector<int32_t> { 1, 4 }));
    h.Key(key::kDown);
    h.Key(key::kSpace);
    h.Click(20, 12 + 12 * 4 + 3);
    EXPECT_EQ(list.SelectedItems(), (std::vector<int32_t> { 1, 2 }));
    EXPECT_EQ(f.Notices().size(), 4u);
}

TEST(ListBoxControl, ScrollBarAppearsWhenItemsDoNotFit)
{
    UiHarness h;
    Form f(h);
    auto& list = f.Add(std::make_unique<ListBoxControl>(), 9, gfx::Rect::FromSize(10, 10, 120, 4 + 12 * 4));
    for (int i = 0; i < 4; ++i)
        list.AddString("x");
    EXPECT_FALSE(list.ScrollBarShown());
    for (int i = 0; i < 6; ++i)
        list.AddString("y");
    ASSERT_TRUE(list.ScrollBarShown());
    // The lower arrow of the bar steps the list by one row.
    h.Click(10 + 2 + 120 - 4 - 8, 10 + 2 + 48 - 4);
    EXPECT_EQ(list.TopIndex(), 1);
    list.SetFocus();
    h.Key(key::kEnd);
    EXPECT_EQ(list.TopIndex(), 6);
    EXPECT_EQ(list.CurSel(), 9);
}

TEST(ComboBoxControl, DropListPicksItemsAndReportsOpeningAndClosing)
{
    UiHarness h;
    Form f(h);
    auto& combo = f.Add(std::make_unique<ComboBoxControl>(), 4, gfx::Rect::FromSize(10, 10, 120, 22));
    for (const char* item : { "red", "green", "blue" })
        combo.AddString(item);
    h.Click(10 + 120 - 5, 20);
    ASSERT_TRUE(combo.IsDroppedDown());
    EXPECT_EQ(f.Notices(), (Notices { { 4, notify::kDropDown } }));
    gfx::Rect list = combo.List().WindowRect();
    EXPECT_EQ(list.top, 32) << "the list opens below the box";
    h.Move(list.left + 10, list.top + 1 + 12 + 3);
    h.Down(list.left + 10, list.top + 1 + 12 + 3);
    h.Up(list.left + 10, list.top + 1 + 12 + 3);
    EXPECT_FALSE(combo.IsDroppedDown());
    EXPECT_EQ(combo.CurSel(), 1);
    EXPECT_EQ(combo.Text(), "green");
    EXPECT_EQ(f.Notices(), (Notices { { 4, notify::kCloseUp }, { 4, notify::kSelectionChanged } }));

    // Opening and pressing elsewhere closes it without a change; the press goes nowhere.
    h.Click(10 + 120 - 5, 20);
    h.Click(300, 250);
    EXPECT_FALSE(combo.IsDroppedDown());
    EXPECT_EQ(combo.CurSel(), 1);
    EXPECT_EQ(f.Notices(), (Notices { { 4, notify::kDropDown }, { 4, notify::kCloseUp } }));
    EXPECT_EQ(f.owner.Count(msg::kButtonDown), 0);

    // Up and Down change the selection of the closed box.
    h.Key(key::kDown);
    EXPECT_EQ(combo.Text(), "blue");
    h.Key(key::kDown);
    EXPECT_EQ(f.Notices(), (Notices { { 4, notify::kSelectionChanged } }));
}

TEST(ComboBoxControl, EditableFieldReportsEditsAndOpensAbove)
{
    UiHarness h(400, 300);
    Form f(h);
    auto& combo = f.Add(std::make_unique<ComboBoxControl>(ComboKind::Editable), 6, gfx::Rect::FromSize(10, 260, 120, 22));
    combo.AddString("one");
    combo.AddString("two");
    h.Click(30, 270);
    h.Type("tw");
    EXPECT_EQ(combo.Text(), "tw");
    EXPECT_EQ(f.Notices(), (Notices { { 6, notify::kEditChanged }, { 6, notify::kEditChanged } }));
    h.Key(key::kDown);
    EXPECT_EQ(combo.Text(), "one");
    EXPECT_EQ(f.Notices(), (Notices { { 6, notify::kSelectionChanged } }));
    combo.ShowDropDown(true);
    EXPECT_LT(combo.List().WindowRect().bottom, 262) << "no room below: the list opens above";
    h.Key(key::kEscape);
    EXPECT_FALSE(combo.IsDroppedDown());
}

TEST(EditControl, TypingSelectionClipboardAndMasking)
{
    UiHarness h;
    Form f(h);
    auto& edit = f.Add(std::make_unique<EditControl>(), 2, gfx::Rect::FromSize(10, 10, 150, 22));
    h.Click(20, 20);
    h.Type("hello");
    EXPECT_EQ(edit.Text(), "hello");
    EXPECT_EQ(f.Notices().size(), 5u);
    h.Key(key::kLeft, kModShift);
    h.Key(key::kLeft, kModShift);
    h.Key('C', kModControl, 'c');
    EXPECT_EQ(h.app.GetClipboard().GetText(), "lo");
    h.Key(key::kHome);
    h.Key('V', kModControl, 'v');
    EXPECT_EQ(edit.Text(), "lohello");
    h.Key(key::kDelete);
    h.Key(key::kBackspace);
    EXPECT_EQ(edit.Text(), "lello");
    h.Key('A', kModControl);
    h.Key(key::kDelete, kModShift);
    EXPECT_EQ(edit.Text(), "");
    EXPECT_EQ(h.app.GetClipboard().GetText(), "lello");

    edit.SetOptions(kEditPassword);
    edit.SetText("secret");
    EXPECT_EQ(edit.DisplayText(), "******");
    h.app.GetClipboard().SetText("kept");
    h.Key('A', kModControl);
    h.Key('C', kModControl);
    h.Key('X', kModControl);
    EXPECT_EQ(h.app.GetClipboard().GetText(), "kept") << "a password is never copied";
    EXPECT_EQ(edit.Text(), "secret");

    edit.SetOptions(kEditReadOnly);
    h.Type("zz");
    h.Key(key::kBackspace);
    EXPECT_EQ(edit.Text(), "secret");
    f.Notices();
    h.Key(key::kEnter);
    h.Key(key::kEscape);
    EXPECT_EQ(f.Notices(), (Notices { { 2, notify::kEnterKey }, { 2, notify::kEscapeKey } }));
}

TEST(EditControl, SpinButtonStepsBetweenLimits)
{
    UiHarness h;
    Form f(h);
    auto edit = std::make_unique<EditControl>();
    EXPECT_EQ(edit->SpinMin(), -99999999.0);
    EXPECT_EQ(edit->SpinMax(), 99999999.0);
    EXPECT_EQ(edit->SpinIncrement(), 1.0);
    edit->SetOptions(kEditSpin);
    edit->SetSpinLimits(0, 2, 0.5);
    auto& e = f.Add(std::move(edit), 3, gfx::Rect::FromSize(10, 10, 100, 24));
    e.SetText("1");
    // The upper half of the spin button steps up.
    h.Click(10 + 100 - 6, 10 + 4);
    EXPECT_EQ(e.Text(), "1.5");
    h.Click(10 + 100 - 6, 10 + 4);
    h.Click(10 + 100 - 6, 10 + 4);
    EXPECT_EQ(e.Text(), "2");
    h.Key(key::kDown);
    h.Key(key::kDown);
    h.Key(key::kDown);
    h.Key(key::kDown);
    h.Key(key::kDown);
    EXPECT_EQ(e.Text(), "0");
    // Holding the button repeats on the clock.
    h.Down(10 + 100 - 6, 10 + 4);
    EXPECT_EQ(e.Text(), "0.5");
    h.app.RunFor(400 + 60);
    EXPECT_EQ(e.Text(), "1.5");
    h.Up(10 + 100 - 6, 10 + 4);
    h.app.RunFor(500);
    EXPECT_EQ(e.Text(), "1.5");
}

TEST(ScrollBarControl, ArrowsPagesAndThumbTrackingSendTheirCodes)
{
    UiHarness h;
    Form f(h);
    auto bar = std::make_unique<ScrollBarControl>(Orientation::Horizontal);
    bar->SetRange(0, 10);
    bar->SetPage(2);
    auto& b = f.Add(std::move(bar), 1, gfx::Rect::FromSize(10, 10, 116, 16));
    using Scrolls = std::vector<std::pair<uint16_t, int32_t>>;
    h.Click(12, 15);
    EXPECT_EQ(f.Scrolls(), (Scrolls { { scroll::kLineUp, 0 }, { scroll::kEndScroll, 0 } }));
    h.Click(10 + 116 - 3, 15);
    EXPECT_EQ(f.Scrolls(), (Scrolls { { scroll::kLineDown, 1 }, { scroll::kEndScroll, 1 } }));
    h.Click(10 + 90, 15);
    EXPECT_EQ(f.Scrolls(), (Scrolls { { scroll::kPageDown, 3 }, { scroll::kEndScroll, 3 } }));
    int32_t start, size;
    b.ThumbSpan(start, size);
    ASSERT_GT(size, 0);
    int32_t grab = 10 + start + size / 2;
    h.Move(grab, 15);
    h.Down(grab, 15);
    h.Move(grab + 20, 15);
    h.Move(grab + 40, 15);
    h.Up(grab + 40, 15);
    Scrolls s = f.Scrolls();
    ASSERT_GE(s.size(), 4u);
    EXPECT_EQ(s[0].first, scroll::kThumbTrack);
    EXPECT_EQ(s[s.size() - 3].first, scroll::kThumbTrack);
    EXPECT_EQ(s[s.size() - 2], (std::pair<uint16_t, int32_t> { scroll::kThumbPosition, b.Pos() }));
    EXPECT_EQ(s.back().first, scroll::kEndScroll);
    EXPECT_GT(b.Pos(), 3);
    h.Key(key::kHome);
    EXPECT_EQ(f.Scrolls(), (Scrolls { { scroll::kThumbPosition, 0 } }));
    b.SetRange(5, 1);
    EXPECT_EQ(b.Max(), 10) << "a reversed range is refused";
}

TEST(TControl, TabMovesFocusAndTellsTheOwner)
{
    UiHarness h;
    Form f(h);
    auto& a = f.Add(std::make_unique<EditControl>(), 1, gfx::Rect::FromSize(10, 10, 80, 22));
    auto& b = f.Add(std::make_unique<ButtonControl>(), 2, gfx::Rect::FromSize(10, 40, 80, 22), "b");
    auto& c = f.Add(std::make_unique<ListBoxControl>(), 3, gfx::Rect::FromSize(10, 70, 80, 60));
    auto& d = f.Add(std::make_unique<ButtonControl>(), 4, gfx::Rect::FromSize(10, 140, 80, 22), "d");
    d.Disable();
    a.SetFocus();
    f.Notices();
    h.Key(key::kTab);
    EXPECT_EQ(TWindow::Focus(), &b);
    h.Key(key::kTab);
    EXPECT_EQ(TWindow::Focus(), &c);
    h.Key(key::kTab);
    EXPECT_EQ(TWindow::Focus(), &a) << "disabled controls are skipped and the order wraps";
    h.Key(key::kTab, kModShift);
    EXPECT_EQ(TWindow::Focus(), &c);
    EXPECT_EQ(f.Notices(), (Notices { { 1, notify::kTabKey }, { 2, notify::kTabKey }, { 3, notify::kTabKey }, { 1, notify::kTabKey } }));
}

TEST(ControlTip, AppearsAfterFourHundredMillisecondsOnTheClock)
{
    UiHarness h(400, 300);
    Form f(h);
    auto& b = f.Add(std::make_unique<ButtonControl>(), 1, gfx::Rect::FromSize(300, 250, 80, 30), "b");
    auto tip = std::make_unique<ControlTip>();
    ASSERT_EQ(tip->Attach(b, "Next card"), 1);
    EXPECT_EQ(std::string(tip->ClassName()), "vkmcontroltips");
    EXPECT_EQ(tip->RectInParent().Width(), 9 * 6 + 7);
    EXPECT_EQ(tip->RectInParent().Height(), 10 + 3);
    h.Move(370, 260);
    h.app.RunFor(399);
    EXPECT_FALSE(tip->IsShown());
    h.app.RunFor(1);
    ASSERT_TRUE(tip->IsShown());
    // Pushed left and up in 8-pixel steps until it fits the 400 × 300 screen.
    gfx::Rect r = tip->RectInParent();
    EXPECT_LE(r.right, 400);
    EXPECT_GT(r.right, 400 - 8);
    EXPECT_EQ((370 - r.left) % 8, 0);
    EXPECT_LE(r.bottom, 300);
    EXPECT_EQ((280 - r.top) % 8, 0);
    EXPECT_EQ(h.Pixel(r.left + 1, r.bottom - 4), 0xFFFF80u);
    EXPECT_EQ(h.Pixel(r.left, r.top), 0x000080u);
    EXPECT_EQ(h.Pixel(r.right - 2, r.top + 5), 0x000080u);

    h.Down(370, 260);
    EXPECT_FALSE(tip->IsShown());
    h.Up(370, 260);
    h.Move(371, 261);
    h.Move(10, 10);
    h.app.RunFor(1000);
    EXPECT_FALSE(tip->IsShown()) << "leaving the control stops the timer";
    b.Destroy();
    EXPECT_FALSE(tip->IsWatching());
    EXPECT_FALSE(tip->IsCreated());
}

} // namespace
} // namespace tamber::ui::test
