#include "elements/ListElementBase.h"

#include "elements/ElementColors.h"

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
            {"SelectedItem", ValueType::String, [](const L&, V& v) { v.SetString(""); }, nullptr},
            {"SelectedNum", ValueType::Long, [](const L& l, V& v) { v.SetLong(l.m_selected + 1); },
                [](L& l, const V& v) {
                    int32_t index = v.Long() - 1;
                    int32_t last = static_cast<int32_t>(l.m_items.size()) - 1;
                    l.m_selected = index < L::kNoSelection ? L::kNoSelection : (index > last ? last : index);
                    return 1;
                }},
            {"BackColor", ValueType::Color, GetMember<&L::m_backColor>, SetMember<&L::m_backColor>},
            {"TextColor", ValueType::Color, GetMember<&L::m_textColor>, SetMember<&L::m_textColor>},
            {"TextFont", ValueType::Font, GetFontFace<&L::m_font>, SetFontFace<&L::m_font>},
            {"TextSize", ValueType::Long, GetFontSize<&L::m_font>, SetFontSize<&L::m_font>},
            {"TextStyle", ValueType::Enum, GetFontStyle<&L::m_font>, SetFontStyle<&L::m_font>},
        };
        return kTable;
    }
};

ListElementBase::ListElementBase(InterfaceModel* parent, ClassId classId)
    : Element(parent), m_backColor(colors::kWhite), m_textColor(colors::kBlack)
{
    LoadClassDefinition(static_cast<uint16_t>(classId));
}

int ListElementBase::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    int result = GetOwnAttribute(name, type, value);
    if (result == kNotInTable)
        result = GetThroughTable(ListAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int ListElementBase::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetOwnAttribute(name, type, value);
    if (result == kNotInTable)
        result = SetThroughTable(ListAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return Element::SetAttribute(name, type, value);
    if (result == 1)
        MarkModified();
    return result;
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
}

void ListElementBase::InsertItem(int32_t index, std::string_view item)
{
    std::string text(item.substr(0, kMaxItemLength));
    if (index < 0 || index >= static_cast<int32_t>(m_items.size()))
        m_items.push_back(std::move(text));
    else
        m_items.insert(m_items.begin() + index, std::move(text));
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
        InsertItem(count, StringParam(params, 0));
    } else if (NamesEqual(name, "InsertItem")) {
        int32_t before = LongParam(params, 1) - 1;
        InsertItem(before < 0 ? 0 : before, StringParam(params, 0));
    } else if (NamesEqual(name, "RemoveItem")) {
        int32_t number = LongParam(params, 0);
        if (inRange(number)) {
            m_items.erase(m_items.begin() + (number - 1));
            if (m_selected >= static_cast<int32_t>(m_items.size()))
                m_selected = static_cast<int32_t>(m_items.size()) - 1;
            MarkModified();
        }
    } else if (NamesEqual(name, "ReplaceItem")) {
        int32_t number = LongParam(params, 0);
        if (inRange(number)) {
            m_items[number - 1] = StringParam(params, 1).substr(0, kMaxItemLength);
            MarkModified();
        }
    } else if (NamesEqual(name, "GetItem")) {
        int32_t number = LongParam(params, 0);
        result.SetString(inRange(number) ? std::string_view(m_items[number - 1]) : std::string_view());
    } else if (NamesEqual(name, "RemoveAll")) {
        m_items.clear();
        m_selected = kNoSelection;
        MarkModified();
    } else {
        return Element::CallMethod(name, params, result);
    }
    return 1;
}

void ListElementBase::WriteSharedDefn(ChunkWriter& w) const
{
    w.Rgb(m_backColor);
    m_font.Write(w);
    w.Rgb(m_textColor);
    w.Bool(m_border);
}

void ListElementBase::ReadSharedDefn(ChunkReader& r)
{
    m_backColor = r.Rgb();
    m_font.Read(r);
    m_textColor = r.Rgb();
    m_border = r.Bool();
}

}  // namespace tamber
