#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"
#include "elements/ControlElement.h"
#include "elements/ElementFont.h"
#include "iface/AttributeAccessor.h"

namespace tamber {

// What ListBox and ComboBox share: the items ("Entries", a block of length-prefixed strings
// kept by the element whether or not a control exists), the selection, font, colours, border
// and the class's one switch of the control's kind ("MultiSelect", "Editable"), and the item
// methods. While the Card is shown a framework list or combo box mirrors the items; every
// change goes to both, and the selection is read from the control.
class ListElementBase : public ControlElement {
public:
    static constexpr int32_t kNoSelection = -1;
    static constexpr CardRect kDefaultSize {-50, -100, 100, 200};

    ~ListElementBase() override;

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int CallMethod(std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result) override;
    // Reads "Entr"; the classes read the rest.
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    void Create() override;

    const std::vector<std::string>& Items() const { return m_items; }
    // The selected index (0-based; kNoSelection for none), from the control while there is one.
    int32_t SelectedIndex() const;

    // The entries block: per item a length byte (characters + 1), the characters, a NUL.
    MemoryBlock EntriesBlock() const;
    // Replaces the items from an entries block; a record cut short ends it.
    void SetEntries(const MemoryBlock& entries);

protected:
    // kindName: the Boolean attribute that picks the control's kind; it is only stored and
    // takes effect when the control is made again ("Reconstruct").
    ListElementBase(InterfaceModel* parent, ClassId classId, std::string_view kindName);

    Growth ControlGrowth() const override { return Growth::None; }
    // Takes the selection back.
    void ControlGoing() override;

    // The "Defn" fields: the kind switch, then those shared by both classes.
    void WriteSharedDefn(ChunkWriter& w) const;
    void ReadSharedDefn(ChunkReader& r);
    bool Kind() const { return m_kind; }

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
    std::string_view m_kindName;
    bool m_kind = false;
};

// The item operations over the class's framework control C, a list or a combo box: both answer
// the same calls.
template<class C>
class ListElementOver : public ListElementBase {
protected:
    using ListElementBase::ListElementBase;

    // The control while the element is shown; call only then.
    C& Box() const { return static_cast<C&>(*Control()); }

    void ControlInsert(int32_t index, std::string_view item) override { Box().InsertString(index, item); }
    void ControlDelete(int32_t index) override { Box().DeleteString(index); }
    void ControlReset() override { Box().ResetContent(); }
    int32_t ControlSelection() const override { return Box().CurSel(); }
    void ControlSelect(int32_t index) override { Box().SetCurSel(index); }
    std::string ControlItem(int32_t index) const override { return Box().GetText(index); }
};

}  // namespace tamber
