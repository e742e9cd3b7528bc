// Verbs between project folders and databases: build and export.

#include <filesystem>

#include "db/MediaDatabase.h"
#include "tamberlyne/ProjectReader.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

namespace fs = std::filesystem;

int ReportErrors(VerbContext& ctx, const std::vector<std::string>& errors)
{
    for (const std::string& error : errors)
        ctx.err << "tamberlyne: " << error << "\n";
    ctx.err << "tamberlyne: build: " << errors.size() << (errors.size() == 1 ? " problem" : " problems")
            << "; nothing written\n";
    return kExitFailure;
}

int RunBuild(VerbContext& ctx)
{
    if (ctx.positional.size() != 1)
        return ctx.UsageError("expected PROJECT_DIR");
    std::string output = ctx.Option("-o", ctx.Option("--output"));
    if (output.empty())
        return ctx.UsageError("the database to write is missing (-o DB)");
    std::error_code ec;
    if (fs::is_directory(output, ec))
        return ctx.Fail(output, "is a folder, not a database");

    ProjectReader reader(ctx.positional[0]);
    try {
        if (!reader.Load())
            return ReportErrors(ctx, reader.Errors());
    } catch (const std::exception& e) {
        // The checks above every read should make this unreachable; a damaged project still
        // gets a message rather than a crash.
        return ctx.Fail(ctx.positional[0], std::string("cannot be read: ") + e.what());
    }

    // The database is written beside its final name and renamed when complete, so a failed
    // build never leaves a half-written database behind or destroys the previous one.
    const std::string building = output + ".building";
    fs::remove(building, ec);
    bool written = false;
    {
        tamber::MediaDatabase db;
        std::string password = reader.Password().empty() ? ctx.global.password : reader.Password();
        if (!db.Records().Open(building, password, tamber::OpenPolicy::CreateIfMissing) || !db.OpenOverRecords()) {
            fs::remove(building, ec);
            return ctx.Fail(output, "cannot be created");
        }
        try {
            written = reader.WriteInto(db, &ctx.err);
        } catch (const std::exception& e) {
            ctx.err << "tamberlyne: " << ctx.positional[0] << ": " << e.what() << "\n";
        }
    }
    if (!written) {
        fs::remove(building, ec);
        return ReportErrors(ctx, reader.Errors());
    }
    fs::rename(building, output, ec);
    if (ec) {
        fs::remove(building, ec);
        return ctx.Fail(output, "cannot be written: " + ec.message());
    }
    ctx.out << "built " << output << ": " << reader.MediaCount() << " media, " << reader.InterfaceCount()
            << (reader.InterfaceCount() == 1 ? " Interface" : " Interfaces") << "\n";
    return kExitOk;
}

VerbRegistration buildReg { Verb { "build", "build PROJECT_DIR -o DB", "build a database from a project folder",
    "Reads PROJECT_DIR/project.json with the Interfaces, scripts and media files it names\n"
    "(docs/project-format.md describes them) and writes the database DB: the media, the\n"
    "Interfaces, the folder tree, jump tables, the start settings and the splash list.\n\n"
    "Every problem is reported with the file, the element and the attribute concerned; when\n"
    "there is any, nothing is written and an existing DB stays as it was. Ids left out of the\n"
    "project are assigned: media and Interfaces take the lowest free ids in project order,\n"
    "elements the lowest free ids of their Interface.\n\n"
    "The database gets the project's \"password\", else the global --password.\n",
    {}, { "-o", "--output" }, RunBuild, 60 } };

}  // namespace

}  // namespace tamberlyne
