#include <gtest/gtest.h>

#include "elements/AudioElement.h"
#include "elements/EditBoxElement.h"
#include "elements/ListBoxElement.h"
#include "elements/ScrollBarElement.h"
#include "elements/VideoElement.h"
#include "iface/RecordingScriptHost.h"
#include "ui/EditControl.h"
#include "ui/ScrollBarControl.h"
#include "ElementTestSupport.h"
#include "HostedElements.h"

using namespace tamber;
using namespace tamber::test;

namespace {

using V = AttributeValue;

// Records events with their first parameter as text as well.
class EventLog : public RecordingScriptHost {
public:
    int ExecuteEvent(Element& element, const EventCall& call) override
    {
        texts.push_back(call.params.empty() ? std::string() : call.params[0].String());
        return RecordingScriptHost::ExecuteEvent(element, call);
    }
    int Count(std::string_view name) const
    {
        int n = 0;
        for (const Raised& raised : events)
            n += raised.name == name;
        return n;
    }
    const Raised* Last(std::string_view name) const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->name == name)
                return &*it;
        return nullptr;
    }
    void Clear()
    {
        events.clear();
        texts.clear();
    }
    std::vector<std::string> texts;
};

// Stands in for a media player: answers "Playing" and "Position" and writes down what it is asked.
template<class Base>
class StandIn : public Base {
public:
    using Base::Base;
    int GetAttribute(std::string_view name, ValueType type, V& value) override
    {
        if (NamesEqual(name, "Playing") && type == ValueType::Boolean) {
            value.SetBoolean(playing);
            return 1;
        }
        return Base::GetAttribute(name, type, value);
    }
    int SetAttribute(std::string_view name, ValueType type, const V& value) override
    {
        if (NamesEqual(name, "Position") || NamesEqual(name, "PageNum")) {
            positions.push_back(value.Long());
            return 1;
        }
        return Base::SetAttribute(name, type, value);
    }
    int CallMethod(std::string_view name, std::span<const V> params, V& result) override
    {
        calls.push_back(std::string(name) + (params.empty() ? "" : " " + std::to_string(params[0].Long())));
        return 1;
    }
    bool playing = false;
    std::vector<int32_t> positions;
    std::vector<std::string> calls;
};

// An element of the Text class, standing in for the text engine's element.
class TextStandIn : public Element {
public:
    explicit TextStandIn(InterfaceModel* parent) : Element(parent) { SetTypeName("Text"); }
};

std::string TextOf(Element& e)
{
    V value;
    EXPECT_EQ(e.GetAttribute("Text", ValueType::String, value), 1);
    return value.String();
}

int32_t LongOf(Element& e, std::string_view name)
{
    V value;
    EXPECT_EQ(e.GetAttribute(name, ValueType::Long, value), 1) << name;
    return value.Long();
}

}  // namespace

TEST(EditBoxShown, KeepsLongTextWholeButReadsItsFirst127Characters)
{
    HostedInterface host;
    auto edit = std::make_unique<EditBoxElement>(&host);
    MemoryBlock text;
    text.AppendString(std::string(200, 'q'), Nul::Include);
    ASSERT_TRUE(edit->ReadClassChunk("Text", text));
    edit->SetFrame(CardRect {20, 20, 150, 22});
    auto* box = static_cast<EditBoxElement*>(host.AddElement(0, std::move(edit)));
    box->Show();
    ASSERT_NE(box->Edit(), nullptr);
    EXPECT_EQ(box->Edit()->Text().size(), 200u);

    box->Edit()->SetFocus();
    host.ui.Type("z");
    EXPECT_EQ(TextOf(*box), std::string(127, 'q'));
    std::vector<Chunk> chunks = SplitChunks(ClassChunks(*box));
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[1].payload.ReadCString(0), std::string(200, 'q') + "z");

    // The text survives the control: hidden with its Card and shown again, or reconstructed.
    box->Destroy();
    EXPECT_EQ(box->Edit(), nullptr);
    EXPECT_EQ(box->Text(), std::string(200, 'q') + "z");
    box->Show();
    EXPECT_EQ(box->Edit()->Text(), std::string(200, 'q') + "z");
}

