#pragma once

#include <string>
#include <string_view>

#include "platform/SystemServices.h"

namespace tamber {

// Maps file-system types to drive kinds: iso9660 and udf are CD-ROMs; nfs, cifs/smb and the
// network FUSE file systems are network drives; everything else is fixed.
class DriveClassifier {
public:
    static DriveKind ClassifyType(std::string_view fsType);
    // The file-system type of the mount that holds absolutePath, from the text of
    // /proc/self/mountinfo (the longest matching mount point wins); empty when none matches.
    static std::string MountTypeOf(std::string_view mountinfo, std::string_view absolutePath);
    // Mount points in mountinfo escape space, tab, newline and backslash as octal (\040).
    static std::string UnescapeMountField(std::string_view field);
};

}  // namespace tamber
