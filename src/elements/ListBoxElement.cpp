#include "elements/ListBoxElement.h"

#include "iface/ChunkTags.h"

namespace tamber {

ListBoxElement::ListBoxElement(InterfaceModel* parent) : ListElementBase(parent, ClassId::ListBox)
{
    SetLinkNames(ElementLinks({"EditBox : Word Select"}, ElementLinks::Exclusive::No));
}

int ListBoxElement::GetOwnAttribute(std::string_view name, ValueType type, AttributeValue& value)
{
    if (!NamesEqual(name, "MultiSelect"))
        return kNotInTable;
    if (type != ValueType::Boolean)
        return 0;
    value.SetBoolean(m_multiSelect);
    return 1;
}

int ListBoxElement::SetOwnAttribute(std::string_view name, ValueType type, const AttributeValue& value)
{
    if (!NamesEqual(name, "MultiSelect"))
        return kNotInTable;
    if (type != ValueType::Boolean)
        return 0;
    m_multiSelect = value.Boolean();
    return 1;
}

int ListBoxElement::CallMethod(std::string_view name, std::span<const AttributeValue> params,
    AttributeValue& result)
{
    std::string item = params.empty() ? std::string() : params[0].String();
    if (NamesEqual(name, "FindItem")) {
        result.SetLong(FindPrefix(item));
        return 1;
    }
    if (NamesEqual(name, "InsertSortedItem")) {
        // Before the first item that sorts after it, ASCII case ignored.
        auto upper = [](std::string text) {
            for (char& c : text)
                c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            return text;
        };
        const std::string key = upper(item);
        int32_t index = 0;
        while (index < static_cast<int32_t>(Items().size()) && upper(Items()[index]) <= key)
            ++index;
        InsertItem(index, item);
        return 1;
    }
    // FIXME: "AppendIndexes" reads the index list of a database's full-text index; it is
    // answered once the element reaches the database layer's index reader.
    return ListElementBase::CallMethod(name, params, result);
}

int ListBoxElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    w.Bool(m_multiSelect);
    WriteSharedDefn(w);
    w.Int32(Links().Id(0));
    out.WriteChunk(chunk::kDefn, defn);
    out.WriteChunk(chunk::kEntr, EntriesBlock());
    return 2;
}

bool ListBoxElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag == chunk::kDefn) {
        ChunkReader r(payload);
        m_multiSelect = r.Bool();
        ReadSharedDefn(r);
        Links().LoadId(0, r.Int32());
        return true;
    }
    if (tag == chunk::kEntr) {
        SetEntries(payload);
        return true;
    }
    return false;
}

}  // namespace tamber
