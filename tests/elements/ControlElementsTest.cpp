#include <gtest/gtest.h>

#include <algorithm>

#include "elements/ButtonElement.h"
#include "elements/ComboBoxElement.h"
#include "elements/ControlElements.h"
#include "elements/EditBoxElement.h"
#include "elements/ListBoxElement.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/RecordingScriptHost.h"
#include "ui/ButtonControl.h"
#include "ui/ComboBoxControl.h"
#include "ui/ListBoxControl.h"
#include "support/PackedDib.h"
#include "ui/UiTestSupport.h"
#include "ElementTestSupport.h"

using namespace tamber;
using namespace tamber::test;
using ui::test::UiHarness;

namespace {

using V = AttributeValue;
using Items = std::vector<std::string>;

// An Interface shown in a top-level window of a headless screen; its Card area starts at
// (10, 5) in the window.
class HostedModel : public InterfaceModel {
public:
    ui::TWindow* HostWindow() override { return &window; }
    CardPoint CardOrigin() const override { return {10, 5}; }
    ui::TWindow window;
};

struct Screen {
    explicit Screen(int cards = 1)
    {
        model.window.Create(nullptr, "interface", gfx::Rect::FromSize(0, 0, 400, 300), Visibility::Shown);
        for (int i = 0; i < cards; ++i)
            model.AddCard();
        model.AdoptInterface(std::make_unique<InterfaceObject>());
        model.SetMode(InterfaceModel::Mode::Running);
        h.app.ProcessPending();
    }
    ~Screen()
    {
        model.Clear();
        model.window.Destroy();
    }
    template<class E>
    E* Add(int32_t card, int32_t id, CardRect frame)
    {
        auto element = std::make_unique<E>();
        element->SetId(id);
        element->SetFrame(frame);
        return static_cast<E*>(model.AddElement(card, std::move(element)));
    }
    // Shows an element as its Card's showing does, and lets the screen catch up.
    void Show(Element& element)
    {
        element.Show();
        h.app.ProcessPending();
    }
    // A point inside an element's frame, in screen coordinates.
    void ClickAt(const Element& element, int32_t dx, int32_t dy)
    {
        CardRect frame = element.GetFrame();
        h.Click(frame.left + 10 + dx, frame.top + 5 + dy);
    }

    UiHarness h;
    RecordingScriptHost host;
    HostedModel model;
};

bool IsFocusEvent(const std::string& name)
{
    return name == "GotFocus" || name == "LostFocus";
}

// The events raised since the last call, without the focus events.
std::vector<RecordingScriptHost::Raised> Take(RecordingScriptHost& host)
{
    std::vector<RecordingScriptHost::Raised> events;
    for (auto& e : host.events) {
        if (!IsFocusEvent(e.name))
            events.push_back(std::move(e));
    }
    host.events.clear();
    return events;
}

std::vector<std::pair<std::string, std::vector<int32_t>>> Summary(const std::vector<RecordingScriptHost::Raised>& events)
{
    std::vector<std::pair<std::string, std::vector<int32_t>>> out;
    for (const auto& e : events)
        out.emplace_back(e.name, e.longs);
    return out;
}

using Events = std::vector<std::pair<std::string, std::vector<int32_t>>>;

}  // namespace

TEST(ButtonOnScreen, RadioGroupsAcrossBackgroundAndCardIgnoreCase)
{
    Screen s;
    ButtonElement* radios[3];
    const char* groups[] = {"a", "A", "a"};
    for (int i = 0; i < 3; ++i) {
        radios[i] = s.Add<ButtonElement>(i == 2 ? InterfaceModel::kBackground : 0, 10 + i, CardRect {20, 20 + 30 * i, 100, 20});
        Set(*radios[i], "Style", ValueType::Enum, V::OfEnum(ButtonElement::kRadioButton));
        Set(*radios[i], "Group", ValueType::String, V::OfString(groups[i]));
        s.Show(*radios[i]);
    }
    s.ClickAt(*radios[0], 5, 10);
    EXPECT_EQ(Get(*radios[0], "State", ValueType::Enum).Enum(), ButtonElement::kDown);
    s.ClickAt(*radios[1], 5, 10);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Get(*radios[i], "State", ValueType::Enum).Enum(), i == 1 ? ButtonElement::kDown : ButtonElement::kUp) << i;
        auto* control = dynamic_cast<ui::ButtonControl*>(radios[i]->Control());
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->CheckState(), i == 1 ? 1 : 0) << "the controls follow the group";
    }
    EXPECT_EQ(s.host.Names(), (std::vector<std::string> {"Clicked", "Clicked"}));
}

