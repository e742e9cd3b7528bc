#include "tamberlyne/DatabaseAccess.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tamberlyne {

namespace {

// Says why a file that exists did not open as a database.
std::string WhyNotADatabase(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "cannot be read";
    char start[6] = {};
    in.read(start, sizeof start);
    if (in.gcount() < static_cast<std::streamsize>(sizeof start) || start[0] != 'R' || start[1] != 'S')
        return "not a database (it does not start with \"RS\")";
    return "not a database this program reads (format version above 512)";
}

}  // namespace

bool OpenDatabase(VerbContext& ctx, const std::string& path, DatabaseAccess access, tamber::RecordFile& file)
{
    std::error_code ec;
    bool exists = std::filesystem::exists(path, ec);
    if (!exists && access != DatabaseAccess::Create) {
        ctx.Fail(path, "no such file");
        return false;
    }
    if (exists && std::filesystem::is_directory(path, ec)) {
        ctx.Fail(path, "is a folder, not a database");
        return false;
    }
    tamber::OpenPolicy policy = access == DatabaseAccess::ReadOnly  ? tamber::OpenPolicy::ReadOnly
                                : access == DatabaseAccess::Create ? tamber::OpenPolicy::CreateIfMissing
                                                                   : tamber::OpenPolicy::ExistingOnly;
    if (!file.Open(path, ctx.global.password, policy, tamber::TrailerSearch::Always)) {
        if (file.WrongPassword())
            ctx.Fail(path, "Can't open the database without the correct password!");
        else if (!std::filesystem::exists(path, ec))
            ctx.Fail(path, "cannot be created");
        else
            ctx.Fail(path, WhyNotADatabase(path));
        return false;
    }
    if (access != DatabaseAccess::ReadOnly) {
        if (file.IsEmbedded()) {
            ctx.Fail(path, "the database inside a player file cannot be changed");
            return false;
        }
        if (file.IsReadOnly()) {
            ctx.Fail(path, "the database is read-only (no permission to write)");
            return false;
        }
    }
    return true;
}

bool ParseRecordKey(VerbContext& ctx, const std::string& name, const std::string& id, uint32_t& idOut)
{
    bool letters = !name.empty() && name.size() <= 8 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
    if (!letters) {
        ctx.UsageError("record name \"" + name + "\" must be 1 to 8 ASCII letters");
        return false;
    }
    auto value = ParseInteger(id);
    if (!value || *value < 0 || *value > 0xFFFFFFFFll) {
        ctx.UsageError("record id \"" + id + "\" must be a number from 0 to 4294967295");
        return false;
    }
    idOut = static_cast<uint32_t>(*value);
    return true;
}

}  // namespace tamberlyne