TEST(EditBoxShown, TypingSelectsTheFirstMatchingItemOfTheLinkedListBox)
{
    EventLog log;
    HostedInterface host;
    auto* list = host.Place<ListBoxElement>(0, 7, CardRect {200, 20, 100, 80});
    for (const char* item : {"Apple", "apricot", "Banana"}) {
        V none;
        ASSERT_EQ(list->CallMethod("AppendItem", std::vector<V> {V::OfString(item)}, none), 1);
    }
    auto* edit = host.Place<EditBoxElement>(0, 8, CardRect {20, 20, 150, 22});
    Set(*edit, "ListBox : Word Select", ValueType::Id, V::OfLong(7));
    edit->Edit()->SetFocus();

    host.ui.Type("b");
    EXPECT_EQ(LongOf(*list, "SelectedNum"), 3);
    ASSERT_NE(log.Last("Changed"), nullptr);
    EXPECT_EQ(log.texts.back(), "b");

    host.ui.Key(ui::key::kBackspace);
    host.ui.Type("ap");
    EXPECT_EQ(LongOf(*list, "SelectedNum"), 1);
    host.ui.Type("x");
    EXPECT_EQ(LongOf(*list, "SelectedNum"), 0);

    // Text written while the box lacks the focus (as the list does when its selection changes)
    // leaves the list alone but still raises "Changed".
    host.window.SetFocus();
    Set(*list, "SelectedNum", ValueType::Long, V::OfLong(2));
    log.Clear();
    Set(*edit, "Text", ValueType::String, V::OfString("Banana"));
    EXPECT_EQ(LongOf(*list, "SelectedNum"), 2);
    EXPECT_EQ(log.Count("Changed"), 1);

    // A link that names no ListBox only raises "Changed".
    Set(*edit, "ListBox : Word Select", ValueType::Id, V::OfLong(99));
    edit->Edit()->SetFocus();
    host.ui.Type("q");
    EXPECT_EQ(LongOf(*list, "SelectedNum"), 2);
    EXPECT_EQ(log.texts.back(), "Bananaq");
}

TEST(EditBoxShown, FocusAndKeysRaiseTheirEventsAndShowingRaisesNone)
{
    EventLog log;
    HostedInterface host;
    auto edit = std::make_unique<EditBoxElement>(&host);
    edit->SetFrame(CardRect {20, 20, 150, 22});
    auto* box = static_cast<EditBoxElement*>(host.AddElement(0, std::move(edit)));
    Set(*box, "Text", ValueType::String, V::OfString("start"));
    box->Show();
    EXPECT_TRUE(log.events.empty());

    box->Edit()->SetFocus();
    host.ui.Key(ui::key::kEnter);
    host.ui.Key(ui::key::kEscape);
    host.window.SetFocus();
    EXPECT_EQ(log.Names(), (std::vector<std::string> {"GotFocus", "EnterKeyPressed", "EscapeKeyPressed", "LostFocus"}));
}

TEST(EditBoxShown, ReconstructAttributesRebuildTheControlAndSpinStaysInItsLimits)
{
    EventLog log;
    HostedInterface host;
    auto* edit = host.Place<EditBoxElement>(0, 1, CardRect {20, 20, 150, 22});
    Set(*edit, "Text", ValueType::String, V::OfString("2"));
    const intptr_t first = edit->WindowHandle();
    Set(*edit, "SpinButton", ValueType::Boolean, V::OfBoolean(true));
    Set(*edit, "Password", ValueType::Boolean, V::OfBoolean(true));
    EXPECT_NE(edit->WindowHandle(), first);
    EXPECT_EQ(edit->Edit()->Options(), ui::kEditSpin | ui::kEditPassword);
    EXPECT_EQ(edit->Edit()->DisplayText(), "*");
    EXPECT_EQ(TextOf(*edit), "2");

    Set(*edit, "ValueMax", ValueType::Double, V::OfDouble(3));
    Set(*edit, "ValueInc", ValueType::Double, V::OfDouble(2));
    edit->Edit()->SetFocus();
    host.ui.Key(ui::key::kUp);
    EXPECT_EQ(TextOf(*edit), "3");
    EXPECT_EQ(log.texts.back(), "3");

    Set(*edit, "LockedText", ValueType::Boolean, V::OfBoolean(true));
    edit->Edit()->SetFocus();
    host.ui.Type("9");
    EXPECT_EQ(TextOf(*edit), "3");

    // Disabled, the control is too, also after it is rebuilt.
    Set(*edit, "Enabled", ValueType::Boolean, V::OfBoolean(false));
    EXPECT_FALSE(edit->Edit()->IsEnabled());
    Set(*edit, "Border", ValueType::Boolean, V::OfBoolean(false));
    EXPECT_FALSE(edit->Edit()->IsEnabled());
    Set(*edit, "Enabled", ValueType::Boolean, V::OfBoolean(true));
    EXPECT_TRUE(edit->Edit()->IsEnabled());
}

