#include "platform/PosixSystemServices.h"

#include <sys/stat.h>
#include <sys/statfs.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>

#include "platform/DriveClassifier.h"

namespace tamber {

namespace {

// statfs magic numbers of the file systems DriveClassifier knows, for when mountinfo is absent.
struct MagicType {
    unsigned long magic;
    const char* type;
};
constexpr MagicType kMagicTypes[] = {
    { 0x9660, "iso9660" },
    { 0x15013346, "udf" },
    { 0x6969, "nfs" },
    { 0x517B, "smb" },
    { 0xFF534D42, "cifs" },
    { 0xFE534D42, "smb2" },
    { 0x00C36400, "ceph" },
    { 0x01021997, "9p" },
};

std::string ParentOf(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

PosixSystemServices::PosixSystemServices(const std::string& dataFolderOption)
    : m_dataFolder(ChooseDataFolder(dataFolderOption, std::getenv("XDG_DATA_HOME"), std::getenv("HOME")))
{
    while (m_dataFolder.size() > 1 && m_dataFolder.back() == '/')
        m_dataFolder.pop_back();
}

bool PosixSystemServices::IsDirectory(const std::string& path) const
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixSystemServices::IsFile(const std::string& path) const
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> PosixSystemServices::ListDirectory(const std::string& path) const
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return names;
    while (dirent* d = ::readdir(dir)) {
        std::string name = d->d_name;
        if (name != "." && name != "..")
            names.push_back(std::move(name));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

int32_t PosixSystemServices::MakeDirectories(const std::string& path)
{
    if (path.empty())
        return 0;
    if (IsDirectory(path))
        return 1;
    std::string parent = ParentOf(path);
    if (parent != path && !IsDirectory(parent) && !MakeDirectories(parent))
        return 0;
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
        return 0;
    return IsDirectory(path) ? 1 : 0;
}

DriveKind PosixSystemServices::ClassifyDrive(const std::string& path) const
{
    char resolved[PATH_MAX];
    std::string absolute = ::realpath(path.c_str(), resolved) ? resolved : path;
    std::ifstream in("/proc/self/mountinfo");
    if (in) {
        std::stringstream text;
        text << in.rdbuf();
        std::string type = DriveClassifier::MountTypeOf(text.str(), absolute);
        if (!type.empty())
            return DriveClassifier::ClassifyType(type);
    }
    struct statfs fs {};
    if (::statfs(absolute.c_str(), &fs) != 0)
        return DriveKind::Fixed;
    for (const auto& known : kMagicTypes)
        if (static_cast<unsigned long>(fs.f_type) == known.magic)
            return DriveClassifier::ClassifyType(known.type);
    return DriveKind::Fixed;
}

}  // namespace tamber
