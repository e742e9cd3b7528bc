#include "tamberlyne/ProjectReader.h"

#include <algorithm>
#include <fstream>
#include <set>

#include "base/AsciiCase.h"
#include "db/JumpTable.h"
#include "db/MediaCatalogFormat.h"
#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "elements/ControlElements.h"
#include "elements/ListElementBase.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "iface/UserDefinitions.h"
#include "script/HandlerHeader.h"
#include "script/HandlerIndex.h"
#include "text/TextElement.h"

namespace tamberlyne {

namespace fs = std::filesystem;
using tamber::AttributeDef;
using tamber::AttributeValue;
using tamber::Element;
using tamber::MemoryBlock;

namespace {

constexpr int32_t kProgressThreshold = 20;

struct TextStyleFlag {
    const char* key;
    uint32_t bit;
};
const TextStyleFlag kTextStyleFlags[] = {
    {"bold", project::TextStyle::kBold},
    {"italic", project::TextStyle::kItalic},
    {"underline", project::TextStyle::kUnderline},
    {"strikeOut", project::TextStyle::kStrikeOut},
};

// The keys each kind of description may hold; anything else is a typing mistake worth reporting.
const std::vector<std::string> kProjectKeys = {"format", "password", "start", "splash", "folders", "media", "interfaces"};
const std::vector<std::string> kStartKeys = {"interface", "caption", "frameStyle", "interface800", "interface1024",
    "interface1280"};
const std::vector<std::string> kSplashKeys = {"media", "x", "y", "width", "height", "loop", "note"};
const std::vector<std::string> kFolderKeys = {"name", "media", "folders"};
const std::vector<std::string> kMediumKeys = {"name", "id", "type", "file", "external", "path", "hots", "mode",
    "parts", "files", "encoding", "cache", "jumps", "font", "size", "color", "background", "bold", "italic",
    "underline", "strikeOut"};
const std::vector<std::string> kPartKeys = {"tag", "file", "base64"};
const std::vector<std::string> kJumpKeys = {"id", "name", "media", "base64"};
const std::vector<std::string> kInterfaceKeys = {"name", "id", "attributes", "script", "scriptFile",
    "userAttributes", "userEvents", "grid", "guides", "effect", "background", "cards", "record"};
const std::vector<std::string> kCardKeys = {"name", "elements"};
const std::vector<std::string> kElementKeys = {"type", "id", "name", "rect", "attributes", "items", "script",
    "scriptFile", "userAttributes", "userEvents", "block"};
const std::vector<std::string> kUserAttributeKeys = {"name", "type", "value"};
const std::vector<std::string> kUserEventKeys = {"name", "params"};
const std::vector<std::string> kGuideKeys = {"kind", "first", "second", "card"};

// How the builder stores a source file by its extension.
enum class SourceKind { Picture, Sound, Video, Text };
struct SourceExtension {
    const char* extension;
    SourceKind kind;
    const char* type;
};
const SourceExtension kSourceExtensions[] = {
    {".bmp", SourceKind::Picture, project::kGraphicType},
    {".wav", SourceKind::Sound, project::kAudioType},
    {".avi", SourceKind::Video, project::kVideoType},
    {".txt", SourceKind::Text, project::kTextType},
};

std::string Quote(const std::string& text)
{
    return "\"" + text + "\"";
}

// Collects the problems of one description under a common prefix.
class Problems {
public:
    Problems(std::vector<std::string>& errors, std::string where) : m_errors(errors), m_where(std::move(where)) { }
    void Add(const std::string& message) { m_errors.push_back(m_where + ": " + message); }
    Problems Sub(const std::string& what) const { return Problems(m_errors, m_where + ": " + what); }
    size_t Count() const { return m_errors.size(); }

private:
    std::vector<std::string>& m_errors;
    std::string m_where;
};

bool CheckObject(const Json& json, const std::vector<std::string>& keys, Problems problems, const char* what)
{
    if (!json.is_object()) {
        problems.Add(std::string("expected ") + what + " (a JSON object)");
        return false;
    }
    bool ok = true;
    for (auto it = json.begin(); it != json.end(); ++it) {
        if (std::find(keys.begin(), keys.end(), it.key()) == keys.end()) {
            problems.Add("unknown key " + Quote(it.key()));
            ok = false;
        }
    }
    return ok;
}

std::optional<int64_t> IntegerField(const Json& object, const char* key, int64_t low, int64_t high,
    Problems problems)
{
    if (!object.contains(key))
        return std::nullopt;
    const Json& value = object[key];
    if (!value.is_number_integer() || value.get<int64_t>() < low || value.get<int64_t>() > high) {
        problems.Add(Quote(key) + ": expected a whole number from " + std::to_string(low) + " to "
            + std::to_string(high));
        return std::nullopt;
    }
    return value.get<int64_t>();
}

std::string StringField(const Json& object, const char* key, Problems problems, const std::string& fallback = {})
{
    if (!object.contains(key))
        return fallback;
    if (!object[key].is_string()) {
        problems.Add(Quote(key) + ": expected a string");
        return fallback;
    }
    return object[key].get<std::string>();
}

bool BoolField(const Json& object, const char* key, Problems problems, bool fallback = false)
{
    if (!object.contains(key))
        return fallback;
    if (!object[key].is_boolean()) {
        problems.Add(Quote(key) + ": expected true or false");
        return fallback;
    }
    return object[key].get<bool>();
}

// Reads a file named relative to base, refusing names that leave nothing to read.
bool ReadRelative(const fs::path& base, const std::string& name, MemoryBlock& bytes, std::string& error)
{
    if (name.empty()) {
        error = "empty file name";
        return false;
    }
    fs::path path = base / name;
    if (!project::ReadWholeFile(path, bytes)) {
        error = "cannot read " + path.string();
        return false;
    }
    return true;
}

// Script text given inline (a string, or a list of lines) or in a file.
std::optional<std::string> ScriptText(const Json& object, const fs::path& base, Problems problems)
{
    if (object.contains("script") && object.contains("scriptFile")) {
        problems.Add("give \"script\" or \"scriptFile\", not both");
        return std::nullopt;
    }
    if (object.contains("scriptFile")) {
        std::string name = StringField(object, "scriptFile", problems);
        MemoryBlock bytes;
        std::string error;
        if (!ReadRelative(base, name, bytes, error)) {
            problems.Add("\"scriptFile\": " + error);
            return std::nullopt;
        }
        return bytes.ToString();
    }
    if (!object.contains("script"))
        return std::nullopt;
    const Json& script = object["script"];
    if (script.is_string())
        return script.get<std::string>();
    if (script.is_array()) {
        std::string text;
        for (size_t i = 0; i < script.size(); ++i) {
            if (!script[i].is_string()) {
                problems.Add("\"script\": expected a string or a list of lines");
                return std::nullopt;
            }
            text += (i ? "\n" : "") + script[i].get<std::string>();
        }
        return text;
    }
    problems.Add("\"script\": expected a string or a list of lines");
    return std::nullopt;
}

// Stores a script with its headers in the one form the player finds ("Event ( ) {"); handlers
// that would never run are errors of the project.
void SetScript(Element& element, const std::string& text, Problems problems)
{
    element.Script() = project::ScriptFromText(text);
    for (const std::string& problem : tamber::HandlerHeader::Check(element))
        problems.Add("script " + problem);
    tamber::HandlerIndex::NormaliseHeaders(element.Script());
    tamber::HandlerIndex::Rebuild(element.Script(), element.Tokens());
}

bool ReadRect(const Json& json, tamber::CardRect& rect, Problems problems)
{
    bool ok = json.is_array() && json.size() == 4;
    for (size_t i = 0; ok && i < 4; ++i)
        ok = json[i].is_number_integer() && json[i].get<int64_t>() >= INT32_MIN && json[i].get<int64_t>() <= INT32_MAX;
    if (!ok) {
        problems.Add("\"rect\": expected [left, top, width, height]");
        return false;
    }
    rect = {json[0].get<int32_t>(), json[1].get<int32_t>(), json[2].get<int32_t>(), json[3].get<int32_t>()};
    return true;
}

void AddUserAttributes(Element& element, const Json& list, const project::ValueSources& sources, Problems problems)
{
    if (!list.is_array()) {
        problems.Add("\"userAttributes\": expected a list");
        return;
    }
    for (const Json& entry : list) {
        if (!CheckObject(entry, kUserAttributeKeys, problems.Sub("user attribute"), "a user attribute"))
            continue;
        std::string name = StringField(entry, "name", problems);
        Problems here = problems.Sub("user attribute " + Quote(name));
        std::optional<ValueType> type = project::ParseTypeName(StringField(entry, "type", here));
        const auto& offered = tamber::user_definitions::kAttributeTypes;
        if (!type || std::find(offered.begin(), offered.end(), *type) == offered.end()) {
            here.Add("\"type\": expected one of Double, Long, Color, Short, Byte, Boolean, String, Font, Text, "
                     "Picture, Palette");
            continue;
        }
        std::string_view refusal = tamber::user_definitions::CheckAttributeName(element, name);
        if (!refusal.empty()) {
            here.Add(std::string(refusal));
            continue;
        }
        if (!element.AddUserAttribute(name, *type)) {
            here.Add("the name is taken");
            continue;
        }
        if (!entry.contains("value"))
            continue;
        AttributeValue value;
        std::string error;
        if (!project::ValueFromJson(entry["value"], *type, nullptr, sources, value, error))
            here.Add("\"value\": " + error);
        else if (element.SetAttribute(name, *type, value) != 1)
            here.Add("the value was refused");
    }
}

void AddUserEvents(Element& element, const Json& list, Problems problems)
{
    if (!list.is_array()) {
        problems.Add("\"userEvents\": expected a list");
        return;
    }
    for (const Json& entry : list) {
        if (!CheckObject(entry, kUserEventKeys, problems.Sub("user event"), "a user event"))
            continue;
        tamber::EventDef def;
        def.name = StringField(entry, "name", problems);
        Problems here = problems.Sub("user event " + Quote(def.name));
        std::string_view refusal = tamber::user_definitions::CheckEventName(def.name);
        if (!refusal.empty()) {
            here.Add(std::string(refusal));
            continue;
        }
        const Json params = entry.value("params", Json::array());
        if (!params.is_array() || params.size() > def.params.size()) {
            here.Add("\"params\": expected a list of at most 4 parameters");
            continue;
        }
        bool ok = true;
        for (size_t i = 0; i < params.size(); ++i) {
            ValueType type = ValueType::Void;
            std::string name;
            if (params[i].is_object()) {
                type = project::ParseTypeName(StringField(params[i], "type", here)).value_or(ValueType::Void);
                name = StringField(params[i], "name", here);
            }
            if (type == ValueType::Void || !tamber::user_definitions::CheckEventName(name).empty()) {
                here.Add("parameter " + std::to_string(i + 1) + ": expected {\"type\": TYPE, \"name\": NAME}");
                ok = false;
                continue;
            }
            def.params[i] = tamber::ParamDef {type, name};
        }
        if (ok && !element.AddUserEvent(def))
            here.Add("the name is taken");
    }
}

// Applies the attributes of a description in the order given.
void ApplyAttributes(Element& element, const Json& attributes, const project::ValueSources& sources,
    Problems problems)
{
    if (!attributes.is_object()) {
        problems.Add("\"attributes\": expected an object of NAME: VALUE");
        return;
    }
    for (auto it = attributes.begin(); it != attributes.end(); ++it) {
        Problems here = problems.Sub("attribute " + Quote(it.key()));
        const AttributeDef* def = tamber::FindAttribute(element.AttributeTable(), it.key());
        if (!def)
            def = tamber::FindAttribute(element.CommonAttributeTable(), it.key());
        if (!def) {
            here.Add("no such attribute in class " + element.GetTypeName());
            continue;
        }
        if ((def->flags & (tamber::AF_WRITE | tamber::AF_DESIGN)) == 0 || def->type == ValueType::Special
            || def->type == ValueType::Void) {
            here.Add("cannot be set (" + std::string(tamber::TypeName(def->type)) + ", read-only or set otherwise)");
            continue;
        }
        AttributeValue value;
        std::string error;
        if (!project::ValueFromJson(it.value(), def->type, def, sources, value, error)) {
            here.Add(error);
            continue;
        }
        if (def->type == ValueType::Script) {
            SetScript(element, it.value().get<std::string>(), here);
            continue;
        }
        if (element.SetAttribute(def->name, def->type, value) != 1)
            here.Add("the value was refused");
    }
}

bool ParseJsonFile(const fs::path& path, Json& out, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot be read";
        return false;
    }
    try {
        out = Json::parse(in);
    } catch (const Json::exception& e) {
        error = std::string("not valid JSON: ") + e.what();
        return false;
    }
    return true;
}

struct ElementDraft {
    const Json* description;
    int32_t card;
    Element* element;
    std::string label;
    int32_t id;  // 0: assigned
};

}  // namespace