TEST(ButtonOnScreen, CheckBoxStateIsReadFromTheControlAndSurvivesHiding)
{
    Screen s;
    auto* box = s.Add<ButtonElement>(0, 4, CardRect {30, 40, 120, 20});
    Set(*box, "Style", ValueType::Enum, V::OfEnum(ButtonElement::k3dCheckBox));
    s.Show(*box);
    s.ClickAt(*box, 5, 10);
    EXPECT_EQ(Get(*box, "State", ValueType::Enum).Enum(), ButtonElement::kDown);
    s.ClickAt(*box, 5, 10);
    s.ClickAt(*box, 5, 10);
    EXPECT_EQ(box->GetState(), ButtonElement::kDown);
    // Saving while shown stores the control's state.
    ButtonElement reloaded;
    RoundTrip(*box, reloaded);
    EXPECT_EQ(reloaded.GetState(), ButtonElement::kDown);
    box->Hide();
    EXPECT_EQ(box->Control(), nullptr);
    EXPECT_EQ(Get(*box, "State", ValueType::Enum).Enum(), ButtonElement::kDown);

    // A three-state box cycles through Multiple; a script's state reaches the control.
    Set(*box, "Style", ValueType::Enum, V::OfEnum(ButtonElement::kThreeStateBox));
    s.Show(*box);
    s.ClickAt(*box, 5, 10);
    EXPECT_EQ(Get(*box, "State", ValueType::Enum).Enum(), ButtonElement::kMultiple);
    Set(*box, "State", ValueType::Enum, V::OfEnum(ButtonElement::kUp));
    EXPECT_EQ(static_cast<ui::ButtonControl*>(box->Control())->CheckState(), 0);
}

TEST(ButtonOnScreen, ClickSequenceLinkKeysAndDoubleClick)
{
    Screen s(2);
    auto* next = s.Add<ButtonElement>(0, 8, CardRect {20, 20, 80, 25});
    Set(*next, "Name", ValueType::String, V::OfString("Next"));
    EXPECT_EQ(next->SetAttribute("Audio : Play", ValueType::Id, V::OfLong(7)), 1);
    EXPECT_EQ(next->SetAttribute("Interface : Next Card", ValueType::Id, V::OfLong(-1)), 1);
    EXPECT_EQ(Get(*next, "Audio : Play", ValueType::Id).Long(), 0) << "a Button holds one link";
    s.Show(*next);
    EXPECT_EQ(next->Control()->Caption(), "Next");
    EXPECT_EQ(next->Control()->RectInParent(), gfx::Rect::FromSize(30, 25, 81, 26));

    // The link moves to the next Card, which hides this Button and so its control, from inside
    // the control's own click; "Clicked" still follows.
    s.ClickAt(*next, 20, 10);
    EXPECT_EQ(s.model.CurrentCard(), 1);
    EXPECT_EQ(next->Control(), nullptr);
    EXPECT_EQ(s.host.Names(), (std::vector<std::string> {"CurrentCardChanged", "Clicked"}));

    auto* keys = s.Add<ButtonElement>(1, 9, CardRect {20, 20, 80, 25});
    s.Show(*keys);
    Take(s.host);
    s.ClickAt(*keys, 20, 10);
    s.h.Key(ui::key::kEnter);
    s.h.Key(ui::key::kEscape);
    s.h.DoubleClick(40, 35);
    EXPECT_EQ(s.host.Names(), (std::vector<std::string> {"Clicked", "EnterKeyPressed", "EscapeKeyPressed",
                                  "Clicked", "DoubleClicked"}));
}

