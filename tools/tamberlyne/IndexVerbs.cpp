// Verbs of the full-text index: index (build it), search (run expressions), field (one value).

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>

#include "db/FullTextCatalogDocuments.h"
#include "db/FullTextIndex.h"
#include "db/FullTextIndexBuilder.h"
#include "db/FullTextRecordStore.h"
#include "db/MediaDatabase.h"
#include "db/QueryEngine.h"
#include "platform/FileSystem.h"
#include "platform/MessageSink.h"
#include "platform/PosixSystemServices.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

using tamber::DatabaseAccess;
using tamber::FullTextFieldValue;

// Progress appears once indexing has run this long, and is redrawn at most this often.
constexpr auto kProgressDelay = std::chrono::seconds(1);
constexpr auto kProgressInterval = std::chrono::milliseconds(200);

// An open database with its full-text index.
struct IndexedDatabase {
    tamber::PosixSystemServices system;
    tamber::CapturingMessageSink messages;
    tamber::MediaDatabase db;
    std::unique_ptr<tamber::FullTextRecordStore> store;
    std::unique_ptr<tamber::FullTextIndex> index;

    explicit IndexedDatabase(const VerbContext& ctx)
        : system(ctx.global.dataDir)
        , db(tamber::FileSystem::Native(), &system, &messages)
    {
    }

    int Open(const VerbContext& ctx, const std::string& path, DatabaseAccess access)
    {
        if (!db.Open(path, ctx.global.password, access)) {
            if (db.WrongPassword())
                return ctx.Fail(path, ctx.global.password.empty() ? "the database has a password; give it with --password"
                                                                  : "wrong password");
            return ctx.Fail(path, "cannot open as a media database");
        }
        if (access == DatabaseAccess::ReadWrite && db.IsReadOnly())
            return ctx.Fail(path, "the database cannot be written");
        store = std::make_unique<tamber::FullTextRecordStore>(
            db.Records(), db.OnCdRom() ? tamber::DriveKind::CdRom : tamber::DriveKind::Fixed);
        index = std::make_unique<tamber::FullTextIndex>(*store);
        return kExitOk;
    }
};

// MEDIA is a name (any case) or "#ID"; answers 1 and the id.
int32_t ResolveMedium(tamber::MediaDatabase& db, const std::string& medium, uint32_t& id)
{
    if (medium.size() > 1 && medium[0] == '#') {
        auto n = ParseInteger(medium.substr(1));
        if (!n || *n < 0 || *n > UINT32_MAX)
            return 0;
        id = static_cast<uint32_t>(*n);
        return db.FindEntryById(id, nullptr);
    }
    tamber::EntryInfo info;
    if (!db.FindEntryByName(medium, "", &info))
        return 0;
    id = info.id;
    return 1;
}

// Reads the project fields: {"MEDIA": {"FIELD": VALUE, ...}, ...}. A VALUE is a number, or a
// string: "date:M/D/Y" for a date, "number:V" for a number, anything else a string.
int ReadFields(const VerbContext& ctx, tamber::MediaDatabase& db, const std::string& file,
    tamber::FullTextProjectFields& fields)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return ctx.Fail(file, "cannot read the fields file");
    nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
    if (json.is_discarded() || !json.is_object())
        return ctx.Fail(file, "expected a JSON object of media, each an object of fields");
    for (const auto& [medium, values] : json.items()) {
        uint32_t id = 0;
        if (!ResolveMedium(db, medium, id))
            return ctx.Fail(file, "no medium \"" + medium + "\" in the database");
        if (!values.is_object())
            return ctx.Fail(file, "the fields of \"" + medium + "\" are not an object");
        for (const auto& [name, value] : values.items()) {
            if (name.empty() || name.size() > tamber::MemoryBlock::kMaxPStringLength)
                return ctx.Fail(file, "bad field name \"" + name + "\" for \"" + medium + "\"");
            if (value.is_number())
                fields[id].emplace_back(name, FullTextFieldValue::Number(value.get<double>()));
            else if (value.is_string())
                fields[id].emplace_back(name, FullTextFieldValue::Parse(value.get<std::string>()));
            else
                return ctx.Fail(file, "field \"" + name + "\" of \"" + medium + "\" is neither a string nor a number");
        }
    }
    return kExitOk;
}

int RunIndex(VerbContext& ctx)
{
    if (ctx.positional.size() != 1)
        return ctx.UsageError("expected DB");
    const std::string& path = ctx.positional[0];
    IndexedDatabase open(ctx);
    if (int status = open.Open(ctx, path, DatabaseAccess::ReadWrite))
        return status;
    tamber::FullTextProjectFields fields;
    if (ctx.Has("--fields"))
        if (int status = ReadFields(ctx, open.db, ctx.Option("--fields"), fields))
            return status;

    tamber::FullTextCatalogDocuments documents(open.db, std::move(fields));
    tamber::FullTextIndexBuilder builder;
    auto start = std::chrono::steady_clock::now();
    auto lastShown = start;
    bool shown = false;
    int32_t ok = builder.Build(documents, *open.store, [&](int32_t done, int32_t total) {
        auto now = std::chrono::steady_clock::now();
        if (now - start < kProgressDelay || (shown && now - lastShown < kProgressInterval && done < total))
            return;
        ctx.err << "\rindexing: " << done << " of " << total << " media" << std::flush;
        shown = true;
        lastShown = now;
    });
    if (shown)
        ctx.err << "\n";
    if (!ok)
        return ctx.Fail(path, "the index could not be written completely");
    const auto& stats = builder.LastStats();
    ctx.out << "indexed " << stats.media << " media: " << stats.occurrences << " words, " << stats.words
            << " distinct, in " << stats.leaves << " leaves\n";
    return kExitOk;
}