ProjectReader::ProjectReader(fs::path projectDir)
    : m_dir(std::move(projectDir))
    , m_projectFile(m_dir / project::kProjectFile)
    , m_shownProjectFile(m_projectFile.string())
{
    RegisterElementClasses();
}

void ProjectReader::RegisterElementClasses()
{
    tamber::RegisterControlElements(tamber::ElementFactory::Process());
    tamber::RegisterTextElement(tamber::ElementFactory::Process());
}

void ProjectReader::Error(const std::string& where, const std::string& message)
{
    m_errors.push_back(where + ": " + message);
}

bool ProjectReader::ReadProjectFile(Json& project)
{
    std::error_code ec;
    if (!fs::is_directory(m_dir, ec)) {
        Error(m_dir.string(), "not a project folder");
        return false;
    }
    std::string error;
    if (!ParseJsonFile(m_projectFile, project, error)) {
        Error(m_shownProjectFile, error);
        return false;
    }
    return CheckObject(project, kProjectKeys, Problems(m_errors, m_shownProjectFile), "the project");
}

bool ProjectReader::Load()
{
    m_errors.clear();
    if (!ReadProjectFile(m_project))
        return false;
    Problems problems(m_errors, m_shownProjectFile);
    if (auto format = IntegerField(m_project, "format", 1, 1000, problems); format && *format > project::kFormatVersion)
        problems.Add("format " + std::to_string(*format) + " is newer than this program reads ("
            + std::to_string(project::kFormatVersion) + ")");
    m_password = StringField(m_project, "password", problems);
    if (m_project.contains("media"))
        PlanMedia(m_project["media"]);
    if (m_project.contains("interfaces"))
        PlanInterfaces(m_project["interfaces"]);
    AssignIds();
    for (MediumPlan& plan : m_media)
        PrepareMedium(plan);
    for (InterfacePlan& plan : m_interfaces) {
        tamber::InterfaceModel model;
        model.AdoptInterface(std::make_unique<tamber::InterfaceObject>());
        if (plan.description.contains("record")) {
            std::string text = StringField(plan.description, "record", Problems(m_errors, plan.shownFile));
            if (!project::Base64Decode(text, plan.record))
                Error(plan.shownFile, "\"record\": not base64");
            continue;
        }
        if (BuildInterface(plan.description, plan.file, plan.shownFile, m_mediaIds, model, m_errors))
            tamber::InterfaceRecord::Write(model, plan.record);
    }
    CheckStartAndSplash();
    return m_errors.empty();
}

