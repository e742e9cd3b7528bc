#include <gtest/gtest.h>

#include "elements/AudioElement.h"
#include "elements/ButtonElement.h"
#include "elements/ControlElements.h"
#include "elements/DatabaseElement.h"
#include "elements/EditBoxElement.h"
#include "elements/LineElement.h"
#include "elements/ListBoxElement.h"
#include "elements/PictureElement.h"
#include "elements/ScrollBarElement.h"
#include "elements/StringElement.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/RecordingScriptHost.h"
#include "ElementTestSupport.h"

using namespace tamber;
using namespace tamber::test;

namespace {

using V = AttributeValue;

// An Audio element that counts the methods called on it.
class CountingAudio : public AudioElement {
public:
    using AudioElement::AudioElement;
    int CallMethod(std::string_view name, std::span<const V> params, V& result) override
    {
        calls.emplace_back(name);
        return 1;
    }
    std::vector<std::string> calls;
};

template<class E>
E* AddTo(InterfaceModel& model, int32_t card, int32_t id)
{
    auto element = std::make_unique<E>();
    element->SetId(id);
    return static_cast<E*>(model.AddElement(card, std::move(element)));
}

struct Interface {
    explicit Interface(int cards)
    {
        for (int i = 0; i < cards; ++i)
            model.AddCard();
        self = &model.AdoptInterface(std::make_unique<InterfaceObject>());
        model.SetMode(InterfaceModel::Mode::Running);
    }
    InterfaceModel model;
    InterfaceObject* self;
};

}  // namespace

TEST(ElementFactory, CreatesEveryRegisteredClassUnderAllItsNames)
{
    ElementFactory factory;
    RegisterControlElements(factory);
    InterfaceModel model;
    const auto* database = reinterpret_cast<const MediaDatabase*>(&model);
    model.SetDatabase(database);
    struct Case {
        const char* typeName;
        const char* type;
        const char* name;
    };
    const Case cases[] = {{"Button", "Button", "Button"}, {"editbox", "EditBox", "editbox"},
        {"ListBox", "ListBox", "ListBox"}, {"ComboBox", "ComboBox", "ComboBox"},
        {"HScroll", "ScrollBar", "ScrollBar"}, {"VScroll", "ScrollBar", "ScrollBar"},
        {"BMP", "Graphic", "Graphic"}, {"WAV", "Audio", "Audio"}, {"avi", "Video", "Video"},
        {"PictureElement", "Picture", "Picture"}, {"TextElement", "String", "String"},
        {"line", "Line", "line"}, {"Rectangle", "Rectangle", "Rectangle"},
        {"Database", "Database", "Database"}, {"3D", "3d", "3D"}};
    for (const Case& c : cases) {
        std::unique_ptr<Element> element = factory.Create(&model, c.typeName, CardRect {5, 6, 70, 80}, 3);
        ASSERT_NE(element, nullptr) << c.typeName;
        EXPECT_EQ(element->GetTypeName(), c.type);
        EXPECT_EQ(element->GetName(), c.name);
        EXPECT_EQ(element->GetFrame(), (CardRect {5, 6, 70, 80}));
    }
    std::unique_ptr<Element> results = factory.Create(&model, "Database", CardRect {}, 1);
    EXPECT_EQ(results->GetMedia().database, database);
    EXPECT_TRUE(results->GetMedia().IsNone());
    EXPECT_EQ(factory.Create(&model, "Text", CardRect {}, 1), nullptr);  // its layer registers it
    EXPECT_EQ(factory.Create(&model, "Scrollbars", CardRect {}, 1), nullptr);
}

TEST(Button, ClassSpecialCasesOfItsAttributes)
{
    ButtonElement b;
    EXPECT_EQ(Get(b, "Style", ValueType::Enum).Enum(), ButtonElement::kPushButton);
    EXPECT_TRUE(Get(b, "DrawName", ValueType::Boolean).Boolean());
    EXPECT_EQ(Get(b, "BackColor", ValueType::Color).Color(), 0x00FFFFFFu);
    EXPECT_EQ(Get(b, "TextFont", ValueType::Font).String(), "System");
    b.SetAttribute("TextSize", ValueType::Long, V::OfLong(-4));
    EXPECT_EQ(GetLong(b, "TextSize"), 1);
    b.SetAttribute("Group", ValueType::String, V::OfString(std::string(50, 'g')));
    EXPECT_EQ(Get(b, "Group", ValueType::String).String(), std::string(31, 'g'));
    EXPECT_FALSE(Get(b, "BitmapUp", ValueType::Boolean).Boolean());
    b.SetAttribute("BitmapUp", ValueType::Picture, V::OfBlock(FakeBitmap(2, 2)));
    EXPECT_TRUE(Get(b, "BitmapUp", ValueType::Boolean).Boolean());
    b.SetAttribute("BitmapUp", ValueType::Picture, V::OfBlock(MemoryBlock()));
    EXPECT_FALSE(Get(b, "BitmapUp", ValueType::Boolean).Boolean());
    V wrong;
    EXPECT_EQ(b.GetAttribute("Style", ValueType::Long, wrong), 0);
    EXPECT_EQ(b.SetAttribute("Group", ValueType::Long, V::OfLong(1)), 0);
    EXPECT_EQ(b.GetAttribute("BackColor", ValueType::Boolean, wrong), 0);
}

