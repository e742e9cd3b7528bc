#include "platform/PathResolver.h"

namespace tamber {

namespace {

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    return true;
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string ParentOf(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return path.empty() || path == "." ? ".." : ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool HasDriveLetter(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':' && Upper(path[0]) >= 'A' && Upper(path[0]) <= 'Z';
}

}  // namespace

int32_t PathResolver::ParseMapping(const std::string& text, DriveMapping& out)
{
    if (text.size() < 3 || text[1] != '=' || Upper(text[0]) < 'A' || Upper(text[0]) > 'Z')
        return 0;
    out.letter = Upper(text[0]);
    out.root = text.substr(2);
    return 1;
}

std::vector<std::string> PathResolver::Components(const std::string& path)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
}

std::string PathResolver::Walk(const std::string& folder, const std::vector<std::string>& components) const
{
    if (components.empty() || folder.empty())
        return {};
    std::string at = folder;
    for (size_t i = 0; i < components.size(); ++i) {
        const std::string& part = components[i];
        bool last = i + 1 == components.size();
        if (part == ".") {
            continue;
        } else if (part == "..") {
            at = ParentOf(at);
        } else {
            std::string exact = Join(at, part);
            if (last ? m_system.IsFile(exact) : m_system.IsDirectory(exact)) {
                at = exact;
                continue;
            }
            std::string match;
            for (const auto& name : m_system.ListDirectory(at)) {
                std::string candidate = Join(at, name);
                if (SameNoCase(name, part) && (last ? m_system.IsFile(candidate) : m_system.IsDirectory(candidate))) {
                    match = candidate;
                    break;  // names come sorted, so the choice among case variants is stable
                }
            }
            if (match.empty())
                return {};
            at = match;
        }
        if (last && !m_system.IsFile(at))
            return {};
    }
    return at;
}

std::string PathResolver::Resolve(const std::string& windowsPath, const std::string& baseFolder) const
{
    std::string base = baseFolder.empty() ? "." : baseFolder;
    if (HasDriveLetter(windowsPath)) {
        char letter = Upper(windowsPath[0]);
        auto rest = Components(windowsPath.substr(2));
        if (rest.empty())
            return {};
        for (const auto& mapping : m_mappings)
            if (mapping.letter == letter)
                if (auto found = Walk(mapping.root, rest); !found.empty())
                    return found;
        if (auto found = Walk(base, rest); !found.empty())
            return found;
        return Walk(base, { rest.back() });
    }
    auto parts = Components(windowsPath);
    if (parts.empty())
        return {};
    bool rooted = windowsPath[0] == '\\' || windowsPath[0] == '/';
    if (!rooted)
        return Walk(base, parts);
    if (auto found = Walk(base, parts); !found.empty())
        return found;
    if (auto found = Walk("/", parts); !found.empty())
        return found;
    return Walk(base, { parts.back() });
}

}  // namespace tamber