void ProjectReader::PlanMedia(const Json& list)
{
    Problems problems(m_errors, m_shownProjectFile);
    if (!list.is_array()) {
        problems.Add("\"media\": expected a list");
        return;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        MediumPlan plan;
        plan.description = list[i];
        plan.name = list[i].is_object() ? list[i].value("name", Json("")).is_string()
            ? list[i].value("name", std::string()) : std::string() : std::string();
        plan.where = m_shownProjectFile + ": medium " + (plan.name.empty() ? "#" + std::to_string(i + 1) : Quote(plan.name));
        Problems here(m_errors, plan.where);
        if (!CheckObject(list[i], kMediumKeys, here, "a medium"))
            continue;
        if (plan.name.empty()) {
            here.Add("\"name\": a medium needs a name");
            continue;
        }
        if (auto id = IntegerField(list[i], "id", 1, UINT32_MAX, here))
            plan.id = static_cast<uint32_t>(*id);
        m_media.push_back(std::move(plan));
    }
}

void ProjectReader::PlanInterfaces(const Json& list)
{
    Problems problems(m_errors, m_shownProjectFile);
    if (!list.is_array()) {
        problems.Add("\"interfaces\": expected a list");
        return;
    }
    for (const Json& entry : list) {
        InterfacePlan plan;
        if (entry.is_string()) {
            plan.file = m_dir / entry.get<std::string>();
            plan.shownFile = plan.file.string();
            std::string error;
            if (!ParseJsonFile(plan.file, plan.description, error)) {
                Error(plan.shownFile, error);
                continue;
            }
        } else {
            plan.file = m_projectFile;
            plan.description = entry;
            plan.shownFile = m_shownProjectFile;
        }
        Problems here(m_errors, plan.shownFile);
        if (!CheckObject(plan.description, kInterfaceKeys, here, "an Interface"))
            continue;
        plan.name = StringField(plan.description, "name", here);
        if (plan.name.empty()) {
            here.Add("\"name\": an Interface needs a name");
            continue;
        }
        if (plan.file == m_projectFile)
            plan.shownFile += ": Interface " + Quote(plan.name);
        if (auto id = IntegerField(plan.description, "id", 1, UINT32_MAX, Problems(m_errors, plan.shownFile)))
            plan.id = static_cast<uint32_t>(*id);
        m_interfaces.push_back(std::move(plan));
    }
}