int RunSearch(VerbContext& ctx)
{
    if (ctx.positional.size() < 2)
        return ctx.UsageError("expected DB EXPRESSION...");
    const std::string& path = ctx.positional[0];
    IndexedDatabase open(ctx);
    if (int status = open.Open(ctx, path, DatabaseAccess::ReadOnly))
        return status;
    tamber::QueryEngine engine(*open.index);
    int status = kExitOk;
    for (size_t i = 1; i < ctx.positional.size(); ++i) {
        if (ctx.Has("--all"))
            engine.ForgetPreviousResults();
        int32_t result = engine.RunQuery(ctx.positional[i]);
        ctx.out << "result " << result << "\n";
        if (const char* message = tamber::QueryEngine::MessageFor(result)) {
            ctx.err << "tamberlyne: " << path << ": " << ctx.positional[i] << ": " << message << "\n";
            status = kExitFailure;
            continue;
        }
        tamber::QueryHit hit;
        for (int32_t h = 0; engine.Hit(h, hit); ++h) {
            tamber::EntryInfo info;
            bool known = open.db.FindEntryById(static_cast<uint32_t>(hit.mediaId), &info);
            ctx.out << static_cast<uint32_t>(hit.mediaId) << " " << hit.wordPostings << " " << hit.fieldPostings << " "
                    << (known ? info.name : "(not in the catalogue)") << "\n";
        }
    }
    return status;
}

int RunField(VerbContext& ctx)
{
    if (ctx.positional.size() != 3)
        return ctx.UsageError("expected DB MEDIA FIELD");
    const std::string& path = ctx.positional[0];
    IndexedDatabase open(ctx);
    if (int status = open.Open(ctx, path, DatabaseAccess::ReadOnly))
        return status;
    uint32_t id = 0;
    if (!ResolveMedium(open.db, ctx.positional[1], id))
        return ctx.Fail(path, "no medium \"" + ctx.positional[1] + "\"");
    if (!open.index->IsBuilt())
        return ctx.Fail(path, "the full-text index has not been built (tamberlyne index)");
    std::string value;
    if (!open.index->MediaField(static_cast<int32_t>(id), ctx.positional[2], value))
        return ctx.Fail(path, "medium " + ctx.positional[1] + " has no field \"" + ctx.positional[2] + "\"");
    ctx.out << value << "\n";
    return kExitOk;
}

VerbRegistration indexReg { Verb { "index", "index DB", "build the full-text index of a database",
    "Indexes every medium: its name (field Title and the words of granule Title), its type (field\n"
    "Type), and for a text medium the words of its text (granule Body). Words are runs of letters\n"
    "and digits, lower-cased. Replaces any index the database had; prints what was indexed, and\n"
    "shows progress on standard error when it takes more than a second.\n\n"
    "  --fields FILE   further fields per medium, a JSON object such as\n"
    "                  {\"Intro\": {\"Author\": \"Ann\", \"Pages\": 12, \"Date\": \"date:1/15/1996\"}}\n"
    "                  (media by name or \"#ID\"; \"number:V\" is a number, other strings are strings)\n"
    "The index format is described in docs/full-text-index-format.md.\n",
    {}, { "--fields" }, RunIndex, 50 } };

VerbRegistration searchReg { Verb { "search", "search [--all] DB EXPRESSION...", "run search expressions on the full-text index",
    "Runs each expression in turn as successive searches: a later one only finds media that the\n"
    "one before found (when it found any). After each prints \"result N\" (N postings, -1 for a\n"
    "syntax error, -2 when the index is not built), then one line per medium found:\n"
    "  MEDIAID WORDS FIELDS NAME\n"
    "with the number of its postings that matched words and fields.\n\n"
    "  --all   forget the previous results before each expression\n\n"
    "Expressions: words (word:Granule restricts to a granule), \"quoted strings\", joined by and, or,\n"
    "but not, strictly left to right, with ( ); exactly|morethan|lessthan N word;\n"
    "field(NAME = < <= > >= <> VALUE) where VALUE is a string, a number or a date \"1/15/96\";\n"
    "granule(w1, w2, ...); proximity(N, DISTANCE, w1, w2, ...); all; not word.\n",
    { "--all" }, {}, RunSearch, 51 } };

VerbRegistration fieldReg { Verb { "field", "field DB MEDIA FIELD", "print a medium's value of an index field",
    "MEDIA is a name or \"#ID\"; FIELD a field name such as Title or Type (any case). Numbers print\n"
    "as 3.500000, dates as month/day/year.\n",
    {}, {}, RunField, 52 } };

}  // namespace

}  // namespace tamberlyne
