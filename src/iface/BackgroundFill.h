#pragma once

#include <cstdint>

#include "base/MemoryBlock.h"
#include "platform/gfx/Image.h"

namespace tamber {

// The card-size image an Interface paints under its elements: a solid colour, a vertical
// gradient, or the background picture stretched over the card or tiled from its top-left
// corner. The image is 32-bit (0x00RRGGBB pixels); the window maps it to the screen.
class BackgroundFill {
public:
    enum Kind : int32_t { kSolid = 0, kGradient = 1, kStretchedPicture = 2, kTiledPicture = 3 };

    struct Settings {
        int32_t kind = kSolid;
        uint32_t backColor = 0x00FFFFFF;      // 0x00BBGGRR
        uint32_t gradientColor = 0x00000000;  // 0x00BBGGRR
        const MemoryBlock* picture = nullptr; // a BMP file image, may be empty
        int32_t width = 0;
        int32_t height = 0;
    };

    // Fills out with the card's background. A picture fill without a readable picture falls back
    // to the back colour. pictureColors, when given, receives the picture's colour table as red,
    // green, blue triples (empty when the picture has none). Answers 1, or 0 when the card size
    // admits no image (out is then empty).
    static int Render(const Settings& settings, gfx::Image& out, MemoryBlock* pictureColors = nullptr);

    // One channel of gradient row y: back + (gradient - back) * y / height, truncated toward 0.
    static uint8_t GradientChannel(int32_t back, int32_t gradient, int32_t y, int32_t height);
    // The colour table of a BMP file image as red, green, blue triples; empty without one.
    static MemoryBlock PictureColors(const MemoryBlock& picture);

private:
    static int DecodePicture(const MemoryBlock& picture, gfx::Image& rgb);
};

}  // namespace tamber
