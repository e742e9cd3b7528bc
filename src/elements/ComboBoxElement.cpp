#include "elements/ComboBoxElement.h"

#include "elements/ControlElements.h"
#include "iface/ChunkTags.h"
#include "ui/ComboBoxControl.h"

namespace tamber {

namespace {

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

ComboBoxElement::ComboBoxElement(InterfaceModel* parent)
    : ListElementOver(parent, ClassId::ComboBox, "Editable")
{
}

ComboBoxElement::~ComboBoxElement()
{
    Destroy();
}

std::string ComboBoxElement::EditText() const
{
    return Control() ? Box().Text() : m_editText;
}

void ComboBoxElement::SetEditText(std::string_view text)
{
    m_editText = std::string(text);
    if (Control())
        Box().SetText(m_editText);
}

void ComboBoxElement::ControlGoing()
{
    m_editText = Box().Text();
    ListElementOver::ControlGoing();
}

std::unique_ptr<ui::TControl> ComboBoxElement::MakeControl(bool border)
{
    auto combo = std::make_unique<ui::ComboBoxControl>(
        Kind() ? ui::ComboKind::Editable : ui::ComboKind::DropDownList);
    combo->SetBorder(border ? ui::ControlBorder::Flat : ui::ControlBorder::None);
    return combo;
}

void ComboBoxElement::ControlCreated()
{
    // An editable field shows the kept text; a list-only box shows its selected item.
    if (Kind() && !m_editText.empty())
        Box().SetText(m_editText);
}

void ComboBoxElement::LookApplied()
{
    // The drop-down list is a window of its own and shows the items as the field does.
    ui::ListBoxControl& list = Box().List();
    list.SetFont(ControlFont(Font()));
    list.SetBackColor(BackColor());
    list.SetTextColor(TextColor());
}

bool ComboBoxElement::ClassNotice(uint16_t code)
{
    if (code == ui::notify::kSelectionChanged) {
        TakeSelection();
        m_editText = Box().Text();
        RaiseSelectionChanged(SelectedIndex() + 1);
        return true;
    }
    for (const NoticeEvent& entry : kComboEvents) {
        if (entry.code == code) {
            if (code == ui::notify::kEditChanged)
                m_editText = Box().Text();
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
        ReadSharedDefn(r);
        return true;
    }
    if (tag == chunk::kText) {
        ChunkReader r(payload);
        m_editText = r.CString();
        return true;
    }
    return ListElementOver::ReadClassChunk(tag, payload);
}

}  // namespace tamber
