#pragma once

#include <memory>
#include <string>

#include "elements/ElementFont.h"
#include "elements/PassiveElement.h"
#include "platform/gfx/Dc.h"

namespace tamber {

// The String element: a label with an optional drop shadow, word-wrapped in its frame.
class StringElement : public PassiveElement<StringElement> {
public:
    enum Align : uint16_t { kLeft = 0, kCenter = 1, kRight = 2 };
    static constexpr int32_t kMaxDefaultWidth = 500;

    explicit StringElement(InterfaceModel* parent = nullptr);

    static std::span<const AttributeAccessor<StringElement>> Accessors();

    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    // Draws the text (its shadow first) in a frame of the given size at the Dc's origin; the
    // background is left as it is.
    void Paint(gfx::Dc& dc, int32_t width, int32_t height) const;
    // Without a width or height the frame takes the text's size (at most 500 wide) and is
    // centred on the point where it was placed.
    void ApplyDefaultSize();
    const std::string& Text() const { return m_text; }

private:
    std::string m_text = "String";
    ElementFont m_font;
    uint32_t m_textColor;
    uint16_t m_align = kLeft;
    int32_t m_shadowX = 0;
    int32_t m_shadowY = 0;
    uint32_t m_shadowColor;
};

} // namespace tamber
