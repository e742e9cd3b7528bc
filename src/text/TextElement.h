#pragma once

#include <cstdint>
#include <string>

#include "base/MemoryBlock.h"
#include "iface/Element.h"

namespace tamber {

class ElementFactory;

// The Text element: shows a rich-text document, paged or scrolled, with linked page Buttons
// and a ScrollBar. Its stored form ("Defn", then "BPic" when a back picture is set) is
// documented in docs/element-chunks.md. The view state ("NumPages", "ScrollMax", the
// selection) belongs to the text view and reads as empty until one exists.
class TextElement : public Element {
public:
    enum Mode : uint16_t { kEdit = 0, kSelect = 1, kHotlink = 2, kHotword = 3, kModeCount };
    static constexpr int32_t kDefaultZoom = 100;

    explicit TextElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

private:
    friend struct TextAccess;

    MemoryBlock m_backBitmap;
    int32_t m_backBitmapX = 0;
    int32_t m_backBitmapY = 0;
    uint32_t m_backColor = 0x00FFFFFF;
    bool m_border = true;
    int32_t m_columnSpacing = 0;
    bool m_hotLinkCursor = true;
    int32_t m_layer = 0;
    uint16_t m_mode = kHotlink;
    int32_t m_numColumns = 0;
    bool m_scrollBars = true;
    int32_t m_scrollWidth = 0;
    bool m_transparent = false;
    int32_t m_zoomFactor = kDefaultZoom;
    bool m_wrap = false;
    int32_t m_wrapStandOff = 0;
    // View state, kept until the view takes it over.
    int32_t m_pageNum = 1;
    int32_t m_scrollPosition = 0;
    int32_t m_selectStart = 0;
    int32_t m_selectEnd = 0;
};

// Registers the Text element's constructor with the factory ("Text", "GT").
void RegisterTextElement(ElementFactory& factory);

}  // namespace tamber
