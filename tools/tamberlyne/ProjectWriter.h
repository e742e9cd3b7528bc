#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "iface/AttributeValue.h"
#include "iface/ClassDefinition.h"
#include "tamberlyne/ProjectFormat.h"

namespace tamber {
class Element;
class InterfaceModel;
class MediaDatabase;
class MediaEntry;
}  // namespace tamber

namespace tamberlyne {

// One attribute of an element with its value.
struct AttributeEntry {
    const tamber::AttributeDef* def = nullptr;
    tamber::AttributeValue value;
};

// The attributes worth writing down for an element: those whose value differs from a new
// element of the same class, with the same frame (all of them with all set). Identity and
// geometry ("ID", "Name", the rectangle), the script, user attributes and values that are
// never stored are left out.
std::vector<AttributeEntry> DescribedAttributes(tamber::Element& element, bool all);

// Writes a project folder from a database, so that building the folder again gives the same
// catalogue, Interface, start and splash records. Interfaces become readable descriptions;
// where a description cannot reproduce the stored bytes of an element (or of a whole
// Interface), the stored bytes are kept in the description instead, and Notes() says so.
class ProjectWriter {
public:
    ProjectWriter(tamber::MediaDatabase& database, std::filesystem::path outDir);

    // The password written to project.json (the one the database was opened with).
    void SetPassword(std::string password) { m_password = std::move(password); }
    bool Write();

    const std::vector<std::string>& Errors() const { return m_errors; }
    const std::vector<std::string>& Notes() const { return m_notes; }

    // The description of an Interface loaded in model (elements, attributes, scripts), as the
    // project format writes it. Pictures go through sinks.
    static Json DescribeInterface(tamber::InterfaceModel& model, const project::ValueSinks& sinks);
    static Json DescribeElement(tamber::Element& element, const project::ValueSinks& sinks);

private:
    void NameMedia();
    Json MediaReference(uint32_t id) const;
    std::string FileName(const std::string& folder, const std::string& name, const std::string& extension);
    Json DescribeMedium(const tamber::MediaEntry& entry);
    bool DescribeInterfaceEntry(const tamber::MediaEntry& entry, Json& out);
    Json DescribeFolders();
    void DescribeStartAndSplash(Json& project);
    bool Save(const std::filesystem::path& path, const Json& json);

    tamber::MediaDatabase& m_db;
    std::filesystem::path m_dir;
    std::string m_password;
    std::vector<uint32_t> m_order;
    std::map<uint32_t, std::string> m_names;
    std::map<std::string, uint32_t> m_mediaIds;  // as ProjectReader::BuildInterface looks them up
    std::set<std::string> m_ambiguous;          // lower-case names several media share
    std::set<std::string> m_files;               // lower-case relative paths already written
    std::vector<std::string> m_errors;
    std::vector<std::string> m_notes;
};

}  // namespace tamberlyne
