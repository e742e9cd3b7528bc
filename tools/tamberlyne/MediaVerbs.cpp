// Verbs that show the media catalogue: media, part, folders, jumps.

#include <algorithm>
#include <functional>
#include <set>

#include "db/JumpTable.h"
#include "db/MediaDatabase.h"
#include "platform/FileSystem.h"
#include "platform/PathResolver.h"
#include "tamberlyne/DatabaseAccess.h"
#include "tamberlyne/MediaAccess.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

using tamber::MediaDatabase;
using tamber::MediaEntry;

// Names are printed as they are unless they are empty or hold spaces or quotes.
std::string Quoted(const std::string& text)
{
    if (!text.empty() && text.find_first_of(" \t\"") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\\\"") : std::string(1, c);
    return out + "\"";
}

int RunMedia(VerbContext& ctx)
{
    ReadOnlyDatabase open(ctx);
    if (int status = open.Open(ctx, 1, "expected DB"))
        return status;
    const std::string& path = ctx.positional[0];
    MediaDatabase& db = open.db;
    std::vector<tamber::DriveMapping> mappings;
    if (int status = ReadDriveMappings(ctx, mappings))
        return status;
    tamber::PathResolver resolver(open.system, mappings);
    bool resolve = ctx.Has("--resolve");
    int32_t damaged = 0;
    for (int32_t i = 0; i < db.EntryCount(); ++i) {
        uint32_t id = 0;
        MediaEntry e;
        if (!db.NthEntry(i, &id) || !db.GetEntry(id, e)) {
            ++damaged;
            continue;
        }
        ctx.out << e.id << " " << Quoted(e.type) << " " << Quoted(e.name) << " parts=";
        for (size_t p = 0; p < e.parts.size(); ++p)
            ctx.out << (p ? "," : "") << e.parts[p].tag << ":" << e.parts[p].recordId;
        ctx.out << " files=";
        for (size_t f = 0; f < e.externals.size(); ++f) {
            ctx.out << (f ? "," : "") << e.externals[f].path;
            if (resolve) {
                std::string found = resolver.Resolve(e.externals[f].path, db.DatabaseFolder());
                ctx.out << "->" << (found.empty() ? "(missing)" : found);
            }
        }
        if (e.encoding != 0)
            ctx.out << " encoding=" << e.encoding;
        if (e.storedSize >= 0)
            ctx.out << " stored=" << e.storedSize;
        if (e.cacheFlag != 0)
            ctx.out << " cache=" << e.cacheFlag;
        ctx.out << "\n";
    }
    if (damaged > 0)
        return ctx.Fail(path,
            std::to_string(damaged) + " damaged catalogue entr" + (damaged == 1 ? "y" : "ies") + " left out");
    return kExitOk;
}

int RunPart(VerbContext& ctx)
{
    ReadOnlyDatabase open(ctx);
    MediaEntry entry;
    if (int status = open.OpenWithMedium(ctx, 3, "expected DB MEDIA INDEX", entry))
        return status;
    const std::string& path = ctx.positional[0];
    // INDEX counts from 0 in the order `media` lists the parts; a 4-character tag works too.
    int32_t index = -1;
    if (auto n = ParseInteger(ctx.positional[2])) {
        if (*n < 0 || *n >= static_cast<long long>(entry.parts.size()))
            return ctx.Fail(path,
                entry.name + " has " + std::to_string(entry.parts.size()) + " part(s); no part "
                    + ctx.positional[2]);
        index = static_cast<int32_t>(*n);
    } else if ((index = entry.FindPart(ctx.positional[2])) < 0) {
        return ctx.Fail(path, entry.name + " has no part tagged \"" + ctx.positional[2] + "\"");
    }
    tamber::MemoryBlock block(0);
    if (!open.db.ReadEntryPart(entry.Info(), index, nullptr, block))
        return ctx.Fail(path,
            "part " + std::to_string(index) + " of " + entry.name + " (MMData "
                + std::to_string(entry.parts[static_cast<size_t>(index)].recordId) + ") cannot be read");
    ctx.out.write(reinterpret_cast<const char*>(block.Data()), block.Size());
    return kExitOk;
}

