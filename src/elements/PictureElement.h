#pragma once

#include "base/MemoryBlock.h"
#include "iface/Element.h"

namespace tamber {

// The Picture element: a bitmap (a BMP file image) drawn in its frame.
class PictureElement : public Element {
public:
    // Offsets of the width and height in a BMP file image (file header, then the info header).
    static constexpr int32_t kBmpWidthOffset = 18;
    static constexpr int32_t kBmpHeightOffset = 22;

    explicit PictureElement(InterfaceModel* parent = nullptr);

    int GetAttribute(std::string_view name, ValueType type, AttributeValue& value) override;
    int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value) override;
    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;

    const MemoryBlock& Bitmap() const { return m_bitmap; }
    int32_t BitmapWidth() const;
    int32_t BitmapHeight() const;

private:
    friend struct PictureAccess;

    MemoryBlock m_bitmap;
};

}  // namespace tamber
