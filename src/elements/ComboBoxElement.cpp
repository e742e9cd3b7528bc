#include "elements/ComboBoxElement.h"

#include "iface/ChunkTags.h"

namespace tamber {

ComboBoxElement::ComboBoxElement(InterfaceModel* parent) : ListElementBase(parent, ClassId::ComboBox) { }

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
    m_editable = value.Boolean();
    return 1;
}

int ComboBoxElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Bool(m_editable);
    WriteSharedDefn(w);
    out.WriteChunk(chunk::kDefn, defn);
    MemoryBlock text;
    if (!m_editText.empty())
        text.AppendString(m_editText, Nul::Include);
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
