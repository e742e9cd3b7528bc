#pragma once

#include <string>

#include "elements/ElementFont.h"
#include "iface/Element.h"

namespace tamber {

// The String element: a label with an optional drop shadow.
class StringElement : public Element {
public:
    enum Align : uint16_t { kLeft = 0, kCenter = 1, kRight = 2 };

    explicit StringElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

private:
    friend struct StringAccess;

    std::string m_text = "String";
    ElementFont m_font;
    uint32_t m_textColor;
    uint16_t m_align = kLeft;
    int32_t m_shadowX = 0;
    int32_t m_shadowY = 0;
    uint32_t m_shadowColor;
};

}  // namespace tamber
