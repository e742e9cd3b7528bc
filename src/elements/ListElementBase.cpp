#include "elements/ListElementBase.h"

#include "elements/ControlElements.h"
#include "elements/ElementColors.h"
#include "iface/ChunkTags.h"
#include "iface/InterfaceModel.h"
#include "ui/TControl.h"

namespace tamber {

namespace {

constexpr size_t kMaxItemLength = MemoryBlock::kMaxPStringLength;

int32_t LongParam(std::span<const AttributeValue> params, size_t index)
{
    return index < params.size() ? params[index].Long() : 0;
}

std::string StringParam(std::span<const AttributeValue> params, size_t index)
{
    return index < params.size() ? params[index].String() : std::string();
}

// Answers or sets a Boolean field; 0 for another type.
int GetBoolean(bool field, ValueType type, AttributeValue& value)
{
    if (type != ValueType::Boolean)
        return 0;
    value.SetBoolean(field);
    return 1;
}

int SetBoolean(bool& field, ValueType type, const AttributeValue& value)
{
    if (type != ValueType::Boolean)
        return 0;
    field = value.Boolean();
    return 1;
}

// Notifications both list classes turn into events without parameters.
struct NoticeEvent {
    uint16_t code;
    const char* event;
};
constexpr NoticeEvent kNoticeEvents[] = {
    {ui::notify::kSetFocus, "GotFocus"},
    {ui::notify::kKillFocus, "LostFocus"},
    {ui::notify::kEnterKey, "EnterKeyPressed"},
    {ui::notify::kEscapeKey, "EscapeKeyPressed"},
    {ui::notify::kTabKey, "TabKeyPressed"},
};

}  // namespace

struct ListAccess {
    using L = ListElementBase;
    using V = AttributeValue;

    static std::span<const AttributeAccessor<L>> Table()
    {
        static const AttributeAccessor<L> kTable[] = {
            {"Border", ValueType::Boolean, GetMember<&L::m_border>, SetMember<&L::m_border>},
            {"Entries", ValueType::Special, [](const L& l, V& v) { v.SetBlock(l.EntriesBlock()); },
                [](L& l, const V& v) { return l.SetEntries(v.Block()), 1; }},
            {"NumItems", ValueType::Long, [](const L& l, V& v) { v.SetLong(static_cast<int32_t>(l.m_items.size())); },
                nullptr},
            // The selected text comes from the control; without one there is none.
            {"SelectedItem", ValueType::String,
                [](const L& l, V& v) {
                    int32_t index = l.Control() ? l.ControlSelection() : L::kNoSelection;
                    v.SetString(index >= 0 ? l.ControlItem(index) : std::string());
                },
                nullptr},
            {"SelectedNum", ValueType::Long, [](const L& l, V& v) { v.SetLong(l.SelectedIndex() + 1); },
                [](L& l, const V& v) { return l.SetSelectedNumber(v.Long()), 1; }},
            {"BackColor", ValueType::Color, GetMember<&L::m_backColor>, SetMember<&L::m_backColor>},
            {"TextColor", ValueType::Color, GetMember<&L::m_textColor>, SetMember<&L::m_textColor>},
            {"TextFont", ValueType::Font, GetFontFace<&L::m_font>, SetFontFace<&L::m_font>},
            {"TextSize", ValueType::Long, GetFontSize<&L::m_font>, SetFontSize<&L::m_font>},
            {"TextStyle", ValueType::Enum, GetFontStyle<&L::m_font>, SetFontStyle<&L::m_font>},
        };
        return kTable;
    }
};

ListElementBase::ListElementBase(InterfaceModel* parent, ClassId classId, std::string_view kindName)
    : ControlElement(parent, classId, kDefaultSize)
    , m_backColor(colors::kWhite)
    , m_textColor(colors::kBlack)
    , m_kindName(kindName)
{
}

ListElementBase::~ListElementBase() = default;

int ListElementBase::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = NamesEqual(name, m_kindName) ? GetBoolean(m_kind, type, value) : kNotInTable;
    if (result == kNotInTable)
        result = GetThroughTable(ListAccess::Table(), *this, name, type, value);
    if (result == 1 && NamesEqual(name, "SelectedNum"))
        TakeSelection();
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int ListElementBase::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = NamesEqual(name, m_kindName) ? SetBoolean(m_kind, type, value) : kNotInTable;
    if (result == kNotInTable)
        result = SetThroughTable(ListAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return ControlElement::SetAttribute(name, type, value);
    if (result == 1 && ClassAttributeStored(name))
        ApplyLook();
    return result;
}

int32_t ListElementBase::SelectedIndex() const
{
    return Control() ? ControlSelection() : m_selected;
}

void ListElementBase::TakeSelection()
{
    if (Control())
        m_selected = ControlSelection();
}

void ListElementBase::ControlGoing()
{
    TakeSelection();
}

void ListElementBase::SetSelectedNumber(int32_t number)
{
    const int32_t last = static_cast<int32_t>(m_items.size()) - 1;
    int32_t index = number - 1;
    index = index < kNoSelection ? kNoSelection : (index > last ? last : index);
    TakeSelection();
    if (index == m_selected)
        return;
    m_selected = index;
    if (!Control())
        return;
    ControlSelect(index);
    if (InterfaceModel* model = Parent())
        model->InvalidateElement(*this);
    RaiseSelectionChanged(index + 1);
}

void ListElementBase::RaiseSelectionChanged(int32_t number)
{
    const AttributeValue args[] = {AttributeValue::OfLong(number)};
    RaiseEvent("SelectionChanged", args);
}

MemoryBlock ListElementBase::EntriesBlock() const
{
    MemoryBlock block;
    for (const std::string& item : m_items)
        block.AppendPString(item);
    return block;
}

void ListElementBase::SetEntries(const MemoryBlock& entries)
{
    m_items.clear();
    ChunkReader r(entries);
    while (!r.AtEnd()) {
        int32_t length = entries.ReadInt(r.Offset(), 1);
        if (length < 1 || length > r.Remaining() - 1)
            break;
        m_items.push_back(r.PString());
    }
    if (m_selected >= static_cast<int32_t>(m_items.size()))
        m_selected = kNoSelection;
    if (Control())
        FillControl();
}

bool ListElementBase::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag != chunk::kEntr)
        return false;
    SetEntries(payload);
    return true;
}

