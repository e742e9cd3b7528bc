#include "elements/EditBoxElement.h"

#include "elements/ControlElements.h"
#include "elements/ElementColors.h"
#include "iface/ChunkTags.h"
#include "ui/EditControl.h"

namespace tamber {

struct EditBoxAccess {
    using E = EditBoxElement;
    using V = AttributeValue;

    static std::span<const AttributeAccessor<E>> Table()
    {
        static const AttributeAccessor<E> kTable[] = {
            {"Border", ValueType::Boolean, GetMember<&E::m_border>, SetMember<&E::m_border>},
            {"LockedText", ValueType::Boolean, GetMember<&E::m_lockedText>, SetMember<&E::m_lockedText>},
            {"Password", ValueType::Boolean, GetMember<&E::m_password>, SetMember<&E::m_password>},
            {"SpinButton", ValueType::Boolean, GetMember<&E::m_spinButton>, SetMember<&E::m_spinButton>},
            // The block keeps the whole text; the String value holds its first 127 characters.
            {"Text", ValueType::String, GetMember<&E::m_text>,
                [](E& e, const V& v) { return e.m_text = v.String(), 1; }},
            {"TextFont", ValueType::Font, GetFontFace<&E::m_font>, SetFontFace<&E::m_font>},
            {"TextSize", ValueType::Long, GetFontSize<&E::m_font>, SetFontSize<&E::m_font>},
            {"TextStyle", ValueType::Enum, GetFontStyle<&E::m_font>, SetFontStyle<&E::m_font>},
            {"ValueInc", ValueType::Double, GetMember<&E::m_valueIncrement>, SetMember<&E::m_valueIncrement>},
            {"ValueMax", ValueType::Double, GetMember<&E::m_valueMax>, SetMember<&E::m_valueMax>},
            {"ValueMin", ValueType::Double, GetMember<&E::m_valueMin>, SetMember<&E::m_valueMin>},
            {"BackColor", ValueType::Color, GetMember<&E::m_backColor>, SetMember<&E::m_backColor>},
            {"TextColor", ValueType::Color, GetMember<&E::m_textColor>, SetMember<&E::m_textColor>},
        };
        return kTable;
    }
};

namespace {

// The one link: "ListBox : Word Select".
constexpr int kWordSelect = 0;

}  // namespace

EditBoxElement::EditBoxElement(InterfaceModel* parent)
    : ControlElement(parent, ClassId::EditBox, kDefaultSize)
    , m_backColor(colors::kWhite)
    , m_textColor(colors::kBlack)
{
    SetLinkNames(ElementLinks({"ListBox : Word Select"}, ElementLinks::Exclusive::No));
}

EditBoxElement::~EditBoxElement()
{
    Destroy();
}

ui::EditControl* EditBoxElement::Edit() const
{
    return static_cast<ui::EditControl*>(Control());
}

const std::string& EditBoxElement::Text() const
{
    if (ui::EditControl* edit = Edit())
        m_text = edit->Text();
    return m_text;
}

int EditBoxElement::GetAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    if (NamesEqual(name, "Text"))
        Text();
    int result = GetThroughTable(EditBoxAccess::Table(), *this, name, type, value);
    return result != kNotInTable ? result : Element::GetAttribute(name, type, value);
}

int EditBoxElement::SetAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    int result = SetThroughTable(EditBoxAccess::Table(), *this, name, type, value);
    if (result == kNotInTable)
        return ControlElement::SetAttribute(name, type, value);
    if (result != 1 || !ClassAttributeStored(name))
        return result;
    if (NamesEqual(name, "Text"))
        Edit()->SetText(m_text);
    else
        ApplySettings();
    return result;
}

void EditBoxElement::ApplySettings()
{
    ui::EditControl* edit = Edit();
    edit->SetFont(m_font.Request());
    edit->SetTextColor(m_textColor);
    edit->SetBackColor(m_backColor);
    edit->SetSpinLimits(m_valueMin, m_valueMax, m_valueIncrement);
}

