#pragma once

#include "elements/ListElementBase.h"

namespace tamber {

// The ListBox element: a list of items, single or multiple selection, optionally paired with
// an EditBox for word lookup ("EditBox : Word Select").
class ListBoxElement : public ListElementBase {
public:
    explicit ListBoxElement(InterfaceModel* parent = nullptr);

    int CallMethod(std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

protected:
    int GetOwnAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetOwnAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;

private:
    bool m_multiSelect = false;
};

}  // namespace tamber