// Media keep the ids the project gives; the others take the next free ones in project order.
void ProjectReader::AssignIds()
{
    std::set<uint32_t> taken;
    std::set<std::string> interfaceNames;
    auto claim = [&](std::optional<uint32_t>& id, const std::string& where) {
        if (id && !taken.insert(*id).second) {
            Error(where, "id " + std::to_string(*id) + " is used twice");
            id.reset();
        }
    };
    for (MediumPlan& plan : m_media)
        claim(plan.id, plan.where);
    for (InterfacePlan& plan : m_interfaces) {
        claim(plan.id, plan.shownFile);
        if (!interfaceNames.insert(tamber::LowerAscii(plan.name)).second)
            Error(plan.shownFile, "a second Interface named " + Quote(plan.name));
    }
    uint32_t next = 1;
    auto assign = [&](std::optional<uint32_t>& id) {
        if (id)
            return;
        while (taken.count(next))
            ++next;
        id = next;
        taken.insert(next);
    };
    for (MediumPlan& plan : m_media) {
        assign(plan.id);
        m_mediaIds.emplace(tamber::LowerAscii(plan.name), *plan.id);
        m_mediaIds.emplace("#" + std::to_string(*plan.id), *plan.id);
    }
    for (InterfacePlan& plan : m_interfaces) {
        assign(plan.id);
        m_mediaIds.emplace(tamber::LowerAscii(plan.name), *plan.id);
        m_mediaIds.emplace("#" + std::to_string(*plan.id), *plan.id);
    }
}

std::optional<uint32_t> ProjectReader::MediaIdOf(const Json& reference) const
{
    if (reference.is_string()) {
        auto it = m_mediaIds.find(tamber::LowerAscii(reference.get<std::string>()));
        if (it != m_mediaIds.end())
            return it->second;
    } else if (reference.is_number_integer()) {
        for (const auto& [name, id] : m_mediaIds)
            if (reference.get<int64_t>() == id)
                return id;
    }
    return std::nullopt;
}