void EditBoxElement::Create()
{
    if (Control())
        return;
    ui::TWindow* host = PrepareHost();
    if (!host)
        return;
    auto control = std::make_unique<ui::EditControl>();
    control->SetBorder(m_border ? ui::ControlBorder::Sunken : ui::ControlBorder::None);
    control->SetOptions((m_spinButton ? ui::kEditSpin : 0) | (m_password ? ui::kEditPassword : 0)
        | (m_lockedText ? ui::kEditReadOnly : 0));
    if (!control->Create(host, GetName(), ControlRect(), Visibility::Hidden))
        return;
    ui::EditControl& edit = *control;
    AdoptControl(std::move(control));
    m_settingUp = true;
    ApplySettings();
    if (!m_text.empty())
        edit.SetText(m_text);
    ApplyEnabled();
    m_settingUp = false;
    edit.SetListener([this](ui::TControl&, uint16_t code) { ControlNotified(code); });
    ResolveLinks();
}

void EditBoxElement::ControlGoing()
{
    Text();
}

void EditBoxElement::ControlNotified(uint16_t code)
{
    static constexpr struct {
        uint16_t code;
        const char* event;
    } kEvents[] = {
        {ui::notify::kSetFocus, "GotFocus"},
        {ui::notify::kKillFocus, "LostFocus"},
        {ui::notify::kEnterKey, "EnterKeyPressed"},
        {ui::notify::kEscapeKey, "EscapeKeyPressed"},
        {ui::notify::kTabKey, "TabKeyPressed"},
    };
    if (m_settingUp)
        return;
    ControlNotice notice;
    if (code == ui::notify::kChanged) {
        TextChanged();
    } else {
        for (const auto& entry : kEvents) {
            if (entry.code == code)
                RaiseEvent(entry.event);
        }
    }
}

void EditBoxElement::TextChanged()
{
    const std::string text = Text();
    // Only typing here looks the word up: a selection made in the ListBox writes this text
    // while the list has the focus, so the two never echo each other.
    Element* list = Links().Target(kWordSelect);
    if (list && Edit() && Edit()->HasFocus()) {
        const AttributeValue word[] = {AttributeValue::OfString(text)};
        AttributeValue found;
        if (list->CallMethod("FindItem", word, found) == 1)
            list->SetAttribute("SelectedNum", ValueType::Long, AttributeValue::OfLong(found.Long()));
    }
    const AttributeValue args[] = {AttributeValue::OfString(text)};
    RaiseEvent("Changed", args);
}

int EditBoxElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Bool(m_spinButton);
    w.Bool(m_password);
    w.Bool(m_lockedText);
    w.Rgb(m_backColor);
    m_font.Write(w);
    w.Rgb(m_textColor);
    w.Bool(m_border);
    w.Double(m_valueMin);
    w.Double(m_valueMax);
    w.Double(m_valueIncrement);
    w.Int32(Links().Id(0));
    out.WriteChunk(chunk::kDefn, defn);
    MemoryBlock text;
    if (!m_text.empty())
        text.AppendString(m_text, Nul::Include);
    out.WriteChunk(chunk::kText, text);
    return 2;
}

bool EditBoxElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    ChunkReader r(payload);
    if (tag == chunk::kDefn) {
        m_spinButton = r.Bool();
        m_password = r.Bool();
        m_lockedText = r.Bool();
        m_backColor = r.Rgb();
        m_font.Read(r);
        m_textColor = r.Rgb();
        m_border = r.Bool();
        m_valueMin = r.Double();
        m_valueMax = r.Double();
        m_valueIncrement = r.Double();
        Links().LoadId(0, r.Int32());
        return true;
    }
    if (tag == chunk::kText) {
        m_text = r.CString();
        return true;
    }
    return false;
}

}  // namespace tamber
