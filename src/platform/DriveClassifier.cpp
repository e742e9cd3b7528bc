#include "platform/DriveClassifier.h"

#include <array>
#include <sstream>
#include <vector>

namespace tamber {

namespace {

struct TypeKind {
    std::string_view type;
    DriveKind kind;
};

constexpr std::array kKnownTypes {
    TypeKind { "iso9660", DriveKind::CdRom },
    TypeKind { "udf", DriveKind::CdRom },
    TypeKind { "nfs", DriveKind::Network },
    TypeKind { "nfs4", DriveKind::Network },
    TypeKind { "cifs", DriveKind::Network },
    TypeKind { "smb", DriveKind::Network },
    TypeKind { "smb2", DriveKind::Network },
    TypeKind { "smb3", DriveKind::Network },
    TypeKind { "smbfs", DriveKind::Network },
    TypeKind { "ncpfs", DriveKind::Network },
    TypeKind { "afs", DriveKind::Network },
    TypeKind { "ceph", DriveKind::Network },
    TypeKind { "9p", DriveKind::Network },
    TypeKind { "davfs", DriveKind::Network },
    TypeKind { "fuse.sshfs", DriveKind::Network },
    TypeKind { "fuse.rclone", DriveKind::Network },
    TypeKind { "fuse.s3fs", DriveKind::Network },
    TypeKind { "fuse.gcsfuse", DriveKind::Network },
    TypeKind { "fuse.glusterfs", DriveKind::Network },
    TypeKind { "fuse.smbnetfs", DriveKind::Network },
    TypeKind { "fuse.curlftpfs", DriveKind::Network },
    TypeKind { "fuse.davfs2", DriveKind::Network },
    TypeKind { "fuse.gvfsd-fuse", DriveKind::Network },
};

bool UnderMountPoint(std::string_view path, std::string_view mountPoint)
{
    if (mountPoint == "/")
        return !path.empty() && path[0] == '/';
    if (path.substr(0, mountPoint.size()) != mountPoint)
        return false;
    return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

}  // namespace

DriveKind DriveClassifier::ClassifyType(std::string_view fsType)
{
    for (const auto& known : kKnownTypes)
        if (known.type == fsType)
            return known.kind;
    return DriveKind::Fixed;
}

std::string DriveClassifier::UnescapeMountField(std::string_view field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3'
            && field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::string DriveClassifier::MountTypeOf(std::string_view mountinfo, std::string_view absolutePath)
{
    // A line: id parent major:minor root mount-point options [optional fields] - type source ...
    std::string bestType;
    size_t bestLength = 0;
    bool found = false;
    size_t start = 0;
    while (start < mountinfo.size()) {
        size_t end = mountinfo.find('\n', start);
        if (end == std::string_view::npos)
            end = mountinfo.size();
        std::string line(mountinfo.substr(start, end - start));
        start = end + 1;
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string w; words >> w;)
            fields.push_back(w);
        size_t dash = 0;
        for (size_t i = 6; i < fields.size(); ++i)
            if (fields[i] == "-") {
                dash = i;
                break;
            }
        if (fields.size() < 5 || dash == 0 || dash + 1 >= fields.size())
            continue;
        std::string mountPoint = UnescapeMountField(fields[4]);
        // Later mounts over the same point hide earlier ones, hence >=.
        if (UnderMountPoint(absolutePath, mountPoint) && (!found || mountPoint.size() >= bestLength)) {
            bestLength = mountPoint.size();
            bestType = fields[dash + 1];
            found = true;
        }
    }
    return bestType;
}

}  // namespace tamber