TEST(ButtonOnScreen, BitmapButtonsLendTheirPicturesToTheControl)
{
    Screen s;
    auto* button = s.Add<ButtonElement>(0, 5, CardRect {40, 40, 16, 16});
    const char* names[] = {"BitmapUp", "BitmapUpHighlight", "BitmapDown", "BitmapDownHighlight", "BitmapDisabled",
        "BitmapMask"};
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x808080, 0x000000};
    MemoryBlock pictures[6];
    for (int i = 0; i < 6; ++i) {
        pictures[i] = PlainDib(16, 16, colours[i]);
        Set(*button, names[i], ValueType::Picture, V::OfBlock(pictures[i]));
    }
    Set(*button, "Style", ValueType::Enum, V::OfEnum(ButtonElement::k5BitmapButton));
    Set(*button, "DrawName", ValueType::Boolean, V::OfBoolean(false));
    s.Show(*button);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(button->BitmapBlock(static_cast<ButtonElement::Bitmap>(i)).View(), "BM") << names[i];
        EXPECT_EQ(Get(*button, names[i], ValueType::Picture).Block(), pictures[i]) << names[i];
    }
    EXPECT_EQ(s.h.Pixel(55, 50), 0xFF0000u) << "Up";
    s.h.Move(55, 50);
    EXPECT_EQ(s.h.Pixel(55, 50), 0x00FF00u) << "Up highlighted under the pointer";

    // Saved while shown: all six pictures, never a placeholder.
    std::vector<Chunk> chunks = SplitChunks(ClassChunks(*button));
    ASSERT_EQ(chunks.size(), 7u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(chunks[i + 1].payload, pictures[i]) << chunks[i + 1].tag;

    // A new picture set while shown is kept for the next showing; hiding gives the rest back.
    MemoryBlock newUp = PlainDib(16, 16, 0x123456);
    Set(*button, "BitmapUp", ValueType::Picture, V::OfBlock(newUp));
    button->Hide();
    EXPECT_EQ(button->BitmapBlock(ButtonElement::kBitmapUp), newUp);
    EXPECT_EQ(button->BitmapBlock(ButtonElement::kBitmapDown), pictures[2]);

    // A 3BitmapButton lends four; its highlight pictures stay with the element and are saved.
    Set(*button, "Style", ValueType::Enum, V::OfEnum(ButtonElement::k3BitmapButton));
    s.Show(*button);
    EXPECT_EQ(button->BitmapBlock(ButtonElement::kBitmapUpHighlight), pictures[1]);
    EXPECT_EQ(button->BitmapBlock(ButtonElement::kBitmapMask).View(), "BM");
    EXPECT_EQ(SplitChunks(ClassChunks(*button)).size(), 7u);
}

TEST(ButtonOnScreen, StyleChangeRecreatesTheControlAndTransparentDrawsNothing)
{
    Screen s;
    auto* button = s.Add<ButtonElement>(0, 5, CardRect {40, 40, 60, 30});
    s.Show(*button);
    const uint32_t face = s.h.Pixel(80, 60);
    EXPECT_EQ(face, 0xC0C0C0u) << "a push button's face";
    Set(*button, "Style", ValueType::Enum, V::OfEnum(ButtonElement::kTransparent));
    s.h.app.ProcessPending();
    ASSERT_NE(button->Control(), nullptr);
    EXPECT_EQ(dynamic_cast<ui::ButtonControl*>(button->Control()), nullptr);
    EXPECT_TRUE(button->Control()->IsShown());
    EXPECT_EQ(s.h.Pixel(80, 60), 0xFFFFFFu) << "the window behind shows through";
    s.ClickAt(*button, 30, 15);
    s.h.DoubleClick(80, 60);
    EXPECT_EQ(s.host.Names(), (std::vector<std::string> {"Clicked", "Clicked", "DoubleClicked"}));
}

