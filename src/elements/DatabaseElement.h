#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "elements/ElementFont.h"
#include "iface/Element.h"

namespace tamber {

// The search-results element: a list of media found in a database, each hit a medium with a
// count, ordered by count. Its stored form is documented in docs/element-chunks.md.
class DatabaseElement : public Element {
public:
    enum Style : uint16_t { kVerticalList = 0, kGridList = 1 };
    static constexpr int32_t kDefaultGridWidth = 100;
    static constexpr int32_t kDefaultGridHeight = 50;

    struct Hit {
        int32_t count = 0;
        int32_t mediaId = -1;
        bool operator==(const Hit&) const = default;
    };

    explicit DatabaseElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int CallMethod(std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    const std::vector<Hit>& Hits() const { return m_hits; }
    // Inserts each engine hit in front of the first kept hit with a smaller count, so the list
    // stays ordered by count and equal counts keep the engine's order.
    void AddRankedHits(const std::vector<Hit>& engineHits);
    void ClearHits();

private:
    friend struct DatabaseAccess;

    std::string SelectedHitText() const;

    uint16_t m_style = kVerticalList;
    bool m_border = true;
    std::string m_databaseFile;
    bool m_displayNumHits = false;
    int32_t m_gridWidth = kDefaultGridWidth;
    int32_t m_gridHeight = kDefaultGridHeight;
    ElementFont m_font;
    uint32_t m_textColor;
    std::vector<Hit> m_hits;
    int32_t m_selected = -1;
};

}  // namespace tamber
