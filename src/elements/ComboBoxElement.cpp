#include "elements/ComboBoxElement.h"

#include "elements/ControlElements.h"
#include "iface/ChunkTags.h"
#include "ui/ComboBoxControl.h"

namespace tamber {

namespace {

ui::ComboBoxControl& ComboOf(ui::TControl* control)
{
    return static_cast<ui::ComboBoxControl&>(*control);
}

// Notifications raised as events without parameters.
struct NoticeEvent {
    uint16_t code;
    const char* event;
};
constexpr NoticeEvent kComboEvents[] = {
    {ui::notify::kDropDown, "DropDown"},
    {ui::notify::kCloseUp, "PullUp"},
    {ui::notify::kEditChanged, "EditChanged"},
};

}  // namespace

ComboBoxElement::ComboBoxElement(InterfaceModel* parent) : ListElementBase(parent, ClassId::ComboBox) { }

ComboBoxElement::~ComboBoxElement()
{
    Destroy();
}

int ComboBoxElement::GetOwnAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    if (!NamesEqual(name, "Editable"))
        return kNotInTable;
    if (type != ValueType::Boolean)
        return 0;
    value.SetBoolean(m_editable);
    return 1;
}

int ComboBoxElement::SetOwnAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    if (!NamesEqual(name, "Editable"))
        return kNotInTable;
    if (type != ValueType::Boolean)
        return 0;
    // Takes effect when the control is made again ("Reconstruct").
    m_editable = value.Boolean();
    return 1;
}

std::string ComboBoxElement::EditText() const
{
    return Control() ? ComboOf(Control()).Text() : m_editText;
}

void ComboBoxElement::SetEditText(std::string_view text)
{
    m_editText = std::string(text);
    if (Control())
        ComboOf(Control()).SetText(m_editText);
}

void ComboBoxElement::Destroy()
{
    if (Control())
        m_editText = ComboOf(Control()).Text();
    ListElementBase::Destroy();
}

std::unique_ptr<ui::TControl> ComboBoxElement::MakeControl(bool border)
{
    auto combo = std::make_unique<ui::ComboBoxControl>(m_editable ? ui::ComboKind::Editable : ui::ComboKind::DropDownList);
    combo->SetBorder(border ? ui::ControlBorder::Flat : ui::ControlBorder::None);
    return combo;
}

void ComboBoxElement::ControlInsert(int32_t index, std::string_view item)
{
    ComboOf(Control()).InsertString(index, item);
}

void ComboBoxElement::ControlDelete(int32_t index)
{
    ComboOf(Control()).DeleteString(index);
}

void ComboBoxElement::ControlReset()
{
    ComboOf(Control()).ResetContent();
}

int32_t ComboBoxElement::ControlSelection() const
{
    return ComboOf(Control()).CurSel();
}

void ComboBoxElement::ControlSelect(int32_t index)
{
    ComboOf(Control()).SetCurSel(index);
}

std::string ComboBoxElement::ControlItem(int32_t index) const
{
    return ComboOf(Control()).GetText(index);
}

void ComboBoxElement::ControlCreated()
{
    // An editable field shows the kept text; a list-only box shows its selected item.
    if (m_editable && !m_editText.empty())
        ComboOf(Control()).SetText(m_editText);
}

void ComboBoxElement::LookApplied()
{
    // The drop-down list is a window of its own and shows the items as the field does.
    ui::ListBoxControl& list = ComboOf(Control()).List();
    list.SetFont(ControlFont(Font()));
    list.SetBackColor(BackColor());
    list.SetTextColor(TextColor());
}

bool ComboBoxElement::ClassNotice(uint16_t code)
{
    if (code == ui::notify::kSelectionChanged) {
        TakeSelection();
        m_editText = ComboOf(Control()).Text();
        RaiseSelectionChanged(SelectedIndex() + 1);
        return true;
    }
    for (const NoticeEvent& entry : kComboEvents) {
        if (entry.code == code) {
            if (code == ui::notify::kEditChanged)
                m_editText = ComboOf(Control()).Text();
            RaiseEvent(entry.event);
            return true;
        }
    }
    return false;
}

int ComboBoxElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Bool(m_editable);
    WriteSharedDefn(w);
    out.WriteChunk(chunk::kDefn, defn);
    MemoryBlock text;
    const std::string editText = EditText();
    if (!editText.empty())
        text.AppendString(editText, Nul::Include);
    out.WriteChunk(chunk::kText, text);
    out.WriteChunk(chunk::kEntr, EntriesBlock());
    return 3;
}

bool ComboBoxElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag == chunk::kDefn) {
        ChunkReader r(payload);
        m_editable = r.Bool();
        ReadSharedDefn(r);
        return true;
    }
    if (tag == chunk::kText) {
        ChunkReader r(payload);
        m_editText = r.CString();
        return true;
    }
    if (tag == chunk::kEntr) {
        SetEntries(payload);
        return true;
    }
    return false;
}

}  // namespace tamber
