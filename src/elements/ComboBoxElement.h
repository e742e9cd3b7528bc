#pragma once

#include <string>

#include "elements/ListElementBase.h"

namespace tamber {

// The ComboBox element: a drop-down list, optionally with an edit field.
class ComboBoxElement : public ListElementBase {
public:
    explicit ComboBoxElement(InterfaceModel* parent = nullptr);

    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    const std::string& EditText() const { return m_editText; }
    void SetEditText(std::string_view text) { m_editText = std::string(text); }

protected:
    int GetOwnAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetOwnAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;

private:
    bool m_editable = false;
    std::string m_editText;
};

}  // namespace tamber
