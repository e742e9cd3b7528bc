#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"
#include "elements/ElementFont.h"
#include "iface/AttributeAccessor.h"
#include "iface/Element.h"

namespace tamber {

namespace ui {
class TControl;
}  // namespace ui

// What ListBox and ComboBox share: the items ("Entries", a block of length-prefixed strings
// kept by the element whether or not a control exists), the selection, font, colours and
// border, and the item methods. While the Card is shown a framework list or combo box mirrors
// the items; every change goes to both, and the selection is read from the control.
class ListElementBase : public Element {
public:
    static constexpr int32_t kNoSelection = -1;

    ~ListElementBase() override;

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int CallMethod(std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result) override;

    void Create() override;
    void Show() override;
    void Hide() override;
    void Destroy() override;
    intptr_t WindowHandle() const override;

    const std::vector<std::string>& Items() const { return m_items; }
    // The selected index (0-based; kNoSelection for none), from the control while there is one.
    int32_t SelectedIndex() const;
    // The control while the element is shown.
    ui::TControl* Control() const { return m_control.get(); }

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

    // The class's control, not yet created, with its border.
    virtual std::unique_ptr<ui::TControl> MakeControl(bool border) = 0;
    // Item operations on the control; called only while one exists. An index past the end
    // appends.
    virtual void ControlInsert(int32_t index, std::string_view item) = 0;
    virtual void ControlDelete(int32_t index) = 0;
    virtual void ControlReset() = 0;
    virtual int32_t ControlSelection() const = 0;
    virtual void ControlSelect(int32_t index) = 0;
    virtual std::string ControlItem(int32_t index) const = 0;
    // The control was made and filled.
    virtual void ControlCreated() { }
    // The font and colours went to the control; a class passes them on to its other parts.
    virtual void LookApplied() { }
    const ElementFont& Font() const { return m_font; }
    uint32_t BackColor() const { return m_backColor; }
    uint32_t TextColor() const { return m_textColor; }
    // A notification the class answers itself; answers whether it did.
    virtual bool ClassNotice(uint16_t code) { return false; }

    // Inserts before index (appended when index is past the end), in the block and control.
    void InsertItem(int32_t index, std::string_view item);
    void AppendItem(std::string_view item) { InsertItem(static_cast<int32_t>(m_items.size()), item); }
    void RemoveAll();
    // The 1-based number of the first item that begins with text (ASCII case ignored), or 0.
    int32_t FindPrefix(std::string_view text) const;
    // Takes the control's selection into the field.
    void TakeSelection();
    // Raises "SelectionChanged" with the 1-based number.
    void RaiseSelectionChanged(int32_t number);

private:
    friend struct ListAccess;

    void SetSelectedNumber(int32_t number);
    void FillControl();
    void ApplyLook();
    void Notified(uint16_t code);

    std::vector<std::string> m_items;
    int32_t m_selected = kNoSelection;
    uint32_t m_backColor;
    ElementFont m_font;
    uint32_t m_textColor;
    bool m_border = true;
    std::unique_ptr<ui::TControl> m_control;
};

}  // namespace tamber