bool ProjectReader::PrepareMedium(MediumPlan& plan)
{
    const Json& d = plan.description;
    Problems problems(m_errors, plan.where);
    const size_t before = problems.Count();
    const fs::path base = m_dir;
    plan.type = StringField(d, "type", problems);
    plan.encoding = static_cast<int32_t>(IntegerField(d, "encoding", 0, 2, problems).value_or(0));
    plan.cacheFlag = static_cast<int32_t>(IntegerField(d, "cache", INT32_MIN, INT32_MAX, problems).value_or(0));

    if (d.contains("file")) {
        std::string file = StringField(d, "file", problems);
        std::string extension = tamber::LowerAscii(fs::path(file).extension().string());
        const SourceExtension* source = nullptr;
        for (const SourceExtension& candidate : kSourceExtensions)
            if (extension == candidate.extension)
                source = &candidate;
        if (!source) {
            problems.Add("\"file\": " + Quote(file) + " is not a .bmp, .wav, .avi or .txt file (give \"parts\" instead)");
            return false;
        }
        if (plan.type.empty())
            plan.type = source->type;
        bool external = BoolField(d, "external", problems, source->kind == SourceKind::Video);
        MemoryBlock bytes;
        std::string error;
        if (!ReadRelative(base, file, bytes, error)) {
            problems.Add("\"file\": " + error);
            return false;
        }
        if (external) {
            std::string stored = StringField(d, "path", problems, fs::path(file).filename().string());
            plan.files.push_back(stored);
            if (!fs::path(stored).is_absolute() && stored.find(':') == std::string::npos
                && stored.find('\\') == std::string::npos)
                plan.copies.emplace_back(base / file, stored);
        } else if (source->kind == SourceKind::Text) {
            plan.parts.emplace_back(tamber::catalog::kTagText, project::ScriptFromText(bytes.ToString()));
            project::TextStyle style;
            style.font = StringField(d, "font", problems, style.font);
            if (style.font.size() > static_cast<size_t>(project::TextStyle::kMaxFontName))
                problems.Add("\"font\": longer than " + std::to_string(project::TextStyle::kMaxFontName) + " characters");
            style.pointSize = static_cast<int32_t>(IntegerField(d, "size", 1, 1000, problems).value_or(style.pointSize));
            for (const TextStyleFlag& flag : kTextStyleFlags)
                if (BoolField(d, flag.key, problems))
                    style.flags |= flag.bit;
            for (auto [key, color] : {std::pair {"color", &style.color}, std::pair {"background", &style.background}}) {
                if (!d.contains(key))
                    continue;
                std::optional<uint32_t> parsed = project::ParseColor(d[key]);
                if (!parsed)
                    problems.Add(Quote(key) + ": expected a colour \"#RRGGBB\"");
                *color = parsed.value_or(0);
            }
            plan.parts.emplace_back(tamber::catalog::kTagStyl, project::StylePart(style));
            plan.parts.emplace_back(tamber::catalog::kTagRulr, project::RulerPart());
        } else {
            plan.parts.emplace_back(tamber::catalog::kTagData, bytes);
        }
        for (auto [key, tag] : {std::pair {"hots", tamber::catalog::kTagHots}, std::pair {"mode", tamber::catalog::kTagMode}}) {
            if (!d.contains(key))
                continue;
            MemoryBlock part;
            if (!ReadRelative(base, StringField(d, key, problems), part, error))
                problems.Add(Quote(key) + ": " + error);
            plan.parts.emplace_back(tag, part);
        }
    } else {
        for (const char* key : {"external", "path", "hots", "mode", "font", "size", "color", "background"})
            if (d.contains(key))
                problems.Add(Quote(key) + ": only with \"file\"");
        if (plan.type.empty())
            problems.Add("\"type\": a medium without \"file\" needs its type");
    }

    if (d.contains("parts")) {
        const Json& parts = d["parts"];
        if (!parts.is_array())
            problems.Add("\"parts\": expected a list");
        for (const Json& part : parts.is_array() ? parts : Json::array()) {
            if (!CheckObject(part, kPartKeys, problems.Sub("part"), "a part"))
                continue;
            std::string tag = StringField(part, "tag", problems);
            Problems here = problems.Sub("part " + Quote(tag));
            if (tag.empty() || tag.size() > 4) {
                here.Add("\"tag\": expected 1 to 4 characters");
                continue;
            }
            MemoryBlock bytes;
            std::string error;
            if (part.contains("file") == part.contains("base64"))
                here.Add("give \"file\" or \"base64\"");
            else if (part.contains("file") && !ReadRelative(base, StringField(part, "file", here), bytes, error))
                here.Add("\"file\": " + error);
            else if (part.contains("base64") && !project::Base64Decode(StringField(part, "base64", here), bytes))
                here.Add("\"base64\": not base64");
            plan.parts.emplace_back(tag, bytes);
        }
    }
    if (d.contains("files")) {
        const Json& files = d["files"];
        for (const Json& file : files.is_array() ? files : Json::array()) {
            if (!file.is_string())
                problems.Add("\"files\": expected a list of paths");
            else
                plan.files.push_back(file.get<std::string>());
        }
        if (!files.is_array())
            problems.Add("\"files\": expected a list of paths");
    }
    if (d.contains("jumps") && !d["jumps"].is_array())
        problems.Add("\"jumps\": expected a list");
    for (const Json& jump : d.contains("jumps") && d["jumps"].is_array() ? d["jumps"] : Json::array()) {
        if (!CheckObject(jump, kJumpKeys, problems.Sub("jump"), "a jump target"))
            continue;
        IntegerField(jump, "id", INT32_MIN, INT32_MAX, problems.Sub("jump"));
        StringField(jump, "name", problems.Sub("jump"));
        if (jump.contains("media") == jump.contains("base64"))
            problems.Add("jump: give \"media\" or \"base64\"");
        else if (jump.contains("media") && !MediaIdOf(jump["media"]))
            problems.Add("jump: no medium " + jump["media"].dump() + " in the project");
    }
    return problems.Count() == before;
}

void ProjectReader::CheckStartAndSplash()
{
    Problems problems(m_errors, m_shownProjectFile);
    if (m_project.contains("start")) {
        const Json& start = m_project["start"];
        Problems here = problems.Sub("\"start\"");
        if (CheckObject(start, kStartKeys, here, "the start settings")) {
            IntegerField(start, "frameStyle", INT16_MIN, INT16_MAX, here);
            for (const char* key : {"interface", "interface800", "interface1024", "interface1280"}) {
                std::string name = StringField(start, key, here);
                bool known = name.empty()
                    || std::any_of(m_interfaces.begin(), m_interfaces.end(),
                        [&](const InterfacePlan& plan) { return tamber::EqualFolded(plan.name, name); })
                    || std::any_of(m_media.begin(), m_media.end(), [&](const MediumPlan& plan) {
                           return tamber::EqualFolded(plan.name, name)
                               && tamber::EqualFolded(plan.type, project::kInterfaceType);
                       });
                if (!known)
                    here.Add(Quote(key) + ": no Interface named " + Quote(name) + " in the project");
            }
            StringField(start, "caption", here);
        }
    }
    if (m_project.contains("splash")) {
        const Json& splash = m_project["splash"];
        if (!splash.is_array())
            problems.Add("\"splash\": expected a list");
        for (const Json& item : splash.is_array() ? splash : Json::array()) {
            Problems here = problems.Sub("splash item");
            if (!CheckObject(item, kSplashKeys, here, "a splash item"))
                continue;
            if (!item.contains("media") || !MediaIdOf(item["media"]))
                here.Add("\"media\": expected the name or id of a medium in the project");
            for (const char* key : {"x", "y", "width", "height"})
                IntegerField(item, key, INT32_MIN, INT32_MAX, here);
            BoolField(item, "loop", here);
            if (StringField(item, "note", here).size() >= static_cast<size_t>(project::kSplashNoteSize))
                here.Add("\"note\": longer than 127 characters");
        }
    }
    if (m_project.contains("folders")) {
        std::function<void(const Json&, Problems)> check = [&](const Json& folder, Problems here) {
            if (!CheckObject(folder, kFolderKeys, here, "a folder"))
                return;
            StringField(folder, "name", here);
            for (const Json& medium : folder.value("media", Json::array()))
                if (!MediaIdOf(medium))
                    here.Add("\"media\": no medium " + medium.dump() + " in the project");
            for (const Json& sub : folder.value("folders", Json::array()))
                check(sub, here.Sub("folder " + Quote(sub.is_object() ? sub.value("name", std::string()) : "")));
        };
        check(m_project["folders"], problems.Sub("\"folders\""));
    }
}