int RunFolders(VerbContext& ctx)
{
    ReadOnlyDatabase open(ctx);
    if (int status = open.Open(ctx, 1, "expected DB"))
        return status;
    MediaDatabase& db = open.db;
    const tamber::FolderTree& tree = db.Folders();
    std::set<int32_t> shown;
    std::function<void(int32_t, int)> show = [&](int32_t id, int depth) {
        const tamber::Folder* f = tree.Find(id);
        // A damaged tree can list a folder twice or in a cycle; each is shown once.
        if (!f || !shown.insert(id).second)
            return;
        std::string indent(static_cast<size_t>(depth) * 2, ' ');
        ctx.out << indent << Quoted(f->name) << " (folder " << f->id << ")\n";
        for (uint32_t m : f->media) {
            MediaEntry e;
            ctx.out << indent << "  - " << m << " ";
            if (db.GetEntry(m, e))
                ctx.out << Quoted(e.type) << " " << Quoted(e.name) << "\n";
            else
                ctx.out << "(not in the catalogue)\n";
        }
        for (int32_t sub : f->subfolders)
            show(sub, depth + 1);
    };
    show(0, 0);
    for (const auto& f : tree.Folders())
        if (!shown.count(f.id)) {
            ctx.out << "(not reachable from the root)\n";
            show(f.id, 1);
        }
    return kExitOk;
}

int RunJumps(VerbContext& ctx)
{
    ReadOnlyDatabase open(ctx);
    MediaEntry entry;
    if (int status = open.OpenWithMedium(ctx, 2, "expected DB MEDIA", entry))
        return status;
    MediaDatabase& db = open.db;
    int32_t count = db.JumpCount(entry.id);
    for (int32_t i = 0; i < count; ++i) {
        int32_t jumpId = 0;
        tamber::MemoryBlock data(0);
        std::string name;
        if (!db.NthJump(entry.id, i, jumpId, data, &name))
            break;
        ctx.out << jumpId << " " << (name.empty() ? "-" : Quoted(name)) << " ->";
        auto targets = tamber::JumpTable::LinkedMedia(data);
        if (targets.empty())
            ctx.out << " (no medium)";
        for (uint32_t m : targets) {
            MediaEntry target;
            ctx.out << " " << m << " "
                    << (db.GetEntry(m, target) ? Quoted(target.name) : "(not in the catalogue)");
        }
        ctx.out << "\n";
    }
    return kExitOk;
}

VerbRegistration mediaReg { Verb { "media", "media DB", "list the media of the catalogue",
    "One line per medium in catalogue order:\n"
    "  ID TYPE NAME parts=TAG:RECORD,... files=PATH,... [encoding=N] [stored=BYTES] [cache=FLAG]\n"
    "RECORD is the id of the \"MMData\" record holding the part; PATH is the external file as the\n"
    "catalogue names it. Names with spaces are quoted. Damaged entries are left out and counted on\n"
    "standard error (exit status 1).\n\n"
    "--resolve shows after each path, behind \"->\", the file it names here, or (missing): paths are\n"
    "matched without regard to case; a drive letter is tried against the --drive mappings, then in\n"
    "the database's folder without the drive, then by file name alone in that folder; other paths\n"
    "are relative to the database's folder.\n\n"
    "Opens the database read-only: an old layout is upgraded in memory only, and stderr says so.\n",
    { "--resolve" }, {}, RunMedia, 40 } };

VerbRegistration partReg { Verb { "part", "part DB MEDIA INDEX",
    "write one part of a medium to standard output",
    "MEDIA is a medium's name (any case) or \"#ID\". INDEX counts the medium's parts from 0 in the\n"
    "order `media` lists them, or is a part tag such as Data or Hots. The part's bytes are written\n"
    "decoded, exactly as the player reads them.\n\n"
    "Opens the database read-only: an old layout is upgraded in memory only, and stderr says so.\n",
    {}, {}, RunPart, 41 } };

VerbRegistration foldersReg { Verb { "folders", "folders DB", "show the folder tree with each folder's media",
    "Each folder on a line, indented two spaces per level, followed by its media as\n"
    "\"- ID TYPE NAME\". Folders that no folder lists are shown at the end.\n\n"
    "Opens the database read-only: an old layout is upgraded in memory only, and stderr says so.\n",
    {}, {}, RunFolders, 42 } };

VerbRegistration jumpsReg { Verb { "jumps", "jumps DB MEDIA",
    "list a medium's jump targets and the media they lead to",
    "One line per jump target: its id, its name (- for none), then each medium its actions lead to\n"
    "(the \"MObj\" chunks) as ID NAME. MEDIA is a name or \"#ID\".\n\n"
    "Opens the database read-only: an old layout is upgraded in memory only, and stderr says so.\n",
    {}, {}, RunJumps, 43 } };

} // namespace

} // namespace tamberlyne
