// render-graphic: draws a Graphic medium of a database, its picture with its object canvas, and
// writes what the screen shows.
#include <string>

#include "db/MediaDatabase.h"
#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/GraphicMedium.h"
#include "media/ScreenContext.h"
#include "platform/FileSystem.h"
#include "platform/MessageSink.h"
#include "platform/PathResolver.h"
#include "platform/PosixSystemServices.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/fonts/FreeTypeFontSource.h"
#include "tamberlyne/DatabaseAccess.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

constexpr uint32_t kSourceCopy = 0xCC0020;

const char* StatusText(tamber::GraphicMedium::Status status)
{
    using Status = tamber::GraphicMedium::Status;
    switch (status) {
    case Status::Ok:
        return "ok";
    case Status::NoMedium:
        return "no such medium";
    case Status::NotGraphic:
        return "not a Graphic medium";
    case Status::FileMissing:
        return "its picture file cannot be read";
    case Status::NoPicture:
        return "it has no picture";
    case Status::CanvasFailed:
        return "its canvas text cannot be read";
    }
    return "unknown";
}

int RunRenderGraphic(VerbContext& ctx)
{
    if (ctx.positional.size() != 3)
        return ctx.UsageError("render-graphic wants a database, a medium and a PNG file");
    const std::string& path = ctx.positional[0];
    const std::string& name = ctx.positional[1];
    const std::string& output = ctx.positional[2];
    tamber::ScreenDepth depth = tamber::ScreenDepth::Direct24;
    if (ctx.Has("--depth")) {
        const std::string value = ctx.Option("--depth");
        if (value == "8")
            depth = tamber::ScreenDepth::Palette8;
        else if (value != "24")
            return ctx.UsageError("--depth wants 8 or 24");
    }

    tamber::PosixSystemServices system(ctx.global.dataDir);
    std::vector<tamber::DriveMapping> mappings;
    for (const std::string& map : ctx.global.driveMaps) {
        tamber::DriveMapping mapping;
        if (!tamber::PathResolver::ParseMapping(map, mapping))
            return ctx.UsageError("bad --drive " + map + " (expected LETTER=FOLDER)");
        mappings.push_back(mapping);
    }
    system.SetDriveMappings(mappings);
    tamber::CapturingMessageSink messages;
    tamber::MediaDatabase db(tamber::FileSystem::Native(), &system, &messages);
    if (!OpenDatabase(ctx, path, DatabaseAccess::ReadOnly, db.Records()))
        return kExitFailure;
    if (!db.OpenOverRecords())
        return ctx.Fail(path, "cannot open as a media database");

    // MEDIUM is a name or "#id".
    tamber::EntryInfo info;
    if (name.size() > 1 && name[0] == '#') {
        const auto id = ParseInteger(name.substr(1));
        if (!id || *id < 0 || *id > UINT32_MAX)
            return ctx.UsageError("bad media id " + name);
        info.id = static_cast<uint32_t>(*id);
    } else if (!db.FindEntryByName(name, "", &info)) {
        return ctx.Fail(path, "no medium named \"" + name + "\"");
    }

    tamber::GraphicMedium medium(
        &db, tamber::GraphicFiles { &tamber::FileSystem::Native(), &system, db.DatabaseFolder() }, &messages);
    const tamber::GraphicMedium::Status status = medium.Load(info.id);
    if (status != tamber::GraphicMedium::Status::Ok && status != tamber::GraphicMedium::Status::CanvasFailed)
        return ctx.Fail(name, StatusText(status));
    if (status == tamber::GraphicMedium::Status::CanvasFailed)
        ctx.err << "tamberlyne: " << name << ": canvas not drawn: " << medium.GetCanvas().Error() << "\n";

    // Measure the picture, then draw it on a screen of its size.
    int32_t width = 0;
    int32_t height = 0;
    {
        tamber::HeadlessDisplay probe(16, 16, depth);
        tamber::ScreenContext context(probe);
        tamber::DibImage image(context);
        if (image.SetFromPackedDib(medium.Picture(), tamber::ImagePalette::Yes, tamber::OfferConversion::No)
            == 0)
            return ctx.Fail(name, "damaged or unsupported picture");
        width = image.Width();
        height = image.Height();
    }
    if (width < 1 || height < 1 || width > 8192 || height > 8192)
        return ctx.Fail(name, "the picture is larger than any screen");
    tamber::HeadlessDisplay display(width, height, depth);
    tamber::ScreenContext context(display);
    const auto window = display.CreateSurface(tamber::gfx::Rect::FromSize(0, 0, width, height));
    display.ShowSurface(window, tamber::Visibility::Shown);
    context.SetMainWindow(window);
    tamber::FreeTypeFontSource fonts;
    tamber::DibImage image(context);
    if (medium.Compose(context, image, &fonts, tamber::OfferConversion::Yes) == 0)
        return ctx.Fail(name, "cannot be drawn");
    if (image.OwnPalette() != nullptr)
        image.OwnPalette()->MakeCurrent();
    {
        tamber::DrawingSurface screen(context, window);
        tamber::DrawingSurface picture(context, image);
        if (screen.Dc() == nullptr || picture.Dc() == nullptr)
            return ctx.Fail(name, "cannot be drawn");
        screen.Dc()->BitBlt(0, 0, width, height, picture.Dc(), 0, 0, kSourceCopy);
    }
    display.Invalidate(window, tamber::gfx::Rect::FromSize(0, 0, width, height));
    display.Present();
    std::string error;
    if (display.Screenshot(output, &error) == 0)
        return ctx.Fail(output, error.empty() ? "cannot write the picture" : error);
    ctx.out << "wrote " << output << " (" << width << "x" << height << ", "
            << medium.GetCanvas().Live().size() << " canvas objects, " << medium.HotLinks().Count()
            << " hot links)\n";
    return kExitOk;
}

VerbRegistration reg { Verb {
    "render-graphic",
    "render-graphic DB MEDIUM OUT.png [--depth 8]",
    "draw a Graphic medium with its object canvas and write it as the screen shows it",
    "MEDIUM is a name or #id. Reads the medium as the player does: the picture (an internal part\n"
    "or an outside .BMP file), the hot-link table and, when the medium has one, the object canvas\n"
    "with its bitmaps; draws the canvas over the picture on a headless screen of the picture's\n"
    "size and writes that screen as a PNG picture. A canvas that cannot be read is reported on\n"
    "stderr and the picture is written alone.\n"
    "  --depth 8    a 256-colour screen\n"
    "  --depth 24   a true-colour screen (the default)\n",
    {},
    { "--depth" },
    RunRenderGraphic,
    97,
} };

} // namespace

} // namespace tamberlyne
