#include "tamberlyne/MediaAccess.h"

#include "platform/FileSystem.h"
#include "tamberlyne/DatabaseAccess.h"

namespace tamberlyne {

ReadOnlyDatabase::ReadOnlyDatabase(const VerbContext& ctx)
    : system(ctx.global.dataDir)
    , db(tamber::FileSystem::Native(), &system, &messages)
{
}

int ReadOnlyDatabase::Open(VerbContext& ctx, size_t arguments, const char* usage)
{
    if (ctx.positional.size() != arguments)
        return ctx.UsageError(usage);
    const std::string& path = ctx.positional[0];
    if (!OpenDatabase(ctx, path, DatabaseAccess::ReadOnly, db.Records()))
        return kExitFailure;
    if (!db.OpenOverRecords())
        return ctx.Fail(path, "cannot open as a media database");
    if (db.Upgrades().Any() && db.Upgrades().inMemoryOnly)
        ctx.err << "tamberlyne: " << path << ": old layout upgraded in memory only (opened read-only; "
                << "the player upgrades a writable file in place)\n";
    return kExitOk;
}

int ReadOnlyDatabase::OpenWithMedium(VerbContext& ctx, size_t arguments, const char* usage, tamber::MediaEntry& entry)
{
    if (int status = Open(ctx, arguments, usage))
        return status;
    const std::string& path = ctx.positional[0];
    const std::string& medium = ctx.positional[1];
    if (medium.size() > 1 && medium[0] == '#') {
        auto id = ParseInteger(medium.substr(1));
        if (!id || *id < 0 || *id > UINT32_MAX)
            return ctx.UsageError("bad media id " + medium);
        if (!db.GetEntry(static_cast<uint32_t>(*id), entry))
            return ctx.Fail(path, "no medium with id " + medium.substr(1));
        return kExitOk;
    }
    tamber::EntryInfo info;
    if (!db.FindEntryByName(medium, "", &info) || !db.GetEntry(info.id, entry))
        return ctx.Fail(path, "no medium named \"" + medium + "\"");
    return kExitOk;
}

int ReadDriveMappings(VerbContext& ctx, std::vector<tamber::DriveMapping>& mappings)
{
    for (const auto& text : ctx.global.driveMaps) {
        tamber::DriveMapping mapping;
        if (!tamber::PathResolver::ParseMapping(text, mapping))
            return ctx.UsageError("bad --drive " + text + " (expected LETTER=FOLDER)");
        mappings.push_back(mapping);
    }
    return kExitOk;
}

}  // namespace tamberlyne