TEST(EditBoxShown, NewBoxIsCentredOnItsPlacement)
{
    HostedInterface host;
    auto* edit = host.Place<EditBoxElement>(0, 1, CardRect {100, 100, 0, 0});
    EXPECT_EQ(edit->GetFrame(), (CardRect {50, 87, 100, 25}));
    EXPECT_EQ(edit->Edit()->RectInParent(), gfx::Rect::FromSize(50, 87, 101, 26));
}

TEST(ScrollBarShown, PositionIsClampedAndRaisesOnlyWhenItChanges)
{
    EventLog log;
    HostedInterface host;
    auto* bar = host.Place<ScrollBarElement>(0, 1, CardRect {20, 100, 200, 16});
    Set(*bar, "Max", ValueType::Long, V::OfLong(10));
    EXPECT_EQ(bar->Bar()->Max(), 10);
    Set(*bar, "Position", ValueType::Long, V::OfLong(15));
    EXPECT_EQ(LongOf(*bar, "Position"), 10);
    EXPECT_EQ(bar->Bar()->Pos(), 10);
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].name, "PositionChanged");
    EXPECT_EQ(log.events[0].longs, std::vector<int32_t> {10});
    Set(*bar, "Position", ValueType::Long, V::OfLong(10));
    EXPECT_EQ(log.events.size(), 1u);

    // A reversed range is stored but not given to the control.
    Set(*bar, "Min", ValueType::Long, V::OfLong(20));
    EXPECT_EQ(LongOf(*bar, "Min"), 20);
    EXPECT_EQ(bar->Bar()->Min(), 0);

    // A new bar without a size is 100 x 16 around its placement.
    auto* placed = host.Place<ScrollBarElement>(0, 2, CardRect {100, 200, 0, 0});
    EXPECT_EQ(placed->GetFrame(), (CardRect {50, 192, 100, 16}));
}

TEST(ScrollBarShown, AudioLinkFollowsTheThumbWhenReleased)
{
    EventLog log;
    HostedInterface host;
    auto* audio = host.Place<StandIn<AudioElement>>(0, 5, CardRect {0, 0, 10, 10});
    audio->playing = true;
    auto* bar = host.Place<ScrollBarElement>(0, 1, CardRect {20, 100, 200, 16});
    Set(*bar, "Max", ValueType::Long, V::OfLong(10));
    Set(*bar, "Audio : Navigate", ValueType::Id, V::OfLong(5));
    log.Clear();

    ui::ScrollBarControl& control = *bar->Bar();
    int32_t start = 0, size = 0;
    control.ThumbSpan(start, size);
    int32_t x = 20 + start + size / 2;
    host.ui.Move(x, 108);
    host.ui.Down(x, 108);
    while (control.Pos() < 7 && x < 220)
        host.ui.Move(++x, 108);
    ASSERT_EQ(control.Pos(), 7);
    host.ui.Up(x, 108);

    EXPECT_EQ(LongOf(*bar, "Position"), 7);
    ASSERT_FALSE(audio->positions.empty());
    EXPECT_EQ(audio->positions.back(), 700);
    // Playing when the drag began: "Play" then, and again once the position is set.
    EXPECT_EQ(audio->calls, (std::vector<std::string> {"Play", "Play"}));
    ASSERT_GE(log.Count("Tracking"), 1);
    EXPECT_EQ(log.Last("Tracking")->longs, std::vector<int32_t> {7});
    EXPECT_EQ(log.Count("PositionChanged"), 1);
    EXPECT_EQ(log.Last("PositionChanged")->longs, std::vector<int32_t> {7});
}