TEST(ListBoxOnScreen, MethodsReachTheControlAndSelectionRules)
{
    Screen s;
    auto* list = s.Add<ListBoxElement>(0, 3, CardRect {20, 20, 120, 100});
    for (const char* item : {"Apple", "Cherry", "Plum"})
        Call(*list, "AppendItem", {V::OfString(item)});
    s.Show(*list);
    auto& control = static_cast<ui::ListBoxControl&>(*list->Control());
    EXPECT_EQ(GetLong(*list, "SelectedNum"), 0);

    Set(*list, "SelectedNum", ValueType::Long, V::OfLong(99));
    EXPECT_EQ(control.CurSel(), 2);
    Set(*list, "SelectedNum", ValueType::Long, V::OfLong(3));
    Set(*list, "SelectedNum", ValueType::Long, V::OfLong(0));
    EXPECT_EQ(control.CurSel(), -1);
    EXPECT_EQ(Summary(Take(s.host)), (Events {{"SelectionChanged", {3}}, {"SelectionChanged", {0}}}));

    Call(*list, "InsertSortedItem", {V::OfString("banana")});
    Call(*list, "InsertItem", {V::OfString("x"), V::OfLong(99)});
    Call(*list, "InsertItem", {V::OfString("y"), V::OfLong(0)});
    Call(*list, "ReplaceItem", {V::OfLong(2), V::OfString("Apricot")});
    Call(*list, "RemoveItem", {V::OfLong(4)});
    Call(*list, "RemoveItem", {V::OfLong(9)});
    const Items expected {"y", "Apricot", "banana", "Plum", "x"};
    EXPECT_EQ(list->Items(), expected);
    Items shown;
    for (int32_t i = 0; i < control.Count(); ++i)
        shown.push_back(control.GetText(i));
    EXPECT_EQ(shown, expected);

    // The user's pick, then a script's replacement of the picked item, keep the selection.
    s.ClickAt(*list, 10, 1 + control.ItemHeight() * 2 + 3);
    EXPECT_EQ(GetLong(*list, "SelectedNum"), 3);
    EXPECT_EQ(Get(*list, "SelectedItem", ValueType::String).String(), "banana");
    Call(*list, "ReplaceItem", {V::OfLong(3), V::OfString("Banana")});
    EXPECT_EQ(Get(*list, "SelectedItem", ValueType::String).String(), "Banana");
    Call(*list, "RemoveAll");
    EXPECT_EQ(control.Count(), 0);
    EXPECT_EQ(GetLong(*list, "SelectedNum"), 0);
}

TEST(ListBoxOnScreen, UserSelectionEventsSingleAndMultiple)
{
    Screen s;
    auto* list = s.Add<ListBoxElement>(0, 3, CardRect {20, 20, 120, 100});
    auto* edit = s.Add<EditBoxElement>(0, 6, CardRect {20, 130, 120, 20});
    for (const char* item : {"one", "two", "three", "four", "five"})
        Call(*list, "AppendItem", {V::OfString(item)});
    ASSERT_EQ(list->SetAttribute("EditBox : Word Select", ValueType::Id, V::OfLong(6)), 1);
    s.Show(*list);
    const int32_t row = static_cast<ui::ListBoxControl&>(*list->Control()).ItemHeight();

    s.ClickAt(*list, 10, 1 + row * 2 + 3);
    EXPECT_EQ(Get(*edit, "Text", ValueType::String).String(), "three") << "the word-select EditBox follows";
    s.h.DoubleClick(40, 25 + 1 + row * 3 + 3);
    EXPECT_EQ(Summary(Take(s.host)), (Events {{"SelectionChanged", {3}}, {"SelectionChanged", {4}},
                                         {"DoubleClicked", {4}}}));

    // MultiSelect takes effect when the control is made again.
    Set(*list, "MultiSelect", ValueType::Boolean, V::OfBoolean(true));
    Call(*list, "Reconstruct");
    s.h.app.ProcessPending();
    ASSERT_EQ(static_cast<ui::ListBoxControl&>(*list->Control()).Mode(), ui::SelectionMode::Multiple);
    EXPECT_EQ(static_cast<ui::ListBoxControl&>(*list->Control()).SelectedItems(), std::vector<int32_t> {3})
        << "the selection survives";
    Set(*list, "SelectedNum", ValueType::Long, V::OfLong(0));
    Take(s.host);
    s.ClickAt(*list, 10, 1 + row * 1 + 3);
    s.ClickAt(*list, 10, 1 + row * 4 + 3);
    EXPECT_EQ(Summary(Take(s.host)), (Events {{"SelectionChanged", {2}}, {"SelectionChanged", {2}},
                                         {"SelectionChanged", {5}}}));
}

