#include "media/SharedPicturePalette.h"

#include "media/ScreenContext.h"

namespace tamber {

namespace {

constexpr uint8_t kBasic[][3] = {
    {255, 255, 255}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {128, 0, 0}, {255, 255, 0}, {128, 128, 0}, {0, 255, 0},
    {0, 128, 0},     {0, 255, 255},   {0, 128, 128},   {0, 0, 255}, {0, 0, 128}, {255, 0, 255}, {128, 0, 128},
};
constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 42;
constexpr int kGreyStep = 36;

}  // namespace

std::vector<gfx::PaletteEntry> SharedPicturePalette::Entries() {
    std::vector<gfx::PaletteEntry> entries;
    entries.reserve(kSize);
    auto add = [&](int r, int g, int b) {
        entries.push_back({static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 0});
    };
    for (const auto& c : kBasic) {
        add(c[0], c[1], c[2]);
    }
    for (int b = 0; b < kCubeLevels; ++b) {
        for (int g = 0; g < kCubeLevels; ++g) {
            for (int r = 0; r < kCubeLevels; ++r) {
                add(r * kCubeStep, g * kCubeStep, b * kCubeStep);
            }
        }
    }
    // Grey ramps: 36..216 twice, 36..252, 36..216.
    for (int ramp = 0; ramp < 2; ++ramp) {
        for (int v = kGreyStep; v <= 216; v += kGreyStep) {
            add(v, v, v);
        }
    }
    for (int v = kGreyStep; v <= 252; v += kGreyStep) {
        add(v, v, v);
    }
    for (int v = kGreyStep; v <= 216; v += kGreyStep) {
        add(v, v, v);
    }
    return entries;
}

bool SharedPicturePalette::AddUser(ScreenContext& context) {
    if (context.SharedPictureUsers() == 0 && context.BitsPerPixel() <= 8 && context.SharedPicturePalette() == nullptr) {
        context.SharedPicturePalette() = std::make_unique<gfx::Palette>(Entries());
    }
    ++context.SharedPictureUsers();
    return context.SharedPicturePalette() != nullptr;
}

void SharedPicturePalette::RemoveUser(ScreenContext& context) {
    if (context.SharedPictureUsers() > 0 && --context.SharedPictureUsers() == 0) {
        context.SharedPicturePalette().reset();
    }
}

const gfx::Palette* SharedPicturePalette::Get(ScreenContext& context) {
    return context.SharedPicturePalette().get();
}

}  // namespace tamber
