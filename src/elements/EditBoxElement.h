#pragma once

#include <string>

#include "elements/ControlElement.h"
#include "elements/ElementFont.h"

namespace tamber {

namespace ui {
class EditControl;
}

// The EditBox element: one line of text entry, optionally with a spin button stepping a number
// between limits, masked as a password or locked, and paired with a ListBox for word lookup.
// While shown it sits on the framework's edit control, whose text is the live one.
class EditBoxElement : public ControlElement {
public:
    static constexpr double kDefaultMin = -99999999.0;
    static constexpr double kDefaultMax = 99999999.0;
    static constexpr double kDefaultIncrement = 1.0;
    static constexpr CardRect kDefaultSize {-50, -13, 100, 25};

    explicit EditBoxElement(InterfaceModel* parent = nullptr);
    ~EditBoxElement() override;

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    void Create() override;

    // The whole text (the control's while shown); "Text" answers its first 127 characters.
    const std::string& Text() const;
    // The edit control while shown, else nullptr.
    ui::EditControl* Edit() const;

protected:
    void ControlGoing() override;

private:
    friend struct EditBoxAccess;

    void ControlNotified(uint16_t code);
    void TextChanged();
    // Passes the stored settings that need no new control to a shown one.
    void ApplySettings();

    mutable std::string m_text;
    bool m_spinButton = false;
    bool m_password = false;
    bool m_lockedText = false;
    uint32_t m_backColor;
    ElementFont m_font;
    uint32_t m_textColor;
    bool m_border = true;
    double m_valueMin = kDefaultMin;
    double m_valueMax = kDefaultMax;
    double m_valueIncrement = kDefaultIncrement;
    // Notifications while the control is being set up raise nothing.
    bool m_settingUp = false;
};

}  // namespace tamber