TEST(ComboBoxOnScreen, NotificationsBecomeEventsAndTheEditTextIsKept)
{
    Screen s;
    auto* combo = s.Add<ComboBoxElement>(0, 3, CardRect {20, 20, 120, 22});
    for (const char* item : {"red", "green", "blue"})
        Call(*combo, "AppendItem", {V::OfString(item)});
    Set(*combo, "Editable", ValueType::Boolean, V::OfBoolean(true));
    combo->SetEditText("teal");
    s.Show(*combo);
    auto& control = static_cast<ui::ComboBoxControl&>(*combo->Control());
    EXPECT_EQ(control.Text(), "teal");
    EXPECT_EQ(control.Count(), 3);

    // Drop the list, pick the second item, and type into the field.
    const gfx::Rect box = control.WindowRect();
    s.h.Click(box.right - 5, box.top + 5);
    ASSERT_TRUE(control.IsDroppedDown());
    const int32_t row = control.List().ItemHeight();
    const gfx::Rect drop = control.List().WindowRect();
    s.h.Click(drop.left + 10, drop.top + 1 + row + 3);
    EXPECT_EQ(combo->EditText(), "green");
    s.h.Click(box.left + 30, box.top + 5);
    s.h.Type("ish");
    EXPECT_EQ(combo->EditText(), "greenish");

    // The focus moved between the button, the list and the field: the box gained it once. Leaving
    // the box is the one loss.
    s.model.window.SetFocus();
    std::vector<std::string> names;
    for (const auto& e : s.host.events) {
        if (names.empty() || names.back() != e.name)
            names.push_back(e.name);
    }
    s.host.events.clear();
    EXPECT_EQ(names, (std::vector<std::string> {"GotFocus", "DropDown", "PullUp", "SelectionChanged", "EditChanged",
                         "LostFocus"}));

    // Hidden, the element keeps the text and saves it.
    combo->Hide();
    EXPECT_EQ(combo->EditText(), "greenish");
    ComboBoxElement reloaded;
    RoundTrip(*combo, reloaded);
    EXPECT_EQ(reloaded.EditText(), "greenish");
}

TEST(ControlPictures, IndexedPicturesGoThroughTheirTableAndBadOnesGiveNothing)
{
    // A 2 x 2 picture of 8 bits with a two-colour table: the bottom row first.
    MemoryBlock bmp;
    bmp.AppendString("BM", Nul::Exclude);
    bmp.AppendInt(54 + 8 + 8, 4);
    bmp.AppendInt(0, 4);
    bmp.AppendInt(54 + 8, 4);
    for (int32_t field : {40, 2, 2})
        bmp.AppendInt(field, 4);
    bmp.AppendInt(1, 2);
    bmp.AppendInt(8, 2);
    for (int32_t field : {0, 8, 0, 0, 2, 0})
        bmp.AppendInt(field, 4);
    for (uint32_t entry : {0xFF0000u, 0x00FF00u})  // red, green: blue, green, red, 0 bytes
        bmp.AppendInt(static_cast<int32_t>(entry), 4);
    for (uint8_t index : {0, 1, 0, 0, 1, 1, 0, 0})
        bmp.AppendInt(index, 1);
    auto image = PictureToImage(bmp);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Format(), gfx::PixelFormat::Rgb32);
    EXPECT_EQ(image->Get(0, 1), 0xFF0000u) << "bottom row, index 0";
    EXPECT_EQ(image->Get(1, 1), 0x00FF00u);
    EXPECT_EQ(image->Get(0, 0), 0x00FF00u) << "top row, index 1";

    EXPECT_EQ(PictureToImage(MemoryBlock()), nullptr);
    MemoryBlock placeholder;
    placeholder.AppendString("BM", Nul::Exclude);
    EXPECT_EQ(PictureToImage(placeholder), nullptr);
    MemoryBlock cut = bmp;
    cut.Resize(30);
    EXPECT_EQ(PictureToImage(cut), nullptr);

    ElementFont font;
    font.size = 12;
    font.style = 1 | 4;
    gfx::FontRequest request = ControlFont(font);
    EXPECT_EQ(request.faceName, "System");
    EXPECT_EQ(request.height, -16) << "12 points at 96 pixels per inch";
    EXPECT_EQ(request.weight, 700);
    EXPECT_EQ(request.italic, gfx::Italic::No);
    EXPECT_EQ(request.underline, gfx::Underline::Yes);
}
