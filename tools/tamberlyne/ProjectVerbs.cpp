// Verbs between project folders and databases: build and export.

#include <filesystem>

#include "db/MediaDatabase.h"
#include "platform/PosixSystemServices.h"
#include "tamberlyne/DatabaseAccess.h"
#include "tamberlyne/ProjectReader.h"
#include "tamberlyne/ProjectWriter.h"
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

int RunExport(VerbContext& ctx)
{
    if (ctx.positional.size() != 2)
        return ctx.UsageError("expected DB OUT_DIR");
    const std::string& path = ctx.positional[0];
    const fs::path outDir = ctx.positional[1];
    std::error_code ec;
    if (fs::exists(outDir / project::kProjectFile, ec) && !ctx.Has("--force"))
        return ctx.Fail(outDir.string(), "holds a project already (--force writes over it)");
    tamber::MediaDatabase db;
    if (!OpenDatabase(ctx, path, DatabaseAccess::ReadOnly, db.Records()))
        return kExitFailure;
    if (!db.OpenOverRecords())
        return ctx.Fail(path, "cannot open as a media database");
    ProjectWriter writer(db, outDir);
    if (db.Records().Info().hasPassword)
        writer.SetPassword(ctx.global.password);
    bool written = writer.Write();
    for (const std::string& note : writer.Notes())
        ctx.err << "tamberlyne: note: " << note << "\n";
    for (const std::string& error : writer.Errors())
        ctx.err << "tamberlyne: " << error << "\n";
    if (!written)
        return kExitFailure;
    ctx.out << "exported " << path << " to " << outDir.string() << "\n";
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

VerbRegistration exportReg { Verb { "export", "export DB OUT_DIR", "write a project folder from a database",
    "Writes OUT_DIR/project.json with the media files, the Interfaces (one JSON file each under\n"
    "interfaces/, their pictures under interfaces/pictures/) and the folders, start settings and\n"
    "splash list, so that `tamberlyne build OUT_DIR` gives the same catalogue, Interface, start\n"
    "and splash records again.\n\n"
    "Elements are described by the attributes that differ from a new element of their class.\n"
    "An element (or a whole Interface) whose stored bytes such a description cannot reproduce\n"
    "is kept as those bytes in base64; a note on standard error names each one.\n\n"
    "Refuses an OUT_DIR that holds a project.json already, unless --force is given.\n",
    { "--force" }, {}, RunExport, 61 } };

}  // namespace

}  // namespace tamberlyne
