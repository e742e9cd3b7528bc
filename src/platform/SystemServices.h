#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tamber {

// A user mapping of a Windows drive letter to a folder ("D=/media/cdrom").
struct DriveMapping {
    char letter = 0;  // upper case
    std::string root;
};

// The kind of drive a file lies on, as far as a database cares: a CD-ROM gets hard-disk
// companions for cached media; a network drive gets freshness checks of its catalogue.
enum class DriveKind { Fixed, CdRom, Network };

// Operating-system services the database layer and the player need beyond plain file access:
// the per-user data folder (which stands in for the Windows folder), drive kinds and directory
// listings for resolving Windows paths without regard to case. PosixSystemServices is the real
// one; FakeSystemServices keeps an in-memory tree for tests.
class SystemServices {
public:
    virtual ~SystemServices() = default;

    // The per-user data folder, without a trailing slash.
    virtual std::string DataFolder() const = 0;
    virtual bool IsDirectory(const std::string& path) const = 0;
    virtual bool IsFile(const std::string& path) const = 0;
    // The names in a directory (without "." and ".."), sorted; empty when it cannot be read.
    virtual std::vector<std::string> ListDirectory(const std::string& path) const = 0;
    // Creates the directory and its missing parents. Answers 1 when it exists afterwards.
    virtual int32_t MakeDirectories(const std::string& path) = 0;

    // The kind of drive the path lies on; a forced kind wins (tests, --cdrom style options).
    DriveKind DriveKindOf(const std::string& path) const { return m_forced ? *m_forced : ClassifyDrive(path); }
    void ForceDriveKind(std::optional<DriveKind> kind) { m_forced = kind; }

    // The user's mappings of Windows drive letters to folders, for resolving catalogue paths.
    void SetDriveMappings(std::vector<DriveMapping> mappings) { m_mappings = std::move(mappings); }
    const std::vector<DriveMapping>& DriveMappings() const { return m_mappings; }

    // The folder that holds the companion files of databases on CD-ROM: "zd" in the data folder.
    std::string CompanionFolder() const { return DataFolder() + "/zd"; }

protected:
    virtual DriveKind ClassifyDrive(const std::string& path) const = 0;

private:
    std::optional<DriveKind> m_forced;
    std::vector<DriveMapping> m_mappings;
};

// The data folder: the option when given, else $XDG_DATA_HOME/tamber, else ~/.local/share/tamber
// (HOME unset: ./.local/share/tamber). Empty environment values count as unset.
std::string ChooseDataFolder(const std::string& option, const char* xdgDataHome, const char* home);

}  // namespace tamber
