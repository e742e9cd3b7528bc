// bundle: appends a database to a player program behind the "JM" trailer.
#include <fstream>
#include <iterator>

#include "db/RecordFileFormat.h"
#include "platform/FileSystem.h"
#include "tamberlyne/DatabaseAccess.h"

namespace tamberlyne {

namespace {

using namespace tamber::recordfile;

bool ReadWhole(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

uint32_t TrailerBase(const std::string& bytes)
{
    size_t n = bytes.size();
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data()) + n - 4;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The player without a database it may already carry.
std::string PlayerProgram(const std::string& bytes)
{
    if (bytes.size() < size_t(kTrailerSize) || bytes.compare(bytes.size() - kTrailerSize, 2, kTrailerMagic) != 0)
        return bytes;
    uint32_t base = TrailerBase(bytes);
    if (base == 0 || base >= bytes.size() - kTrailerSize || bytes.compare(base, kMagicSize, kMagic) != 0)
        return bytes;
    return bytes.substr(0, base);
}

int RunBundle(VerbContext& ctx)
{
    if (ctx.positional.size() != 3)
        return ctx.UsageError("expected a player, a database and an output file");
    const std::string& playerPath = ctx.positional[0];
    const std::string& dbPath = ctx.positional[1];
    const std::string& outPath = ctx.positional[2];

    std::string player;
    if (!ReadWhole(playerPath, player))
        return ctx.Fail(playerPath, "cannot be read");
    player = PlayerProgram(player);

    std::string container;
    {
        tamber::RecordFile db;
        if (!OpenDatabase(ctx, dbPath, DatabaseAccess::ReadOnly, db))
            return kExitFailure;
        if (db.LoadedDirectoryState() != tamber::DirectoryState::Valid)
            return ctx.Fail(dbPath, "the directory needs rebuilding first (tamberlyne verify --repair)");
        std::string bytes;
        if (!ReadWhole(dbPath, bytes))
            return ctx.Fail(dbPath, "cannot be read");
        // A database already inside a player is taken out of it.
        container = db.IsEmbedded() ? bytes.substr(db.BaseOffset(), bytes.size() - db.BaseOffset() - kTrailerSize) : bytes;
    }
    if (player.size() > 0xFFFFFFFFu - container.size())
        return ctx.Fail(playerPath, "too large to carry a database (4 GB at most)");

    uint32_t base = static_cast<uint32_t>(player.size());
    char trailer[kTrailerSize] = {kTrailerMagic[0], kTrailerMagic[1], char(base), char(base >> 8), char(base >> 16),
                                  char(base >> 24)};
    {
        std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
        if (!out)
            return ctx.Fail(outPath, "cannot be written");
        out.write(player.data(), static_cast<std::streamsize>(player.size()));
        out.write(container.data(), static_cast<std::streamsize>(container.size()));
        out.write(trailer, kTrailerSize);
        out.close();
        if (!out)
            return ctx.Fail(outPath, "cannot be written (disk full?)");
    }
    uint32_t permissions = 0;
    auto& fs = tamber::FileSystem::Native();
    if (fs.GetPermissions(playerPath, permissions) && !fs.SetPermissions(outPath, permissions))
        return ctx.Fail(outPath, "cannot take the player's permissions");
    ctx.out << outPath << ": " << player.size() << " bytes of player, " << container.size()
            << " bytes of database from offset " << base << "\n";
    return kExitOk;
}

VerbRegistration g_bundle{Verb{
    "bundle", "bundle PLAYER DB OUT", "make a player program that carries its database",
    "Writes OUT: the bytes of PLAYER, then the database DB, then the trailer \"JM\" and the\n"
    "32-bit offset at which the database starts. The player opens the database it carries\n"
    "when started without one; that database is read-only. OUT gets PLAYER's permissions, so\n"
    "it stays executable. A database PLAYER already carries is replaced. DB must have a sound\n"
    "directory (see verify --repair).\n",
    {}, {}, RunBundle, 16}};

}  // namespace

}  // namespace tamberlyne
