#pragma once

#include <memory>
#include <string>
#include <vector>

#include "elements/ElementFont.h"
#include "iface/Element.h"

namespace tamber {

namespace ui {
class EditControl;
class TControl;
}

// The EditBox element: one line of text entry, optionally with a spin button stepping a number
// between limits, masked as a password or locked, and paired with a ListBox for word lookup.
// While shown it sits on the framework's edit control, whose text is the live one.
class EditBoxElement : public Element {
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
    void Show() override;
    void Hide() override;
    void Destroy() override;
    intptr_t WindowHandle() const override;

    // The whole text (the control's while shown); "Text" answers its first 127 characters.
    const std::string& Text() const;
    // The edit control while shown, else nullptr.
    ui::EditControl* Control() const { return m_control.get(); }
    // Without a width or height the frame becomes 100 x 25, centred on the placement point.
    void ApplyDefaultSize();

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
    std::unique_ptr<ui::EditControl> m_control;
    // Notifications while the control is being set up raise nothing.
    bool m_settingUp = false;
    // A control destroyed by a handler of its own notification (through "Reconstruct" or an
    // AF_RECONSTRUCT attribute) is still on the call stack: it is kept until a later Create.
    int32_t m_notifying = 0;
    std::vector<std::unique_ptr<ui::EditControl>> m_retired;
};

}  // namespace tamber