TEST(Button, HoldsOneLinkAndTheLastOneActsOnClick)
{
    RecordingScriptHost host;
    Interface f(3);
    auto* audio = AddTo<CountingAudio>(f.model, 0, 7);
    auto* button = AddTo<ButtonElement>(f.model, 0, 8);
    ASSERT_EQ(button->SetAttribute("Audio : Play", ValueType::Id, V::OfLong(7)), 1);
    EXPECT_EQ(button->Links().TargetOf("Audio : Play"), audio);
    button->Click();
    EXPECT_EQ(audio->calls, std::vector<std::string>({"Play"}));

    ASSERT_EQ(button->SetAttribute("Interface : Next Card", ValueType::Id, V::OfLong(-1)), 1);
    EXPECT_EQ(Get(*button, "Audio : Play", ValueType::Id).Long(), 0);
    EXPECT_EQ(button->Links().TargetOf("Audio : Play"), nullptr);
    host.events.clear();
    button->Click();
    EXPECT_EQ(audio->calls.size(), 1u);
    EXPECT_EQ(f.model.CurrentCard(), 1);
    EXPECT_EQ(host.Names(), std::vector<std::string>({"CurrentCardChanged", "Clicked"}));
}

TEST(Button, LinkToAnElementOfAnotherClassOrCardStaysEmpty)
{
    Interface f(2);
    AddTo<ButtonElement>(f.model, 0, 7);
    AddTo<CountingAudio>(f.model, 1, 9);
    auto* button = AddTo<ButtonElement>(f.model, 0, 8);
    button->SetAttribute("Audio : Play", ValueType::Id, V::OfLong(7));
    EXPECT_EQ(button->Links().TargetOf("Audio : Play"), nullptr);
    button->SetAttribute("Audio : Play", ValueType::Id, V::OfLong(9));
    EXPECT_EQ(button->Links().TargetOf("Audio : Play"), nullptr);
    button->Click();  // nothing to act on; still raises "Clicked"
}

TEST(Button, RadioGroupsIgnoreCase)
{
    Interface f(1);
    ButtonElement* buttons[3];
    const char* groups[] = {"a", "A", "a"};
    for (int i = 0; i < 3; ++i) {
        buttons[i] = AddTo<ButtonElement>(f.model, i == 2 ? InterfaceModel::kBackground : 0, 10 + i);
        buttons[i]->SetAttribute("Style", ValueType::Enum, V::OfEnum(ButtonElement::kRadioButton));
        buttons[i]->SetAttribute("Group", ValueType::String, V::OfString(groups[i]));
    }
    buttons[0]->SetAttribute("State", ValueType::Enum, V::OfEnum(ButtonElement::kDown));
    buttons[2]->SetAttribute("State", ValueType::Enum, V::OfEnum(ButtonElement::kDown));
    EXPECT_EQ(buttons[0]->GetState(), ButtonElement::kUp);
    buttons[1]->Click();
    EXPECT_EQ(buttons[0]->GetState(), ButtonElement::kUp);
    EXPECT_EQ(buttons[1]->GetState(), ButtonElement::kDown);
    EXPECT_EQ(buttons[2]->GetState(), ButtonElement::kUp);
}

TEST(Button, TextLinksPageOrScroll)
{
    Interface f(1);
    // A stand-in Text: an element of type "Text" holding the paging attributes as user attributes.
    class PagedText : public Element {
    public:
        PagedText()
        {
            SetTypeName("Text");
            for (const char* name : {"NumColumns", "ScrollPosition", "PageNum", "ScrollMax", "NumPages"})
                AddUserAttribute(name, ValueType::Long);
        }
    };
    auto text = std::make_unique<PagedText>();
    text->SetId(5);
    text->SetFrame(CardRect {0, 0, 100, 162});
    Element* page = f.model.AddElement(0, std::move(text));
    page->SetAttribute("ScrollPosition", ValueType::Long, V::OfLong(30));
    page->SetAttribute("ScrollMax", ValueType::Long, V::OfLong(90));
    auto* button = AddTo<ButtonElement>(f.model, 0, 6);

    button->SetAttribute("Text : Next Page", ValueType::Id, V::OfLong(5));
    button->Click();
    EXPECT_EQ(GetLong(*page, "ScrollPosition"), 40);  // (162 - 2) / 16
    button->SetAttribute("Text : Last Page", ValueType::Id, V::OfLong(5));
    button->Click();
    EXPECT_EQ(GetLong(*page, "ScrollPosition"), 90);

    page->SetAttribute("NumColumns", ValueType::Long, V::OfLong(2));
    page->SetAttribute("PageNum", ValueType::Long, V::OfLong(3));
    button->SetAttribute("Text : Previous Page", ValueType::Id, V::OfLong(5));
    button->Click();
    EXPECT_EQ(GetLong(*page, "PageNum"), 2);
}