bool ProjectReader::BuildInterface(const Json& d, const fs::path& file, const fs::path& shownName,
    const std::map<std::string, uint32_t>& mediaIds, tamber::InterfaceModel& model, std::vector<std::string>& errors)
{
    const size_t before = errors.size();
    Problems problems(errors, shownName.string());
    const fs::path base = file.parent_path();
    tamber::InterfaceObject& self = *model.Interface();

    // Where each element stands and which ids are taken; ids are unique within the Interface.
    std::vector<std::pair<int32_t, const Json*>> cards;
    if (d.contains("background")) {
        if (CheckObject(d["background"], kCardKeys, problems.Sub("background"), "the Background"))
            cards.emplace_back(tamber::InterfaceModel::kBackground, &d["background"]);
    }
    const Json cardList = d.value("cards", Json::array());
    if (!cardList.is_array())
        problems.Add("\"cards\": expected a list");
    for (size_t i = 0; cardList.is_array() && i < cardList.size(); ++i) {
        tamber::Card& card = model.AddCard();
        Problems here = problems.Sub("Card " + std::to_string(i + 1));
        if (CheckObject(cardList[i], kCardKeys, here, "a Card")) {
            card.name = StringField(cardList[i], "name", here, card.name);
            cards.emplace_back(static_cast<int32_t>(i), &cardList[i]);
        }
    }
    if (model.NumCards() == 0)
        model.AddCard();

    std::set<int32_t> taken;
    std::vector<ElementDraft> drafts;
    for (auto [card, description] : cards) {
        const Json elements = description->value("elements", Json::array());
        std::string cardLabel = card == tamber::InterfaceModel::kBackground ? "Background" : "Card " + std::to_string(card + 1);
        if (!elements.is_array()) {
            problems.Sub(cardLabel).Add("\"elements\": expected a list");
            continue;
        }
        for (size_t i = 0; i < elements.size(); ++i) {
            const Json& e = (*description)["elements"][i];
            std::string label = cardLabel + " element " + std::to_string(i + 1);
            if (e.is_object() && e.contains("name") && e["name"].is_string())
                label += " " + Quote(e["name"].get<std::string>());
            Problems here = problems.Sub(label);
            if (!CheckObject(e, kElementKeys, here, "an element"))
                continue;
            std::optional<int64_t> id = IntegerField(e, "id", 1, INT32_MAX, here);
            if (id && !taken.insert(static_cast<int32_t>(*id)).second)
                here.Add("\"id\": " + std::to_string(*id) + " is used twice in this Interface");
            drafts.push_back({&e, card, nullptr, label, static_cast<int32_t>(id.value_or(0))});
        }
    }
    int32_t nextId = 1;
    for (ElementDraft& draft : drafts) {
        const Json& e = *draft.description;
        Problems here = problems.Sub(draft.label);
        std::string type = StringField(e, "type", here);
        int32_t id = draft.id;
        while (id == 0 && taken.count(nextId))
            ++nextId;
        if (id == 0) {
            id = nextId;
            taken.insert(id);
        }
        tamber::CardRect rect;
        if (e.contains("rect"))
            ReadRect(e["rect"], rect, here);
        std::unique_ptr<Element> element = tamber::CreateElement(&model, type, rect, id);
        if (!element) {
            here.Add("\"type\": no element class " + Quote(type));
            continue;
        }
        draft.label += " (" + element->GetTypeName() + ")";
        if (e.contains("name")) {
            std::string name = StringField(e, "name", here);
            if (name.size() > static_cast<size_t>(Element::kMaxNameLength))
                here.Add("\"name\": longer than 31 characters");
            element->SetName(name);
        }
        draft.element = model.AddElement(draft.card, std::move(element));
    }

    auto sourcesFor = [&](int32_t card) {
        project::ValueSources sources;
        sources.readFile = [base](const std::string& path, MemoryBlock& bytes, std::string& error) {
            return ReadRelative(base, path, bytes, error);
        };
        sources.mediaId = [&mediaIds](const Json& reference) -> std::optional<int32_t> {
            if (reference.is_string()) {
                auto it = mediaIds.find(tamber::LowerAscii(reference.get<std::string>()));
                if (it != mediaIds.end())
                    return static_cast<int32_t>(it->second);
            } else if (reference.is_number_integer()) {
                for (const auto& [name, id] : mediaIds)
                    if (reference.get<int64_t>() == id)
                        return static_cast<int32_t>(id);
            }
            return std::nullopt;
        };
        sources.elementId = [&model, card](const std::string& name) -> std::optional<int32_t> {
            for (int32_t where : {card, tamber::InterfaceModel::kBackground}) {
                const tamber::Card* holder = where == tamber::InterfaceModel::kBackground ? &model.Background() : model.CardAt(where);
                if (!holder)
                    continue;
                for (const auto& element : holder->elements)
                    if (tamber::NamesEqual(element->GetName(), name))
                        return element->GetId();
            }
            return std::nullopt;
        };
        return sources;
    };

    // The Interface's own settings.
    project::ValueSources own = sourcesFor(0);
    if (d.contains("userAttributes"))
        AddUserAttributes(self, d["userAttributes"], own, problems);
    if (d.contains("userEvents"))
        AddUserEvents(self, d["userEvents"], problems);
    if (d.contains("attributes"))
        ApplyAttributes(self, d["attributes"], own, problems);
    if (std::optional<std::string> script = ScriptText(d, base, problems))
        SetScript(self, *script, problems);
    if (d.contains("grid")) {
        const Json& grid = d["grid"];
        Problems here = problems.Sub("\"grid\"");
        bool show = BoolField(grid, "show", here, model.ShowGrid());
        int32_t step = static_cast<int32_t>(IntegerField(grid, "step", INT32_MIN, INT32_MAX, here).value_or(model.GridStep()));
        model.SetGrid(show, step);
    }
    if (d.contains("effect")) {
        Problems here = problems.Sub("\"effect\"");
        int16_t effect = static_cast<int16_t>(IntegerField(d["effect"], "effect", INT16_MIN, INT16_MAX, here).value_or(0));
        int32_t parameter = static_cast<int32_t>(IntegerField(d["effect"], "parameter", INT32_MIN, INT32_MAX, here).value_or(0));
        model.SetEffect(effect, parameter);
    }
    if (d.contains("guides")) {
        const Json& guides = d["guides"];
        Problems here = problems.Sub("\"guides\"");
        model.SetShowGuides(BoolField(guides, "show", here, true));
        for (const Json& g : guides.is_object() ? guides.value("list", Json::array()) : Json::array()) {
            if (!CheckObject(g, kGuideKeys, here, "a guide"))
                continue;
            tamber::InterfaceModel::Guide guide;
            guide.kind = static_cast<uint8_t>(IntegerField(g, "kind", 0, 255, here).value_or(0));
            guide.first = static_cast<int32_t>(IntegerField(g, "first", INT32_MIN, INT32_MAX, here).value_or(0));
            guide.second = static_cast<int32_t>(IntegerField(g, "second", INT32_MIN, INT32_MAX, here).value_or(0));
            guide.card = static_cast<int32_t>(IntegerField(g, "card", -1, INT32_MAX, here).value_or(-1));
            model.Guides().push_back(guide);
        }
    }

    // Element contents, once every element exists so that links may name later ones.
    for (ElementDraft& draft : drafts) {
        if (!draft.element)
            continue;
        const Json& e = *draft.description;
        Element& element = *draft.element;
        Problems here = problems.Sub(draft.label);
        if (e.contains("block")) {
            MemoryBlock block;
            if (!project::Base64Decode(StringField(e, "block", here), block)) {
                here.Add("\"block\": not base64");
                continue;
            }
            element.ReadElementBlock(block, 0);
            continue;
        }
        project::ValueSources sources = sourcesFor(draft.card);
        if (e.contains("userAttributes"))
            AddUserAttributes(element, e["userAttributes"], sources, here);
        if (e.contains("userEvents"))
            AddUserEvents(element, e["userEvents"], here);
        if (e.contains("items")) {
            auto* list = dynamic_cast<tamber::ListElementBase*>(&element);
            MemoryBlock entries;
            bool ok = list && e["items"].is_array();
            for (const Json& item : ok ? e["items"] : Json::array()) {
                ok = ok && item.is_string() && item.get_ref<const std::string&>().size() < 255;
                if (ok)
                    entries.AppendPString(item.get<std::string>());
            }
            if (!list)
                here.Add("\"items\": only a ListBox or ComboBox has items");
            else if (!ok)
                here.Add("\"items\": expected a list of strings of at most 254 characters");
            else
                list->SetEntries(entries);
        }
        if (e.contains("attributes"))
            ApplyAttributes(element, e["attributes"], sources, here);
        if (std::optional<std::string> script = ScriptText(e, base, here))
            SetScript(element, *script, here);
    }
    for (const ElementDraft& draft : drafts)
        if (draft.element)
            draft.element->ResolveLinks();
    return errors.size() == before;
}

