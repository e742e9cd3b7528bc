#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tamberlyne/ProjectFormat.h"

namespace tamber {
class Element;
class InterfaceModel;
class MediaDatabase;
}  // namespace tamber

namespace tamberlyne {

// Reads a project folder (project.json, the Interface files, scripts, pictures, sounds, texts)
// and writes the database it describes: the media with their folders and jump tables, the
// Interfaces, the start settings ("MMStart") and the splash list ("MMFirst").
//
// Every problem is collected with the file, the element and the attribute it concerns, so one
// run reports them all; nothing is written once a problem was found.
class ProjectReader {
public:
    explicit ProjectReader(std::filesystem::path projectDir);

    // Reads project.json and checks every description, building each Interface in memory.
    // Answers false when anything is wrong (see Errors()).
    bool Load();
    // The password the database gets, or empty.
    const std::string& Password() const { return m_password; }
    // Writes the loaded project into db, a new empty database. progress, when given, receives
    // a line now and then for projects of many items.
    bool WriteInto(tamber::MediaDatabase& db, std::ostream* progress);

    const std::vector<std::string>& Errors() const { return m_errors; }
    int32_t MediaCount() const { return static_cast<int32_t>(m_media.size()); }
    int32_t InterfaceCount() const { return static_cast<int32_t>(m_interfaces.size()); }

    // Registers the element classes of the layers above the Interface model with the factory.
    static void RegisterElementClasses();

    // Builds one Interface description into model (which must own its Interface object). file
    // names the file the description came from; relative paths start at its folder. Media are
    // looked up among mediaIds: names in lower case, ids as "#ID".
    static bool BuildInterface(const Json& description, const std::filesystem::path& file,
        const std::filesystem::path& shownName, const std::map<std::string, uint32_t>& mediaIds,
        tamber::InterfaceModel& model, std::vector<std::string>& errors);

private:
    // One medium as the catalogue will hold it, read ahead so that problems show before writing.
    struct MediumPlan {
        Json description;
        std::string where;  // "project.json: medium "Logo""
        std::string name;
        std::string type;
        std::optional<uint32_t> id;
        std::vector<std::pair<std::string, tamber::MemoryBlock>> parts;
        std::vector<std::string> files;
        std::vector<std::pair<std::filesystem::path, std::filesystem::path>> copies;  // from, to (relative to the database)
        int32_t encoding = 0;
        int32_t cacheFlag = 0;
    };
    struct InterfacePlan {
        Json description;
        std::filesystem::path file;
        std::string shownFile;
        std::string name;
        std::optional<uint32_t> id;
        tamber::MemoryBlock record;
    };

    bool ReadProjectFile(Json& project);
    void PlanMedia(const Json& list);
    void PlanInterfaces(const Json& list);
    void AssignIds();
    bool PrepareMedium(MediumPlan& plan);
    void CheckStartAndSplash();
    bool WriteFolders(tamber::MediaDatabase& db);
    bool WriteJumps(tamber::MediaDatabase& db);
    bool WriteStartAndSplash(tamber::MediaDatabase& db);
    std::optional<uint32_t> MediaIdOf(const Json& reference) const;
    void Error(const std::string& where, const std::string& message);

    std::filesystem::path m_dir;
    std::filesystem::path m_projectFile;
    std::string m_shownProjectFile;
    Json m_project;
    std::string m_password;
    std::vector<MediumPlan> m_media;
    std::vector<InterfacePlan> m_interfaces;
    std::map<std::string, uint32_t> m_mediaIds;  // lower-case name -> id
    std::vector<std::string> m_errors;
};

}  // namespace tamberlyne
