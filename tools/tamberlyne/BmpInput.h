#pragma once

#include <string>

#include "base/MemoryBlock.h"
#include "media/DibImage.h"
#include "media/ScreenContext.h"
#include "platform/display/HeadlessDisplay.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

// Reads a BMP file for the picture verbs. Answers true with its bytes in `dib`, or reports on
// the context's error stream why the file is no picture and answers false.
bool ReadBmpFile(VerbContext& ctx, const std::string& path, tamber::MemoryBlock& dib);

// Builds the picture once on a small screen of the given depth to learn its size. Answers false
// (reported) when it cannot be built or is larger than any screen.
bool MeasureBmp(VerbContext& ctx, const std::string& path, const tamber::MemoryBlock& dib, tamber::ScreenDepth depth,
                int32_t& width, int32_t& height);

// Reads "--depth 8" or "--depth 24" (the default) into `depth`; answers false on any other value.
bool ReadDepthOption(VerbContext& ctx, tamber::ScreenDepth& depth);

// A headless screen the size of a picture, with one shown window covering it.
class BmpScreen {
public:
    BmpScreen(int32_t width, int32_t height, tamber::ScreenDepth depth);

    // Builds the picture on this screen and makes its own palette current; false (reported)
    // when the picture cannot be built. On an 8-bit screen a true-colour picture is reduced to
    // its most popular colours.
    bool Load(VerbContext& ctx, const std::string& path, const tamber::MemoryBlock& dib);

    // Copies the image to the screen's top-left corner and writes the screen as a PNG picture;
    // false (reported against `what` or `output`) when it cannot.
    bool WriteShown(VerbContext& ctx, const std::string& what, const std::string& output);

    tamber::HeadlessDisplay display;
    tamber::ScreenContext context;
    tamber::Display::SurfaceId window;
    tamber::DibImage image;
};

}  // namespace tamberlyne