TEST(ScrollBarShown, VideoAndTextLinksFollowSteps)
{
    EventLog log;
    HostedInterface host;
    auto* video = host.Place<StandIn<VideoElement>>(0, 5, CardRect {0, 0, 10, 10});
    auto* text = host.Place<StandIn<TextStandIn>>(0, 6, CardRect {0, 0, 10, 10});
    auto* bar = host.Place<ScrollBarElement>(0, 1, CardRect {20, 100, 200, 16});
    Set(*bar, "Max", ValueType::Long, V::OfLong(10));
    Set(*bar, "Video : Navigate", ValueType::Id, V::OfLong(5));

    host.ui.Click(218, 108);  // the forward arrow: one step
    EXPECT_EQ(LongOf(*bar, "Position"), 1);
    ASSERT_FALSE(video->calls.empty());
    EXPECT_EQ(video->calls.front(), "GotoFrame 1");
    EXPECT_EQ(log.Last("PositionChanged")->longs, std::vector<int32_t> {1});

    // A playing video is left to play.
    video->playing = true;
    video->calls.clear();
    host.ui.Click(218, 108);
    EXPECT_TRUE(video->calls.empty());

    // One link at a time: the Text link replaces the Video link.
    Set(*bar, "Text : Navigate", ValueType::Id, V::OfLong(6));
    video->playing = false;
    host.ui.Click(218, 108);
    EXPECT_TRUE(video->calls.empty());
    ASSERT_FALSE(text->positions.empty());
    EXPECT_EQ(text->positions.back(), 3);
}

TEST(ScrollBarShown, StyleRebuildsTheControlAcross)
{
    HostedInterface host;
    auto* bar = host.Place<ScrollBarElement>(0, 1, CardRect {20, 20, 16, 200});
    Set(*bar, "Max", ValueType::Long, V::OfLong(50));
    Set(*bar, "Position", ValueType::Long, V::OfLong(30));
    EXPECT_EQ(bar->Bar()->GetOrientation(), ui::Orientation::Horizontal);
    Set(*bar, "Style", ValueType::Enum, V::OfEnum(ScrollBarElement::kVertical));
    EXPECT_EQ(bar->Bar()->GetOrientation(), ui::Orientation::Vertical);
    EXPECT_EQ(bar->Bar()->Pos(), 30);
    EXPECT_EQ(bar->Bar()->Max(), 50);

    // Gone with its Card, made again with the position kept.
    host.ShowCard(1);
    EXPECT_EQ(bar->Bar(), nullptr);
    host.ShowCard(0);
    ASSERT_NE(bar->Bar(), nullptr);
    EXPECT_TRUE(bar->Bar()->IsVisible());
    EXPECT_EQ(bar->Bar()->Pos(), 30);
}

namespace {

// Runs "Reconstruct" on the element from inside the handler of the named event.
class ReconstructingLog : public EventLog {
public:
    explicit ReconstructingLog(std::string event) : m_event(std::move(event)) { }
    int ExecuteEvent(Element& element, const EventCall& call) override
    {
        EventLog::ExecuteEvent(element, call);
        if (call.name == m_event) {
            V none;
            element.CallMethod("Reconstruct", {}, none);
        }
        return 1;
    }

private:
    std::string m_event;
};

}  // namespace

TEST(ControlsShown, HandlersMayRebuildTheControlThatRaisedTheirEvent)
{
    ReconstructingLog log("Changed");
    HostedInterface host;
    auto* edit = host.Place<EditBoxElement>(0, 1, CardRect {20, 20, 150, 22});
    edit->Edit()->SetFocus();
    const intptr_t before = edit->WindowHandle();
    host.ui.Type("a");
    ASSERT_NE(edit->Edit(), nullptr);
    EXPECT_NE(edit->WindowHandle(), before);
    EXPECT_EQ(TextOf(*edit), "a");
    edit->Edit()->SetFocus();
    host.ui.Type("b");
    EXPECT_EQ(TextOf(*edit), "ab");

    ReconstructingLog barLog("PositionChanged");
    auto* bar = host.Place<ScrollBarElement>(0, 2, CardRect {20, 100, 200, 16});
    Set(*bar, "Max", ValueType::Long, V::OfLong(10));
    host.ui.Click(218, 108);
    host.ui.Click(218, 108);
    EXPECT_EQ(LongOf(*bar, "Position"), 2);
    EXPECT_EQ(barLog.Count("PositionChanged"), 2);
}
