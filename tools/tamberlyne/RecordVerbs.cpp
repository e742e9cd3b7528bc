// Verbs that inspect and change single records: info, records, cat, put, rm.
#include <ctime>
#include <fstream>
#include <iterator>

#include "tamberlyne/DatabaseAccess.h"

namespace tamberlyne {

namespace {

using tamber::MemoryBlock;
using tamber::RecordFile;

std::string FormatTime(uint32_t seconds)
{
    if (seconds == 0)
        return "unknown";
    std::time_t t = static_cast<std::time_t>(seconds);
    char text[32];
    const std::tm* tm = std::gmtime(&t);
    if (!tm || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", tm))
        return std::to_string(seconds);
    return text;
}

// Checks that the verb was given `count` arguments and, when `id` is given, that the second and
// third are a record NAME and ID. Answers kExitOk, or kExitUsage after reporting.
int CheckArguments(VerbContext& ctx, size_t count, const char* usage, uint32_t* id = nullptr)
{
    if (ctx.positional.size() != count)
        return ctx.UsageError(usage);
    if (id && !ParseRecordKey(ctx, ctx.positional[1], ctx.positional[2], *id))
        return kExitUsage;
    return kExitOk;
}

// CheckArguments, then opens DB (the first argument); answers kExitOk or the exit status.
int OpenArguments(VerbContext& ctx, size_t count, const char* usage, DatabaseAccess access, RecordFile& file,
    uint32_t* id = nullptr)
{
    if (int status = CheckArguments(ctx, count, usage, id))
        return status;
    return OpenDatabase(ctx, ctx.positional[0], access, file) ? kExitOk : kExitFailure;
}

int RunInfo(VerbContext& ctx)
{
    RecordFile file;
    if (int status = OpenArguments(ctx, 1, "expected one database", DatabaseAccess::ReadOnly, file))
        return status;
    tamber::RecordFileInfo info = file.Info();
    ctx.out << "version       " << info.version << "\n"
            << "records       " << info.recordCount << "\n"
            << "names         " << info.nameCount << "\n"
            << "created       " << FormatTime(info.created) << "\n"
            << "modified      " << FormatTime(info.modified) << "\n"
            << "end of data   " << info.endOfData << "\n"
            << "password      " << (info.hasPassword ? "yes" : "no") << "\n"
            << "base offset   " << info.baseOffset << "\n";
    return kExitOk;
}

int RunRecords(VerbContext& ctx)
{
    RecordFile file;
    if (int status = OpenArguments(ctx, 1, "expected one database", DatabaseAccess::ReadOnly, file))
        return status;
    for (const auto& entry : file.Entries()) {
        bool free = entry.used == tamber::recordfile::kFreeRecord;
        ctx.out << (free             ? "-"
                : entry.name.empty() ? "\"\""
                                     : entry.name)
                << ' ' << entry.id << ' ' << entry.used << ' ' << entry.capacity << ' ' << entry.encoding
                << ' ' << entry.offset << "\n";
    }
    return kExitOk;
}

int RunCat(VerbContext& ctx)
{
    RecordFile file;
    uint32_t id = 0;
    if (int status = OpenArguments(
            ctx, 3, "expected a database, a record name and an id", DatabaseAccess::ReadOnly, file, &id))
        return status;
    const std::string& path = ctx.positional[0];
    MemoryBlock payload;
    int32_t read = ctx.Has("--raw") ? file.ReadStoredRecord(payload, ctx.positional[1], id)
                                    : file.ReadRecord(payload, ctx.positional[1], id);
    if (!read) {
        if (file.RecordExists(ctx.positional[1], id))
            return ctx.Fail(
                path, "record " + ctx.positional[1] + " " + ctx.positional[2] + " cannot be read (damaged)");
        return ctx.Fail(path, "no record " + ctx.positional[1] + " " + ctx.positional[2]);
    }
    ctx.out.write(reinterpret_cast<const char*>(payload.Data()), payload.Size());
    return kExitOk;
}

int RunPut(VerbContext& ctx)
{
    uint32_t id = 0;
    if (int status = CheckArguments(ctx, 4, "expected a database, a record name, an id and a file", &id))
        return status;
    auto encoding = ParseInteger(ctx.Option("--encoding", "0"));
    if (!encoding || *encoding < 0 || *encoding > tamber::recordfile::kMaxEncoding)
        return ctx.UsageError("--encoding must be a number from 0 to 10");
    auto slack = ParseInteger(ctx.Option("--slack", "0"));
    if (!slack || *slack < 0 || *slack > 0x7FFFFFFF)
        return ctx.UsageError("--slack must be a number of bytes, 0 or more");

    const std::string& source = ctx.positional[3];
    std::ifstream in(source, std::ios::binary);
    if (!in)
        return ctx.Fail(source, "cannot be read");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return ctx.Fail(source, "cannot be read");
    if (bytes.size() > 0x7FFFFFF0u)
        return ctx.Fail(source, "too large for a record");

    RecordFile file;
    const std::string& path = ctx.positional[0];
    if (!OpenDatabase(ctx, path, DatabaseAccess::Create, file))
        return kExitFailure;
    file.SetSlack(static_cast<int32_t>(*slack));
    MemoryBlock payload(bytes.data(), static_cast<int32_t>(bytes.size()));
    if (!file.WriteRecord(payload, ctx.positional[1], id, static_cast<int32_t>(*encoding)))
        return ctx.Fail(
            path, "record " + ctx.positional[1] + " " + ctx.positional[2] + " could not be written");
    return kExitOk;
}

int RunRm(VerbContext& ctx)
{
    RecordFile file;
    uint32_t id = 0;
    if (int status = OpenArguments(
            ctx, 3, "expected a database, a record name and an id", DatabaseAccess::ReadWrite, file, &id))
        return status;
    const std::string& path = ctx.positional[0];
    if (!file.DeleteRecord(ctx.positional[1], id))
        return ctx.Fail(path, "no record " + ctx.positional[1] + " " + ctx.positional[2]);
    return kExitOk;
}

VerbRegistration g_info { Verb { "info", "info DB",
    "show a database's header: version, counts, times, end of data",
    "Prints the header of the database DB: format version, record count (free records\n"
    "included), number of distinct record names, creation and modification times (UTC),\n"
    "end of data, whether a password is set, and the base offset (0 unless DB is a player\n"
    "file carrying its database behind the \"JM\" trailer). Opens DB read-only.\n",
    {}, {}, RunInfo, 10 } };

VerbRegistration g_records { Verb { "records", "records DB",
    "list the directory: one line per record, in file order",
    "Prints one line per directory entry, in file order:\n"
    "  NAME ID USED CAPACITY ENCODING OFFSET\n"
    "USED is the stored length, CAPACITY the room reserved, ENCODING the method requested\n"
    "when the record was stored (0 = as given, 2 = compressed), OFFSET the record's place in\n"
    "the container. A free record shows \"-\" as its name and -1 as USED. Opens DB read-only.\n",
    {}, {}, RunRecords, 11 } };

VerbRegistration g_cat { Verb { "cat", "cat DB NAME ID [--raw]",
    "write a record's payload to standard output",
    "Writes the payload of record NAME ID to standard output, decoded. With --raw the bytes\n"
    "are written as stored (an encoded payload keeps its \"CP\" header). Record names are\n"
    "compared without regard to case. Opens DB read-only.\n",
    { "--raw" }, {}, RunCat, 12 } };

VerbRegistration g_put { Verb { "put", "put DB NAME ID FILE [--encoding N] [--slack N]",
    "store a file as record NAME ID (creates DB)",
    "Stores the bytes of FILE as the payload of record NAME ID, replacing any record of that\n"
    "name and id. NAME is 1 to 8 ASCII letters; ID a number from 0 to 4294967295.\n"
    "  --encoding N   0 stores the bytes as given (default); 1 behind a \"CP\" header; 2\n"
    "                 compresses payloads of 1024 bytes or more (stored as given when that\n"
    "                 does not make them smaller)\n"
    "  --slack N      spare bytes reserved behind a newly appended record, so that it can be\n"
    "                 rewritten larger in place (default 0)\n"
    "Creates DB when it does not exist (with the --password given, if any).\n",
    {}, { "--encoding", "--slack" }, RunPut, 13 } };

VerbRegistration g_rm { Verb { "rm", "rm DB NAME ID", "delete record NAME ID",
    "Deletes record NAME ID; its room becomes free and is reused by later writes. Free room\n"
    "at the end of the file is cut off. Fails when there is no such record.\n",
    {}, {}, RunRm, 14 } };

} // namespace

} // namespace tamberlyne
