#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamber {

// A 32-bit image as the display and the screenshots hold it: one uint32_t per pixel,
// 0xAARRGGBB, rows top to bottom, no padding between rows.
struct PngImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Reads and writes PNG files through libpng's simplified interface.
// Both answer 1 on success and 0 on failure; error receives libpng's message.
class PngFile {
public:
    // Writes pixels (width × height, 0xAARRGGBB, rows top to bottom). With Alpha::Ignore the
    // file has no alpha channel and the top byte of each pixel is ignored.
    enum class Alpha { Ignore = 0, Keep = 1 };
    static int Write(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
                     Alpha alpha, std::string* error = nullptr);
    static int Write(const std::string& path, const PngImage& image, Alpha alpha,
                     std::string* error = nullptr);

    // Reads any PNG into 0xAARRGGBB pixels.
    static int Read(const std::string& path, PngImage& image, std::string* error = nullptr);
};

}  // namespace tamber
