#pragma once

#include "platform/SystemServices.h"

namespace tamber {

// SystemServices on a POSIX system. Drive kinds come from /proc/self/mountinfo, falling back to
// the file-system magic number that statfs reports.
class PosixSystemServices final : public SystemServices {
public:
    // dataFolderOption: the --data-dir value, or empty for the default (see ChooseDataFolder).
    explicit PosixSystemServices(const std::string& dataFolderOption = {});

    std::string DataFolder() const override { return m_dataFolder; }
    bool IsDirectory(const std::string& path) const override;
    bool IsFile(const std::string& path) const override;
    std::vector<std::string> ListDirectory(const std::string& path) const override;
    int32_t MakeDirectories(const std::string& path) override;

protected:
    DriveKind ClassifyDrive(const std::string& path) const override;

private:
    std::string m_dataFolder;
};

}  // namespace tamber