void ListElementBase::InsertItem(int32_t index, std::string_view item)
{
    std::string text(item.substr(0, kMaxItemLength));
    const int32_t count = static_cast<int32_t>(m_items.size());
    if (index < 0 || index > count)
        index = count;
    if (Control())
        ControlInsert(index, text);
    m_items.insert(m_items.begin() + index, std::move(text));
    if (Control())
        TakeSelection();
    else if (m_selected >= index)
        ++m_selected;
    MarkModified();
}

void ListElementBase::RemoveAll()
{
    m_items.clear();
    m_selected = kNoSelection;
    if (Control())
        ControlReset();
    MarkModified();
}

int32_t ListElementBase::FindPrefix(std::string_view text) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].size() >= text.size() && NamesEqual(std::string_view(m_items[i]).substr(0, text.size()), text))
            return static_cast<int32_t>(i) + 1;
    }
    return 0;
}

int ListElementBase::CallMethod(std::string_view name, std::span<const AttributeValue> params,
    AttributeValue& result)
{
    const int32_t count = static_cast<int32_t>(m_items.size());
    auto inRange = [&](int32_t number) { return number >= 1 && number <= count; };
    if (NamesEqual(name, "AppendItem")) {
        AppendItem(StringParam(params, 0));
    } else if (NamesEqual(name, "InsertItem")) {
        int32_t before = LongParam(params, 1) - 1;
        InsertItem(before < 0 ? 0 : before, StringParam(params, 0));
    } else if (NamesEqual(name, "RemoveItem")) {
        int32_t number = LongParam(params, 0);
        if (inRange(number)) {
            const int32_t index = number - 1;
            m_items.erase(m_items.begin() + index);
            if (Control()) {
                ControlDelete(index);
                TakeSelection();
            } else if (m_selected == index) {
                m_selected = kNoSelection;
            } else if (m_selected > index) {
                --m_selected;
            }
            MarkModified();
        }
    } else if (NamesEqual(name, "ReplaceItem")) {
        int32_t number = LongParam(params, 0);
        if (inRange(number)) {
            const int32_t index = number - 1;
            m_items[index] = StringParam(params, 1).substr(0, kMaxItemLength);
            if (Control()) {
                // The control has no replacement: the item goes and comes back, still selected.
                const bool selected = ControlSelection() == index;
                ControlDelete(index);
                ControlInsert(index, m_items[index]);
                if (selected)
                    ControlSelect(index);
            }
            MarkModified();
        }
    } else if (NamesEqual(name, "GetItem")) {
        int32_t number = LongParam(params, 0);
        result.SetString(inRange(number) ? std::string_view(m_items[number - 1]) : std::string_view());
    } else if (NamesEqual(name, "RemoveAll")) {
        RemoveAll();
    } else {
        return Element::CallMethod(name, params, result);
    }
    return 1;
}

void ListElementBase::Create()
{
    Destroy();
    ui::TWindow* host = PrepareHost();
    if (!host)
        return;
    std::unique_ptr<ui::TControl> control = MakeControl(m_border);
    control->SetListener([this](ui::TControl&, uint16_t code) { Notified(code); });
    control->Create(host, GetName(), ControlRect(), Visibility::Hidden);
    AdoptControl(std::move(control));
    ApplyLook();
    FillControl();
    ControlCreated();
}

void ListElementBase::FillControl()
{
    ControlReset();
    for (const std::string& item : m_items)
        ControlInsert(-1, item);
    ControlSelect(m_selected);
}

void ListElementBase::ApplyLook()
{
    ui::TControl& control = *Control();
    control.SetBackColor(m_backColor);
    control.SetTextColor(m_textColor);
    control.SetFont(ControlFont(m_font));
    ApplyEnabled();
    LookApplied();
    if (InterfaceModel* model = Parent())
        model->InvalidateElement(*this);
}

void ListElementBase::Notified(uint16_t code)
{
    ControlNotice notice;
    if (ClassNotice(code))
        return;
    for (const NoticeEvent& entry : kNoticeEvents) {
        if (entry.code == code) {
            RaiseEvent(entry.event);
            return;
        }
    }
}

void ListElementBase::WriteSharedDefn(ChunkWriter& w) const
{
    w.Bool(m_kind);
    w.Rgb(m_backColor);
    m_font.Write(w);
    w.Rgb(m_textColor);
    w.Bool(m_border);
}

void ListElementBase::ReadSharedDefn(ChunkReader& r)
{
    m_kind = r.Bool();
    m_backColor = r.Rgb();
    m_font.Read(r);
    m_textColor = r.Rgb();
    m_border = r.Bool();
}

}  // namespace tamber
