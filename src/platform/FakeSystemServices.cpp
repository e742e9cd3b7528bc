#include "platform/FakeSystemServices.h"

namespace tamber {

std::string FakeSystemServices::Normal(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

void FakeSystemServices::AddDirectory(const std::string& path)
{
    std::string p = Normal(path);
    while (!p.empty() && m_directories.insert(p).second) {
        auto slash = p.find_last_of('/');
        if (slash == std::string::npos)
            break;
        p = slash == 0 ? "/" : p.substr(0, slash);
    }
}

void FakeSystemServices::AddFile(const std::string& path)
{
    std::string p = Normal(path);
    auto slash = p.find_last_of('/');
    if (slash != std::string::npos)
        AddDirectory(slash == 0 ? "/" : p.substr(0, slash));
    m_files.insert(p);
}

std::vector<std::string> FakeSystemServices::ListDirectory(const std::string& path) const
{
    std::string dir = Normal(path);
    std::string prefix = dir == "/" ? "/" : dir + "/";
    std::set<std::string> names;
    for (const auto* set : { &m_files, &m_directories })
        for (const auto& entry : *set)
            if (entry.size() > prefix.size() && entry.compare(0, prefix.size(), prefix) == 0
                && entry.find('/', prefix.size()) == std::string::npos)
                names.insert(entry.substr(prefix.size()));
    if (!IsDirectory(dir))
        return {};
    return { names.begin(), names.end() };
}

int32_t FakeSystemServices::MakeDirectories(const std::string& path)
{
    if (m_refuseDirectories)
        return IsDirectory(path) ? 1 : 0;
    AddDirectory(path);
    return 1;
}

DriveKind FakeSystemServices::ClassifyDrive(const std::string& path) const
{
    std::string p = Normal(path);
    DriveKind kind = DriveKind::Fixed;
    size_t best = 0;
    for (const auto& [prefix, k] : m_kinds) {
        std::string pre = Normal(prefix);
        bool under = p == pre || (p.compare(0, pre.size(), pre) == 0 && (pre == "/" || p[pre.size()] == '/'));
        if (under && pre.size() >= best) {
            best = pre.size();
            kind = k;
        }
    }
    return kind;
}

}  // namespace tamber
