#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"
#include "elements/ElementFont.h"
#include "iface/AttributeAccessor.h"
#include "iface/Element.h"

namespace tamber {

// What ListBox and ComboBox share: the items ("Entries", a block of length-prefixed strings
// kept by the element whether or not a control exists), the selection, font, colours and
// border, and the item methods.
class ListElementBase : public Element {
public:
    static constexpr int32_t kNoSelection = -1;

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int CallMethod(std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result) override;

    const std::vector<std::string>& Items() const { return m_items; }
    int32_t SelectedIndex() const { return m_selected; }

    // The entries block: per item a length byte (characters + 1), the characters, a NUL.
    MemoryBlock EntriesBlock() const;
    // Replaces the items from an entries block; a record cut short ends it.
    void SetEntries(const MemoryBlock& entries);

protected:
    explicit ListElementBase(InterfaceModel* parent, ClassId classId);

    // The "Defn" fields shared by both classes after the class's first byte.
    void WriteSharedDefn(ChunkWriter& w) const;
    void ReadSharedDefn(ChunkReader& r);

    // Answers the class's own names; kNotInTable for the others.
    virtual int GetOwnAttribute(std::string_view name, ValueType type, AttributeValue& value)
    {
        return kNotInTable;
    }
    virtual int SetOwnAttribute(std::string_view name, ValueType type, const AttributeValue& value)
    {
        return kNotInTable;
    }

    void InsertItem(int32_t index, std::string_view item);
    // The 1-based number of the first item that begins with text (ASCII case ignored), or 0.
    int32_t FindPrefix(std::string_view text) const;

private:
    friend struct ListAccess;

    std::vector<std::string> m_items;
    int32_t m_selected = kNoSelection;
    uint32_t m_backColor;
    ElementFont m_font;
    uint32_t m_textColor;
    bool m_border = true;
};

}  // namespace tamber
