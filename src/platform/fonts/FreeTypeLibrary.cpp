#include "platform/fonts/FreeTypeLibrary.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace tamber {

FreeTypeLibrary::FreeTypeLibrary() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) {
        m_library = library;
    }
}

FreeTypeLibrary::~FreeTypeLibrary() {
    if (m_library != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(m_library));
    }
}

}  // namespace tamber