bool ProjectReader::WriteInto(tamber::MediaDatabase& db, std::ostream* progress)
{
    tamber::MediaCatalogWriter writer(db);
    const int32_t total = MediaCount() + InterfaceCount();
    int32_t done = 0;
    int32_t shownTenth = 0;
    auto step = [&](const std::string& name) {
        ++done;
        if (!progress || total < kProgressThreshold)
            return;
        int32_t tenth = done * 10 / total;
        if (tenth != shownTenth) {
            shownTenth = tenth;
            *progress << "tamberlyne: build: " << done << "/" << total << " (" << tenth * 10 << "%) " << name << "\n";
        }
    };
    writer.Begin();
    for (const MediumPlan& plan : m_media) {
        tamber::NewMedium medium;
        medium.id = *plan.id;
        medium.name = plan.name;
        medium.type = plan.type;
        for (const auto& [tag, bytes] : plan.parts)
            medium.parts.push_back({tag, bytes});
        medium.files = plan.files;
        medium.encoding = plan.encoding;
        medium.cacheFlag = plan.cacheFlag;
        medium.folder = -1;
        if (!writer.CreateMedium(medium))
            Error(plan.where, "could not be written to the database");
        step(plan.name);
    }
    for (const InterfacePlan& plan : m_interfaces) {
        tamber::NewMedium medium;
        medium.id = *plan.id;
        medium.name = plan.name;
        medium.type = project::kInterfaceType;
        medium.parts.push_back({tamber::catalog::kTagData, plan.record});
        medium.folder = -1;
        if (!writer.CreateMedium(medium))
            Error(plan.shownFile, "could not be written to the database");
        step(plan.name);
    }
    writer.Commit();
    if (!m_errors.empty())
        return false;
    WriteJumps(db);
    WriteFolders(db);
    WriteStartAndSplash(db);
    // External files the database names by a bare file name are copied beside it.
    const fs::path target = fs::path(db.Path()).parent_path();
    for (const MediumPlan& plan : m_media) {
        for (const auto& [from, to] : plan.copies) {
            std::error_code ec;
            if (fs::exists(target / to, ec)) {
                // A file of that name stays: the same one is fine, another one is not replaced.
                MemoryBlock source, present;
                bool same = fs::equivalent(from, target / to, ec)
                    || (project::ReadWholeFile(from, source) && project::ReadWholeFile(target / to, present) && source == present);
                if (!same)
                    Error(plan.where, (target / to).string() + " exists and differs from " + from.string()
                        + "; not replaced");
                continue;
            }
            fs::copy_file(from, target / to, ec);
            if (ec)
                Error(plan.where, "cannot copy " + from.string() + " beside the database: " + ec.message());
        }
    }
    return m_errors.empty();
}

