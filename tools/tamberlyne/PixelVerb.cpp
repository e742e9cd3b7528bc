// pixel: the colour of screenshot pixels, for tests that check what the player showed.
#include <charconv>
#include <cstdio>

#include "platform/PngFile.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

bool ParseCoordinate(const std::string& text, int32_t& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

int RunPixel(VerbContext& ctx)
{
    if (ctx.positional.size() < 3 || ctx.positional.size() % 2 == 0)
        return ctx.UsageError("expected a PNG file and one or more X Y pairs");
    tamber::PngImage image;
    std::string error;
    if (!tamber::PngFile::Read(ctx.positional[0], image, &error))
        return ctx.Fail(ctx.positional[0], error.empty() ? "not a readable PNG picture" : error);
    for (size_t i = 1; i + 1 < ctx.positional.size(); i += 2) {
        int32_t x = 0, y = 0;
        if (!ParseCoordinate(ctx.positional[i], x) || !ParseCoordinate(ctx.positional[i + 1], y))
            return ctx.UsageError("coordinates are whole numbers");
        if (x < 0 || y < 0 || x >= image.width || y >= image.height)
            return ctx.Fail(ctx.positional[0], "no pixel at " + std::to_string(x) + " " + std::to_string(y) +
                                                   " in a " + std::to_string(image.width) + "x" +
                                                   std::to_string(image.height) + " picture");
        char text[8];
        std::snprintf(text, sizeof text, "#%06X", image.At(x, y) & 0xFFFFFFu);
        ctx.out << text << "\n";
    }
    return kExitOk;
}

VerbRegistration g_pixel{Verb{
    "pixel", "pixel FILE.png X Y [X Y]...", "print the colour of pixels of a PNG picture",
    "Prints one line \"#RRGGBB\" per X Y pair: the colour of that pixel of the picture, counted\n"
    "from the top left corner. End-to-end tests use it on the player's screenshots.\n",
    {}, {}, RunPixel, 96}};

}  // namespace

}  // namespace tamberlyne
