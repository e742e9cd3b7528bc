// render-transition: reveals a BMP picture with a transition effect on a headless screen and
// writes the screen after its steps as numbered PNG pictures.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/AsciiCase.h"
#include "base/MemoryBlock.h"
#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/ScreenContext.h"
#include "media/Transition.h"
#include "media/TransitionEffect.h"
#include "platform/clock/VirtualClock.h"
#include "platform/display/HeadlessDisplay.h"
#include "tamberlyne/BmpInput.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

constexpr long long kDefaultFrames = 32;
constexpr long long kMaxFrames = 1000;

// An effect by number or by name (in any case).
const tamber::TransitionEffect* FindEffect(const std::string& word) {
    if (std::optional<long long> number = ParseInteger(word)) {
        return *number >= 0 && *number <= INT32_MAX ? tamber::TransitionEffect::Find(static_cast<int32_t>(*number))
                                                      : nullptr;
    }
    for (const tamber::TransitionEffect& effect : tamber::TransitionEffect::All()) {
        if (tamber::EqualFolded(effect.name, word)) {
            return &effect;
        }
    }
    return nullptr;
}

std::string FramePath(const std::filesystem::path& folder, int32_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%03d.png", frame);
    return (folder / name).string();
}

int RunRenderTransition(VerbContext& ctx) {
    if (ctx.positional.size() != 3) {
        return ctx.UsageError("render-transition wants a BMP file, an effect and a folder");
    }
    const std::string& input = ctx.positional[0];
    const tamber::TransitionEffect* effect = FindEffect(ctx.positional[1]);
    if (effect == nullptr) {
        return ctx.UsageError("no transition effect \"" + ctx.positional[1] + "\" (0 to 22, or a name such as \"Iris Out\")");
    }
    const std::filesystem::path folder = ctx.positional[2];
    tamber::ScreenDepth depth;
    if (!ReadDepthOption(ctx, depth)) {
        return ctx.UsageError("--depth wants 8 or 24");
    }
    long long frames = kDefaultFrames;
    if (ctx.Has("--frames")) {
        const std::optional<long long> value = ParseInteger(ctx.Option("--frames"));
        if (!value || *value < 1 || *value > kMaxFrames) {
            return ctx.UsageError("--frames wants a number from 1 to " + std::to_string(kMaxFrames));
        }
        frames = *value;
    }

    tamber::MemoryBlock dib;
    int32_t width = 0;
    int32_t height = 0;
    if (!ReadBmpFile(ctx, input, dib) || !MeasureBmp(ctx, input, dib, depth, width, height)) {
        return kExitFailure;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        return ctx.Fail(folder.string(), ec.message());
    }

    tamber::VirtualClock clock;
    BmpScreen bmp(width, height, depth);
    bmp.context.SetClock(&clock);
    if (!bmp.Load(ctx, input, dib)) {
        return kExitFailure;
    }
    tamber::HeadlessDisplay& display = bmp.display;
    tamber::ScreenContext& context = bmp.context;
    const auto window = bmp.window;
    tamber::DibImage& image = bmp.image;

    // A first reveal off screen counts the steps, so that the frames spread over all of them.
    int32_t steps = 0;
    {
        tamber::DibImage scratch(context);
        scratch.CreateBlank(width, height, 0);
        tamber::DrawingSurface offscreen(context, scratch);
        tamber::Transition counting(offscreen);
        counting.SetWatcher([&steps](const tamber::TransitionStep&) { ++steps; });
        counting.DrawImage(image, tamber::gfx::Point{0, 0}, effect->number, tamber::PictureColors::Image);
    }
    const int32_t stride = static_cast<int32_t>((steps + frames - 1) / frames);

    tamber::DrawingSurface screen(context, window);
    tamber::Transition transition(screen);
    int32_t step = 0;
    int32_t written = 0;
    std::string error;
    transition.SetWatcher([&](const tamber::TransitionStep&) {
        ++step;
        if (!error.empty() || (step % stride != 0 && step != steps)) {
            return;
        }
        display.Invalidate(window, tamber::gfx::Rect::FromSize(0, 0, width, height));
        display.Present();
        if (display.Screenshot(FramePath(folder, written), &error) == 0 && error.empty()) {
            error = "cannot write the picture";
        }
        ++written;
    });
    transition.DrawImage(image, tamber::gfx::Point{0, 0}, effect->number, tamber::PictureColors::Image);
    if (!error.empty()) {
        return ctx.Fail(FramePath(folder, written - 1), error);
    }
    ctx.out << "wrote " << written << " frames of \"" << effect->name << "\" to " << folder.string() << " (" << width
            << "x" << height << ", " << step << " steps, " << static_cast<int>(depth) << "-bit screen)\n";
    return kExitOk;
}

VerbRegistration reg{Verb{
    "render-transition",
    "render-transition FILE.bmp EFFECT FOLDER [--depth 8] [--frames N]",
    "write the frames of a picture's transition effect as PNG pictures",
    "Reveals the picture with a transition effect (a number from 0 to 22, or its name, such as\n"
    "\"Left to Right Wipe\" or dissolve) on a black headless screen of the picture's size, the\n"
    "way the player shows a Graphic's picture, and writes the screen after its steps to\n"
    "FOLDER/frame-000.png, frame-001.png and so on; the last frame is the finished picture.\n"
    "  --frames N   at most N frames, spread evenly over the steps (default 32)\n"
    "  --depth 8    a 256-colour screen; --depth 24 a true-colour one (the default)\n",
    {},
    {"--depth", "--frames"},
    RunRenderTransition,
    96,
}};

}  // namespace

}  // namespace tamberlyne
