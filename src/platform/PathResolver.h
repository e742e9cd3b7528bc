#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/SystemServices.h"

namespace tamber {

// Finds the file a Windows path of a catalogue names ("D:\VIDEO\INTRO.AVI", "..\ART\MAP.BMP")
// on a case-sensitive file system. Every component is matched without regard to ASCII case.
// A drive-letter path is tried against the user's mappings of that letter, then relative to
// the base folder with the drive removed, then by its file name alone in the base folder.
// A root-relative path ("\ART\MAP.BMP") is tried under the base folder, then as it stands, then
// by its file name. Other paths are relative to the base folder.
class PathResolver {
public:
    // Uses the system's drive mappings, or the given ones.
    explicit PathResolver(const SystemServices& system) : m_system(system), m_mappings(system.DriveMappings()) { }
    PathResolver(const SystemServices& system, std::vector<DriveMapping> mappings)
        : m_system(system), m_mappings(std::move(mappings)) { }

    // Parses "D=/path" (letter in any case). Answers 1, or 0 when the text is not a mapping.
    static int32_t ParseMapping(const std::string& text, DriveMapping& out);

    // The existing file's path, or empty when the path does not resolve (reads as missing).
    std::string Resolve(const std::string& windowsPath, const std::string& baseFolder) const;

    // Splits a Windows or POSIX path into its components ('\' and '/' both separate).
    static std::vector<std::string> Components(const std::string& path);

private:
    // Walks components from folder, matching names without regard to case; ".." climbs.
    std::string Walk(const std::string& folder, const std::vector<std::string>& components) const;

    const SystemServices& m_system;
    std::vector<DriveMapping> m_mappings;
};

}  // namespace tamber
