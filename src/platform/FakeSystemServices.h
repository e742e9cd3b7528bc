#pragma once

#include <map>
#include <set>

#include "platform/SystemServices.h"

namespace tamber {

// SystemServices over an in-memory tree of names, for tests and fuzzing. Paths are absolute,
// '/'-separated. Drive kinds are assigned per folder prefix.
class FakeSystemServices final : public SystemServices {
public:
    explicit FakeSystemServices(std::string dataFolder = "/home/user/.local/share/tamber")
        : m_dataFolder(std::move(dataFolder)) { }

    void AddFile(const std::string& path);
    void AddDirectory(const std::string& path);
    // Paths at or under prefix lie on a drive of that kind.
    void SetDriveKind(const std::string& prefix, DriveKind kind) { m_kinds[prefix] = kind; }
    // Makes MakeDirectories fail, as on a read-only home.
    void RefuseDirectories(bool refuse) { m_refuseDirectories = refuse; }

    std::string DataFolder() const override { return m_dataFolder; }
    bool IsDirectory(const std::string& path) const override { return m_directories.count(Normal(path)) != 0; }
    bool IsFile(const std::string& path) const override { return m_files.count(Normal(path)) != 0; }
    std::vector<std::string> ListDirectory(const std::string& path) const override;
    int32_t MakeDirectories(const std::string& path) override;

protected:
    DriveKind ClassifyDrive(const std::string& path) const override;

private:
    static std::string Normal(const std::string& path);
    std::string m_dataFolder;
    std::set<std::string> m_files;
    std::set<std::string> m_directories { "/" };
    std::map<std::string, DriveKind> m_kinds;
    bool m_refuseDirectories = false;
};

}  // namespace tamber
