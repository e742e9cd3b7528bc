#pragma once

#include <memory>

#include "base/MemoryBlock.h"
#include "elements/PassiveElement.h"
#include "platform/gfx/Dc.h"

namespace tamber {

class DibImage;
class ScreenContext;

// The Picture element: a bitmap (a BMP file image) drawn in its frame. When shown, the image is
// converted once into a device bitmap held by the display object, and the element's block keeps
// only the two bytes "BM"; reading "Bitmap" or saving takes the image back from there.
class PictureElement : public PassiveElement<PictureElement> {
public:
    // Offsets of the width and height in a BMP file image (file header, then the info header).
    static constexpr int32_t kBmpWidthOffset = 18;
    static constexpr int32_t kBmpHeightOffset = 22;
    static constexpr int32_t kPlaceholderSize = 2;

    explicit PictureElement(InterfaceModel* parent = nullptr);
    ~PictureElement() override;

    static std::span<const AttributeAccessor<PictureElement>> Accessors();

    int WriteClassChunks(MemoryBlock& out) const override;
    bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) override;
    // Sizes the element, then converts the image when there is a window to show it in.
    void Create() override;

    // The element's own block: the image, the placeholder while converted, or empty.
    const MemoryBlock& Bitmap() const { return m_bitmap; }
    // The whole image, from the display object while the placeholder stands.
    MemoryBlock FullImage() const;
    bool HoldsPlaceholder() const;
    int32_t BitmapWidth() const;
    int32_t BitmapHeight() const;

    // Draws the converted image at the Dc's origin, clipped to the size; nothing before it is
    // converted or without an image.
    void Paint(gfx::Dc& dc, int32_t width, int32_t height) const;
    // Converts the image into a device bitmap against the screen context; answers 1, or 0
    // when there is no image or it is not a picture (the block is then kept as it is).
    int Convert(ScreenContext& screen);
    // Without a width or height the frame takes the picture's size, centred on the placement point.
    void ApplyDefaultSize();

private:
    struct Display;

    void SetImage(const MemoryBlock& image);
    ScreenContext* Screen();

    MemoryBlock m_bitmap;
    // Used when the host offers no screen context; declared first so that it outlives the image.
    std::unique_ptr<ScreenContext> m_ownScreen;
    std::unique_ptr<Display> m_display;
};

} // namespace tamber
