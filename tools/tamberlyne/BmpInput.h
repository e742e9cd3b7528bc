#pragma once

#include <string>

#include "base/MemoryBlock.h"
#include "platform/display/Display.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

// Reads a BMP file for the picture verbs. Answers true with its bytes in `dib`, or reports on
// the context's error stream why the file is no picture and answers false.
bool ReadBmpFile(VerbContext& ctx, const std::string& path, tamber::MemoryBlock& dib);

// Builds the picture once on a small screen of the given depth to learn its size. Answers false
// (reported) when it cannot be built or is larger than any screen.
bool MeasureBmp(VerbContext& ctx, const std::string& path, const tamber::MemoryBlock& dib, tamber::ScreenDepth depth,
                int32_t& width, int32_t& height);

}  // namespace tamberlyne
