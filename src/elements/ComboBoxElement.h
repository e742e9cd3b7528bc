#pragma once

#include <string>

#include "elements/ListElementBase.h"

namespace tamber {

// The ComboBox element: a drop-down list, optionally with an edit field whose text the element
// keeps and saves.
class ComboBoxElement : public ListElementBase {
public:
    explicit ComboBoxElement(InterfaceModel* parent = nullptr);
    ~ComboBoxElement() override;

    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;
    void Destroy() override;

    // The field's text, from the control while there is one.
    std::string EditText() const;
    void SetEditText(std::string_view text);

protected:
    int GetOwnAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetOwnAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;

    std::unique_ptr<ui::TControl> MakeControl(bool border) override;
    void ControlInsert(int32_t index, std::string_view item) override;
    void ControlDelete(int32_t index) override;
    void ControlReset() override;
    int32_t ControlSelection() const override;
    void ControlSelect(int32_t index) override;
    std::string ControlItem(int32_t index) const override;
    void ControlCreated() override;
    void LookApplied() override;
    bool ClassNotice(uint16_t code) override;

private:
    bool m_editable = false;
    std::string m_editText;
};

}  // namespace tamber
