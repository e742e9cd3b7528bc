#pragma once

#include <string>

#include "base/MemoryBlock.h"

namespace tamber {

// Where a canvas finds the picture a BITMAP object names by file name ("PICTURE.BMP", or
// "FILE#NAME": the medium NAME of a database). Answers 1 with a packed DIB, or 0.
class CanvasPictureSource {
public:
    virtual ~CanvasPictureSource() = default;
    virtual int LoadPicture(const std::string& fileName, MemoryBlock& picture) = 0;
};

} // namespace tamber
