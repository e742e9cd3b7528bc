#pragma once

#include <string>

#include "elements/ElementFont.h"
#include "iface/Element.h"

namespace tamber {

// The EditBox element: one line of text entry, optionally with a spin button stepping a number
// between limits, masked as a password or locked, and paired with a ListBox for word lookup.
class EditBoxElement : public Element {
public:
    static constexpr double kDefaultMin = -99999999.0;
    static constexpr double kDefaultMax = 99999999.0;
    static constexpr double kDefaultIncrement = 1.0;

    explicit EditBoxElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    // The whole text; "Text" answers its first 127 characters.
    const std::string& Text() const { return m_text; }

private:
    friend struct EditBoxAccess;

    std::string m_text;
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
};

}  // namespace tamber
