// render-graphic: draws a Graphic medium of a database, its picture with its object canvas, and
// writes what the screen shows.
#include <string>

#include <vector>

#include "media/GraphicMedium.h"
#include "platform/FileSystem.h"
#include "platform/fonts/FreeTypeFontSource.h"
#include "tamberlyne/BmpInput.h"
#include "tamberlyne/MediaAccess.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

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
    tamber::ScreenDepth depth;
    if (!ReadDepthOption(ctx, depth))
        return ctx.UsageError("--depth wants 8 or 24");
    ReadOnlyDatabase open(ctx);
    tamber::MediaEntry entry;
    if (int status = open.OpenWithMedium(ctx, 3, "render-graphic wants a database, a medium and a PNG file", entry))
        return status;
    const std::string& name = ctx.positional[1];
    const std::string& output = ctx.positional[2];
    std::vector<tamber::DriveMapping> mappings;
    if (int status = ReadDriveMappings(ctx, mappings))
        return status;
    open.system.SetDriveMappings(mappings);
    tamber::MediaDatabase& db = open.db;

    tamber::GraphicMedium medium(
        &db, tamber::GraphicFiles { &tamber::FileSystem::Native(), &open.system, db.DatabaseFolder() }, &open.messages);
    const tamber::GraphicMedium::Status status = medium.Load(entry.id);
    if (status != tamber::GraphicMedium::Status::Ok && status != tamber::GraphicMedium::Status::CanvasFailed)
        return ctx.Fail(name, StatusText(status));
    if (status == tamber::GraphicMedium::Status::CanvasFailed)
        ctx.err << "tamberlyne: " << name << ": canvas not drawn: " << medium.GetCanvas().Error() << "\n";

    // Measure the picture, then draw it on a screen of its size.
    int32_t width = 0;
    int32_t height = 0;
    if (!MeasureBmp(ctx, name, medium.Picture(), depth, width, height))
        return kExitFailure;
    BmpScreen screen(width, height, depth);
    tamber::FreeTypeFontSource fonts;
    if (medium.Compose(screen.context, screen.image, &fonts, tamber::OfferConversion::Yes) == 0)
        return ctx.Fail(name, "cannot be drawn");
    if (screen.image.OwnPalette() != nullptr)
        screen.image.OwnPalette()->MakeCurrent();
    if (!screen.WriteShown(ctx, name, output))
        return kExitFailure;
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
