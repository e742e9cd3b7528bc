#pragma once

#include <string>

#include "elements/ListElementBase.h"
#include "ui/ComboBoxControl.h"

namespace tamber {

// The ComboBox element: a drop-down list, optionally with an edit field whose text the element
// keeps and saves.
class ComboBoxElement : public ListElementOver<ui::ComboBoxControl> {
public:
    explicit ComboBoxElement(InterfaceModel* parent = nullptr);
    ~ComboBoxElement() override;

    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    // The field's text, from the control while there is one.
    std::string EditText() const;
    void SetEditText(std::string_view text);

protected:
    std::unique_ptr<ui::TControl> MakeControl(bool border) override;
    void ControlCreated() override;
    void ControlGoing() override;
    void LookApplied() override;
    bool ClassNotice(uint16_t code) override;

private:
    std::string m_editText;
};

}  // namespace tamber
