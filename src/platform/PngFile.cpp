#include "platform/PngFile.h"

#include <png.h>

#include <cstring>
#include <limits>

namespace tamber {

namespace {

// The largest image we read: keeps a corrupt header from asking for gigabytes.
constexpr int64_t kMaxPixels = int64_t{1} << 28;

void SetError(std::string* error, const png_image& image, const char* fallback) {
    if (error == nullptr) {
        return;
    }
    *error = (image.message[0] != '\0') ? image.message : fallback;
}

}  // namespace

int PngFile::Write(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
                   Alpha alpha, std::string* error) {
    if (pixels == nullptr || width <= 0 || height <= 0) {
        if (error != nullptr) {
            *error = "empty image";
        }
        return 0;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    // 0xAARRGGBB in a little-endian uint32_t is the byte order B, G, R, A.
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint8_t> opaque;
    const void* source = pixels;
    if (alpha == Alpha::Ignore) {
        // Write BGR: drop the alpha byte so the file is a plain RGB image.
        image.format = PNG_FORMAT_BGR;
        opaque.resize(static_cast<size_t>(width) * height * 3);
        uint8_t* out = opaque.data();
        for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
            const uint32_t p = pixels[i];
            out[i * 3 + 0] = static_cast<uint8_t>(p);
            out[i * 3 + 1] = static_cast<uint8_t>(p >> 8);
            out[i * 3 + 2] = static_cast<uint8_t>(p >> 16);
        }
        source = out;
    }
    if (png_image_write_to_file(&image, path.c_str(), 0, source, 0, nullptr) == 0) {
        SetError(error, image, "cannot write the PNG file");
        png_image_free(&image);
        return 0;
    }
    return 1;
}

int PngFile::Write(const std::string& path, const PngImage& image, Alpha alpha, std::string* error) {
    if (image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        if (error != nullptr) {
            *error = "pixel count does not match the image size";
        }
        return 0;
    }
    return Write(path, image.pixels.data(), image.width, image.height, alpha, error);
}

int PngFile::Read(const std::string& path, PngImage& result, std::string* error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        SetError(error, image, "cannot read the PNG file");
        png_image_free(&image);
        return 0;
    }
    const int64_t count = int64_t{image.width} * image.height;
    if (count <= 0 || count > kMaxPixels || image.width > std::numeric_limits<int32_t>::max()) {
        if (error != nullptr) {
            *error = "image too large";
        }
        png_image_free(&image);
        return 0;
    }
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint32_t> pixels(static_cast<size_t>(count));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        SetError(error, image, "corrupt PNG file");
        png_image_free(&image);
        return 0;
    }
    result.width = static_cast<int32_t>(image.width);
    result.height = static_cast<int32_t>(image.height);
    result.pixels = std::move(pixels);
    return 1;
}

}  // namespace tamber