bool ProjectReader::WriteJumps(tamber::MediaDatabase& db)
{
    tamber::MediaCatalogWriter writer(db);
    for (const MediumPlan& plan : m_media) {
        if (!plan.description.contains("jumps"))
            continue;
        tamber::JumpTable table;
        for (const Json& jump : plan.description["jumps"]) {
            tamber::JumpTarget target;
            target.id = jump.value("id", 0);
            target.name = jump.value("name", std::string());
            if (jump.contains("media"))
                target.data = tamber::JumpTable::LinkTo(*MediaIdOf(jump["media"]));
            else
                project::Base64Decode(jump["base64"].get<std::string>(), target.data);
            table.Targets().push_back(std::move(target));
        }
        if (!writer.SetJumpTable(*plan.id, table))
            Error(plan.where, "the jump table could not be written");
    }
    return m_errors.empty();
}

bool ProjectReader::WriteFolders(tamber::MediaDatabase& db)
{
    if (!m_project.contains("folders")) {
        // Without a folder tree every medium is filed in the root, in project order.
        for (const MediumPlan& plan : m_media)
            db.FileMedia(0, *plan.id);
        for (const InterfacePlan& plan : m_interfaces)
            db.FileMedia(0, *plan.id);
        return true;
    }
    std::function<void(const Json&, int32_t)> fill = [&](const Json& folder, int32_t id) {
        for (const Json& medium : folder.value("media", Json::array()))
            if (!db.FileMedia(id, *MediaIdOf(medium)))
                Error(m_shownProjectFile, "\"folders\": " + medium.dump() + " is filed twice in one folder");
        for (const Json& sub : folder.value("folders", Json::array())) {
            int32_t child = db.AddFolder(id, sub.value("name", std::string()));
            if (child < 0)
                Error(m_shownProjectFile, "\"folders\": folder " + Quote(sub.value("name", std::string()))
                    + " could not be added");
            else
                fill(sub, child);
        }
    };
    const Json& root = m_project["folders"];
    if (root.contains("name"))
        db.RenameFolder(0, root["name"].get<std::string>());
    fill(root, 0);
    return m_errors.empty();
}

bool ProjectReader::WriteStartAndSplash(tamber::MediaDatabase& db)
{
    tamber::RecordFile& records = db.Records();
    if (m_project.contains("start")) {
        const Json& start = m_project["start"];
        MemoryBlock record;
        record.AppendInt(start.value("frameStyle", 0), 2);
        for (const char* key : {"caption", "interface", "interface800", "interface1024", "interface1280"})
            record.AppendPString(start.value(key, std::string()));
        if (!records.WriteRecord(record, "MMStart", 0, 0))
            Error(m_shownProjectFile, "\"start\": the start record could not be written");
    }
    if (m_project.contains("splash") && !m_project["splash"].empty()) {
        MemoryBlock list;
        for (const Json& item : m_project["splash"]) {
            MemoryBlock entry(project::kSplashItemSize);
            uint32_t id = *MediaIdOf(item["media"]);
            std::string note = item.value("note", std::string());
            if (!item.contains("note")) {
                tamber::EntryInfo info;
                if (db.FindEntryById(id, &info))
                    note = info.type + "," + info.name;
            }
            entry.Write(0, note.data(), std::min<int32_t>(static_cast<int32_t>(note.size()), project::kSplashNoteSize - 1));
            entry.WriteInt(project::kSplashMediaOffset, static_cast<int32_t>(id), 4);
            entry.WriteInt(project::kSplashXOffset, item.value("x", project::kSplashCentre), 4);
            entry.WriteInt(project::kSplashYOffset, item.value("y", project::kSplashCentre), 4);
            entry.WriteInt(project::kSplashWidthOffset, item.value("width", 0), 4);
            entry.WriteInt(project::kSplashHeightOffset, item.value("height", 0), 4);
            entry.WriteInt(project::kSplashLoopOffset, item.value("loop", false) ? 1 : 0, 4);
            list.Append(entry);
        }
        if (!records.WriteRecord(list, "MMFirst", records.NextRecordId("MMFirst"), 0))
            Error(m_shownProjectFile, "\"splash\": the splash list could not be written");
    }
    return m_errors.empty();
}

}  // namespace tamberlyne
