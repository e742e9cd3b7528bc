// gallery: shows every standard control and frame style of the window framework.
#include <iostream>
#include <memory>

#include "platform/clock/RealClock.h"
#include "platform/clock/VirtualClock.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/display/SdlDisplay.h"
#include "platform/fonts/FreeTypeFontSource.h"
#include "tamberlyne/Verb.h"
#include "ui/Application.h"
#include "ui/Gallery.h"

namespace tamberlyne {

namespace {

struct ScreenSize {
    int32_t width = 1024;
    int32_t height = 768;
    tamber::ScreenDepth depth = tamber::ScreenDepth::Direct24;
};

// "WxH" or "WxHxD" with D 24 or 8.
bool ParseScreen(const std::string& text, ScreenSize& size)
{
    std::vector<long long> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t x = text.find('x', start);
        auto value = ParseInteger(text.substr(start, x == std::string::npos ? std::string::npos : x - start));
        if (!value)
            return false;
        parts.push_back(*value);
        if (x == std::string::npos)
            break;
        start = x + 1;
    }
    if (parts.size() < 2 || parts.size() > 3 || parts[0] < 320 || parts[1] < 240 || parts[0] > tamber::Display::kMaxSide
        || parts[1] > tamber::Display::kMaxSide)
        return false;
    size.width = static_cast<int32_t>(parts[0]);
    size.height = static_cast<int32_t>(parts[1]);
    if (parts.size() == 3) {
        if (parts[2] != 8 && parts[2] != 24)
            return false;
        size.depth = parts[2] == 8 ? tamber::ScreenDepth::Palette8 : tamber::ScreenDepth::Direct24;
    }
    return true;
}

int RunGallery(VerbContext& ctx)
{
    if (!ctx.positional.empty())
        return ctx.UsageError("gallery takes no file names");
    ScreenSize size;
    if (ctx.Has("--screen") && !ParseScreen(ctx.Option("--screen"), size))
        return ctx.UsageError("--screen wants WxH or WxHxD (D is 24 or 8), at least 320x240");
    tamber::FreeTypeFontSource fonts;
    bool notices = ctx.Has("--notices");
    tamber::ui::Gallery gallery([&](const std::string& line) {
        if (notices)
            ctx.out << line << std::endl;
    });

    if (ctx.Has("--screenshot")) {
        std::string path = ctx.Option("--screenshot");
        if (path.empty())
            return ctx.UsageError("--screenshot wants a file name");
        tamber::HeadlessDisplay display(size.width, size.height, size.depth);
        tamber::VirtualClock clock;
        tamber::ui::Application app(display, clock, &fonts);
        gallery.Build();
        app.ProcessPending();
        gallery.ShowOkTip();
        std::string error;
        if (!app.Screenshot(path, &error))
            return ctx.Fail(path, error.empty() ? "cannot write the picture" : error);
        ctx.out << "wrote " << path << " (" << size.width << "x" << size.height << "x" << static_cast<int>(size.depth) << ")\n";
        return kExitOk;
    }

    tamber::SdlDisplayOptions options;
    options.title = "Tamber gallery";
    std::string error;
    auto display = tamber::SdlDisplay::Create(size.width, size.height, size.depth, options, &error);
    if (!display)
        return ctx.Fail("display", error.empty() ? "no display available (try --screenshot)" : error);
    tamber::RealClock clock;
    tamber::ui::Application app(*display, clock, &fonts);
    gallery.Build();
    if (notices) {
        tamber::gfx::Rect ok = gallery.OkButton().WindowRect();
        ctx.out << "OK button at " << ok.left + ok.Width() / 2 << " " << ok.top + ok.Height() / 2 << std::endl;
    }
    app.Run();
    return kExitOk;
}

VerbRegistration reg { Verb {
    "gallery",
    "gallery [--screen WxH[xD]] [--screenshot OUT.png] [--notices]",
    "show every standard control and window frame style",
    "Opens a window with every standard control of the window framework (push, radio, check,\n"
    "three-state and bitmap buttons, list and combo boxes, edit boxes with password, read-only\n"
    "and spin variants, scroll bars) and a window for each frame style 0-11.\n"
    "  --screen WxH[xD]     the screen: width, height and depth 24 or 8 (default 1024x768x24)\n"
    "  --screenshot FILE    draw headless, write the screen as a PNG picture and exit\n"
    "  --notices            print each control notification as it happens\n",
    { "--notices" },
    { "--screen", "--screenshot" },
    RunGallery,
    90,
} };

} // namespace

} // namespace tamberlyne
