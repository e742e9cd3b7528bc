// compare: whether two PNG pictures show the same colours, for regression screenshots.
#include <algorithm>

#include "platform/PngFile.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFFu;
// The --diff picture: differing pixels in red over a faded copy of the first picture.
constexpr uint32_t kDiffMark = 0xFFFF0000u;
constexpr uint32_t kOpaque = 0xFF000000u;

struct Area {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

uint32_t Faded(uint32_t pixel)
{
    uint32_t out = kOpaque;
    for (int shift : {0, 8, 16}) {
        uint32_t channel = (pixel >> shift) & 0xFF;
        out |= ((channel + 3 * 0xFF) / 4) << shift;
    }
    return out;
}

int RunCompare(VerbContext& ctx)
{
    if (ctx.positional.size() != 2 && ctx.positional.size() != 6)
        return ctx.UsageError("expected two PNG files, optionally followed by X Y WIDTH HEIGHT");
    tamber::PngImage images[2];
    for (int i = 0; i < 2; ++i) {
        std::string error;
        if (!tamber::PngFile::Read(ctx.positional[i], images[i], &error))
            return ctx.Fail(ctx.positional[i], error.empty() ? "not a readable PNG picture" : error);
    }
    const tamber::PngImage& a = images[0];
    const tamber::PngImage& b = images[1];
    if (a.width != b.width || a.height != b.height)
        return ctx.Fail(ctx.positional[1], "is " + std::to_string(b.width) + "x" + std::to_string(b.height) + ", not "
                + std::to_string(a.width) + "x" + std::to_string(a.height));
    Area area {0, 0, a.width, a.height};
    if (ctx.positional.size() == 6) {
        long long v[4];
        for (int i = 0; i < 4; ++i) {
            std::optional<long long> n = ParseInteger(ctx.positional[2 + i]);
            if (!n || *n < 0 || (i >= 2 && *n == 0))
                return ctx.UsageError("X Y WIDTH HEIGHT are whole numbers, the size above 0");
            v[i] = *n;
        }
        if (v[0] + v[2] > a.width || v[1] + v[3] > a.height)
            return ctx.Fail(ctx.positional[0], "the area leaves the " + std::to_string(a.width) + "x"
                    + std::to_string(a.height) + " picture");
        area = {static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1]), static_cast<int32_t>(v[0] + v[2]),
            static_cast<int32_t>(v[1] + v[3])};
    }

    tamber::PngImage diff = a;
    long long differing = 0;
    for (int32_t y = 0; y < a.height; ++y) {
        for (int32_t x = 0; x < a.width; ++x) {
            size_t at = static_cast<size_t>(y) * a.width + x;
            bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
            bool differs = inside && ((a.pixels[at] ^ b.pixels[at]) & kColourBits) != 0;
            differing += differs;
            diff.pixels[at] = differs ? kDiffMark : Faded(a.pixels[at]);
        }
    }
    if (ctx.Has("--diff")) {
        std::string error;
        if (!tamber::PngFile::Write(ctx.Option("--diff"), diff, tamber::PngFile::Alpha::Ignore, &error))
            return ctx.Fail(ctx.Option("--diff"), error.empty() ? "cannot be written" : error);
    }
    if (differing == 0) {
        ctx.out << "same\n";
        return kExitOk;
    }
    ctx.out << differing << " pixels differ\n";
    return kExitFailure;
}

VerbRegistration g_compare{Verb{
    "compare", "compare A.png B.png [X Y WIDTH HEIGHT] [--diff OUT.png]",
    "tell whether two PNG pictures show the same colours",
    "Compares the colours of two pictures of the same size, pixel by pixel, in the whole picture\n"
    "or in the given area. Prints \"same\" and exits with 0, or prints how many pixels differ and\n"
    "exits with 1. --diff writes a copy of A, faded, with the differing pixels in red.\n"
    "End-to-end tests compare the player's screenshots with kept regression pictures.\n",
    {}, {"--diff"}, RunCompare, 97}};

}  // namespace

}  // namespace tamberlyne
