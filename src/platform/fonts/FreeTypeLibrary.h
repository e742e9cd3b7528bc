#pragma once

namespace tamber {

// The FreeType library instance, shared by the font source and every face it opened, so that
// faces stay usable after the source is gone.
class FreeTypeLibrary {
public:
    FreeTypeLibrary();
    ~FreeTypeLibrary();
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    void* Handle() const { return m_library; }  // FT_Library, null when FreeType failed to start

private:
    void* m_library = nullptr;
};

}  // namespace tamber