TEST(InterfaceLinks, ButtonsBesideAChildInterfaceFollowItsCard)
{
    // The child Interface stands on a Card of its parent, with the Buttons that navigate it;
    // its own window shows three Cards.
    Interface parent(1);
    auto* child = AddTo<InterfaceObject>(parent.model, 0, 2);
    auto* next = AddTo<ButtonElement>(parent.model, 0, 4);
    auto* previous = AddTo<ButtonElement>(parent.model, 0, 5);
    ASSERT_EQ(child->SetAttribute("Button : Next Card", ValueType::Id, V::OfLong(4)), 1);
    ASSERT_EQ(child->SetAttribute("Button : Previous Card", ValueType::Id, V::OfLong(5)), 1);
    EXPECT_EQ(child->Links().TargetOf("Button : Next Card"), next);
    InterfaceModel childWindow;
    for (int i = 0; i < 3; ++i)
        childWindow.AddCard();
    childWindow.ShowInterfaceOf(child);

    V result;
    child->CallMethod("LastCard", {}, result);
    EXPECT_EQ(childWindow.CurrentCard(), 2);
    EXPECT_FALSE(next->IsEnabled());
    EXPECT_TRUE(previous->IsEnabled());
    child->CallMethod("NextCard", {}, result);  // wraps, although its Button was disabled
    EXPECT_EQ(childWindow.CurrentCard(), 0);
    EXPECT_TRUE(next->IsEnabled());
    EXPECT_FALSE(previous->IsEnabled());
    EXPECT_EQ(parent.model.CurrentCard(), 0);

    // In the self role the link attributes do not exist.
    EXPECT_EQ(parent.self->SetAttribute("Button : Next Card", ValueType::Id, V::OfLong(4)), 0);
}

TEST(ListBox, ItemMethods)
{
    ListBoxElement list;
    for (const char* item : {"Apple", "apricot", "Banana"})
        Call(list, "AppendItem", {V::OfString(item)});
    EXPECT_EQ(Call(list, "FindItem", {V::OfString("AP")}).Long(), 1);
    EXPECT_EQ(Call(list, "FindItem", {V::OfString("apr")}).Long(), 2);
    EXPECT_EQ(Call(list, "FindItem", {V::OfString("Applesauce")}).Long(), 0);
    Call(list, "InsertItem", {V::OfString("x"), V::OfLong(99)});
    EXPECT_EQ(Call(list, "GetItem", {V::OfLong(4)}).String(), "x");
    Call(list, "InsertItem", {V::OfString("y"), V::OfLong(0)});
    EXPECT_EQ(Call(list, "GetItem", {V::OfLong(1)}).String(), "y");
    EXPECT_EQ(GetLong(list, "NumItems"), 5);
    Call(list, "RemoveItem", {V::OfLong(9)});
    Call(list, "ReplaceItem", {V::OfLong(0), V::OfString("z")});
    EXPECT_EQ(GetLong(list, "NumItems"), 5);
    EXPECT_EQ(Call(list, "GetItem", {V::OfLong(6)}).String(), "");
    Call(list, "RemoveItem", {V::OfLong(1)});
    Call(list, "ReplaceItem", {V::OfLong(4), V::OfString("last")});
    EXPECT_EQ(list.Items(), std::vector<std::string>({"Apple", "apricot", "Banana", "last"}));
    Call(list, "RemoveAll");
    EXPECT_EQ(GetLong(list, "NumItems"), 0);

    ListBoxElement sorted;
    for (const char* item : {"Apple", "Cherry"})
        Call(sorted, "AppendItem", {V::OfString(item)});
    Call(sorted, "InsertSortedItem", {V::OfString("banana")});
    EXPECT_EQ(sorted.Items(), std::vector<std::string>({"Apple", "banana", "Cherry"}));
}

TEST(ListBox, SelectionIsKeptInRangeAndEntriesRecountItems)
{
    ListBoxElement list;
    EXPECT_EQ(GetLong(list, "SelectedNum"), 0);
    MemoryBlock entries;
    for (const char* item : {"one", "two", "three"})
        entries.AppendPString(item);
    ASSERT_EQ(list.SetAttribute("Entries", ValueType::Special, V::OfBlock(entries)), 1);
    EXPECT_EQ(GetLong(list, "NumItems"), 3);
    EXPECT_EQ(Get(list, "Entries", ValueType::Special).Block(), entries);
    list.SetAttribute("SelectedNum", ValueType::Long, V::OfLong(99));
    EXPECT_EQ(GetLong(list, "SelectedNum"), 3);
    list.SetAttribute("SelectedNum", ValueType::Long, V::OfLong(0));
    EXPECT_EQ(GetLong(list, "SelectedNum"), 0);

    // A record that claims more bytes than remain ends the list.
    entries.AppendInt(50, 1);
    entries.AppendString("cut", Nul::Exclude);
    ASSERT_TRUE(list.ReadClassChunk("Entr", entries));
    EXPECT_EQ(GetLong(list, "NumItems"), 3);
}

TEST(ScrollBar, ClampsPositionRaisesPageAndHoldsOneLink)
{
    ScrollBarElement bar;
    bar.SetAttribute("Max", ValueType::Long, V::OfLong(10));
    bar.SetAttribute("Position", ValueType::Long, V::OfLong(15));
    EXPECT_EQ(GetLong(bar, "Position"), 10);
    bar.SetAttribute("Position", ValueType::Long, V::OfLong(-3));
    EXPECT_EQ(GetLong(bar, "Position"), 0);
    bar.SetAttribute("Page", ValueType::Long, V::OfLong(0));
    EXPECT_EQ(GetLong(bar, "Page"), 1);
    bar.SetAttribute("Audio : Navigate", ValueType::Id, V::OfLong(3));
    bar.SetAttribute("Text : Navigate", ValueType::Id, V::OfLong(4));
    EXPECT_EQ(Get(bar, "Audio : Navigate", ValueType::Id).Long(), 0);
    EXPECT_EQ(Get(bar, "Text : Navigate", ValueType::Id).Long(), 4);
}

TEST(EditBox, DefaultsSpinOverTheWholeRange)
{
    EditBoxElement edit;
    EXPECT_EQ(Get(edit, "ValueMin", ValueType::Double).Double(), -99999999.0);
    EXPECT_EQ(Get(edit, "ValueMax", ValueType::Double).Double(), 99999999.0);
    EXPECT_EQ(Get(edit, "ValueInc", ValueType::Double).Double(), 1.0);
    EXPECT_TRUE(Get(edit, "Border", ValueType::Boolean).Boolean());
    EXPECT_EQ(Get(edit, "Text", ValueType::String).String(), "");
}

TEST(PassiveElements, DefaultsAndDerivedValues)
{
    StringElement label;
    EXPECT_EQ(Get(label, "Text", ValueType::String).String(), "String");
    EXPECT_EQ(Get(label, "ShadowColor", ValueType::Color).Color(), 0x00C0C0C0u);

    LineElement line;
    line.SetFrame(CardRect {0, 0, 5, 100});
    EXPECT_EQ(Get(line, "Direction", ValueType::Enum).Enum(), LineElement::kVertical);
    line.SetAttribute("Direction", ValueType::Enum, V::OfEnum(LineElement::kHorizontal));
    EXPECT_EQ(line.EffectiveDirection(), LineElement::kHorizontal);
    LineElement reloaded;
    reloaded.SetFrame(line.GetFrame());
    RoundTrip(line, reloaded);
    EXPECT_EQ(reloaded.EffectiveDirection(), LineElement::kVertical);

    PictureElement picture;
    EXPECT_EQ(GetLong(picture, "BitmapWidth"), 0);
    EXPECT_FALSE(Get(picture, "Bitmap", ValueType::Boolean).Boolean());
    EXPECT_EQ(picture.SetAttribute("BitmapWidth", ValueType::Long, V::OfLong(5)), 0);
}

TEST(DatabaseElement, HitsAreRankedByCount)
{
    DatabaseElement db;
    db.AddRankedHits({{2, 5}, {4, 9}, {2, 3}});
    std::vector<int32_t> ids;
    for (const auto& hit : db.Hits())
        ids.push_back(hit.mediaId);
    EXPECT_EQ(ids, std::vector<int32_t>({9, 5, 3}));
    EXPECT_EQ(Call(db, "GetHit", {V::OfLong(1)}).String(), "#9");
    EXPECT_EQ(Call(db, "GetHitCount", {V::OfLong(1)}).Long(), 4);
    EXPECT_EQ(Call(db, "GetHit", {V::OfLong(4)}).String(), "");
    EXPECT_EQ(GetLong(db, "NumHits"), 3);
    db.SetAttribute("GridWidth", ValueType::Long, V::OfLong(0));
    EXPECT_EQ(GetLong(db, "GridWidth"), 1);
    db.SetAttribute("DatabaseFile", ValueType::String, V::OfString("other.mdb"));
    EXPECT_EQ(GetLong(db, "NumHits"), 0);
}
