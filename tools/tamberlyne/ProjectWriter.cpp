#include "tamberlyne/ProjectWriter.h"

#include <cstring>
#include <fstream>
#include <functional>

#include "base/AsciiCase.h"
#include "db/JumpTable.h"
#include "db/MediaCatalogFormat.h"
#include "db/MediaDatabase.h"
#include "elements/ListElementBase.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "tamberlyne/ProjectReader.h"

namespace tamberlyne {

namespace fs = std::filesystem;
using tamber::AttributeDef;
using tamber::AttributeValue;
using tamber::Element;
using tamber::MediaEntry;
using tamber::MemoryBlock;

namespace {

// Attributes written through their own keys, or never stored.
const char* const kNotDescribed[] = {"ID", "Name", "RectLeft", "RectTop", "RectWidth", "RectHeight", "Script", "Type",
    "hWnd"};

bool SameValue(const AttributeValue& a, const AttributeValue& b, ValueType type)
{
    if (tamber::IsBlockType(type))
        return a.Block() == b.Block();
    if (type == ValueType::Media)
        return a.Media().mediaId == b.Media().mediaId;
    return std::memcmp(a.Field(), b.Field(), AttributeValue::kFieldSize) == 0;
}

bool Described(const AttributeDef& def)
{
    if (!def.Visible() || (def.flags & tamber::AF_USER) || (def.flags & tamber::AF_DESIGN) == 0)
        return false;
    if (def.type == ValueType::Void || def.type == ValueType::Special)
        return false;
    for (const char* name : kNotDescribed)
        if (tamber::NamesEqual(def.name, name))
            return false;
    return true;
}

Json ScriptJson(const std::string& text)
{
    if (text.find('\n') == std::string::npos)
        return text;
    Json lines = Json::array();
    size_t start = 0;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

Json UserAttributesJson(Element& element, const tamber::UserAttributeBlock& block, const project::ValueSinks& sinks,
    const std::string& hint)
{
    Json list = Json::array();
    for (const tamber::UserAttributeBlock::Record& record : block.Records()) {
        Json entry;
        entry["name"] = record.name;
        entry["type"] = std::string(tamber::TypeName(record.type));
        AttributeValue value;
        if (block.ReadValue(record.name, value) == 1)
            entry["value"] = project::ValueToJson(value, record.type, nullptr, sinks, hint + "." + record.name);
        list.push_back(entry);
    }
    return list;
}

Json UserEventsJson(const MemoryBlock& events)
{
    Json list = Json::array();
    for (int32_t at = 0; at + tamber::EventDef::kRecordSize <= events.Size(); at += tamber::EventDef::kRecordSize) {
        tamber::EventDef def = tamber::EventDef::ReadRecord(events, at);
        Json entry;
        entry["name"] = def.name;
        Json params = Json::array();
        for (const tamber::ParamDef& param : def.params)
            if (param.type != ValueType::Void)
                params.push_back(Json {{"type", std::string(tamber::TypeName(param.type))}, {"name", param.name}});
        if (!params.empty())
            entry["params"] = params;
        list.push_back(entry);
    }
    return list;
}

std::string SafeName(const std::string& name)
{
    std::string safe;
    for (char c : name)
        safe += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    return safe.empty() ? "unnamed" : safe;
}

}  // namespace

std::vector<AttributeEntry> DescribedAttributes(Element& element, bool all)
{
    // A new element of the class, with the same frame, shows which values are the class's own.
    tamber::InterfaceModel scratch;
    std::unique_ptr<Element> fresh;
    if (element.IsSelfRole())
        scratch.AdoptInterface(std::make_unique<tamber::InterfaceObject>());
    else
        fresh = tamber::CreateElement(&scratch, element.GetTypeName(), element.GetFrame(), element.GetId());
    Element* reference = element.IsSelfRole() ? scratch.Interface() : fresh.get();

    std::vector<AttributeEntry> entries;
    for (const auto* table : {&element.CommonAttributeTable(), &element.AttributeTable()}) {
        for (const AttributeDef& def : *table) {
            if (!Described(def))
                continue;
            AttributeEntry entry {&def, {}};
            if (element.GetAttribute(def.name, def.type, entry.value) != 1)
                continue;
            if (!all && reference) {
                // Applied to the new element in order, so values that follow from earlier ones
                // (a picture's size) come out equal; values it refuses are derived, not set.
                AttributeValue initial;
                if (reference->GetAttribute(def.name, def.type, initial) == 1 && SameValue(entry.value, initial, def.type))
                    continue;
                if (reference->SetAttribute(def.name, def.type, entry.value) != 1)
                    continue;
            }
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

Json ProjectWriter::DescribeElement(Element& element, const project::ValueSinks& sinks)
{
    Json d;
    d["type"] = element.GetTypeName();
    d["id"] = element.GetId();
    d["name"] = element.GetName();
    tamber::CardRect frame = element.GetFrame();
    d["rect"] = Json::array({frame.left, frame.top, frame.width, frame.height});
    const std::string hint = SafeName(element.GetName()) + "-" + std::to_string(element.GetId());
    if (auto* list = dynamic_cast<tamber::ListElementBase*>(&element); list && !list->Items().empty())
        d["items"] = list->Items();
    if (!element.UserAttributes().Empty())
        d["userAttributes"] = UserAttributesJson(element, element.UserAttributes(), sinks, hint);
    if (!element.UserEvents().Empty())
        d["userEvents"] = UserEventsJson(element.UserEvents());
    Json attributes = Json::object();
    for (const AttributeEntry& entry : DescribedAttributes(element, false))
        attributes[entry.def->name] = project::ValueToJson(entry.value, entry.def->type, entry.def, sinks,
            hint + "." + entry.def->name);
    if (!attributes.empty())
        d["attributes"] = attributes;
    if (std::optional<std::string> script = project::TextFromScript(element.Script()); script && !script->empty())
        d["script"] = ScriptJson(*script);
    return d;
}

Json ProjectWriter::DescribeInterface(tamber::InterfaceModel& model, const project::ValueSinks& sinks)
{
    Json d;
    tamber::InterfaceObject& self = *model.Interface();
    Json attributes = Json::object();
    for (const AttributeEntry& entry : DescribedAttributes(self, false))
        attributes[entry.def->name] = project::ValueToJson(entry.value, entry.def->type, entry.def, sinks,
            "Interface." + entry.def->name);
    if (!attributes.empty())
        d["attributes"] = attributes;
    if (std::optional<std::string> script = project::TextFromScript(self.Script()); script && !script->empty())
        d["script"] = ScriptJson(*script);
    if (!self.UserAttributes().Empty())
        d["userAttributes"] = UserAttributesJson(self, self.UserAttributes(), sinks, "Interface");
    if (!self.UserEvents().Empty())
        d["userEvents"] = UserEventsJson(self.UserEvents());
    tamber::InterfaceModel fresh;
    if (model.ShowGrid() != fresh.ShowGrid() || model.GridStep() != fresh.GridStep())
        d["grid"] = Json {{"show", model.ShowGrid()}, {"step", model.GridStep()}};
    if (model.ShowGuides() != fresh.ShowGuides() || !model.Guides().empty()) {
        Json list = Json::array();
        for (const tamber::InterfaceModel::Guide& guide : model.Guides())
            list.push_back(Json {{"kind", guide.kind}, {"first", guide.first}, {"second", guide.second}, {"card", guide.card}});
        d["guides"] = Json {{"show", model.ShowGuides()}, {"list", list}};
    }
    if (model.Effect().effect != 0 || model.Effect().parameter != 0)
        d["effect"] = Json {{"effect", model.Effect().effect}, {"parameter", model.Effect().parameter}};
    auto describeCard = [&](tamber::Card& card, bool background) {
        Json c = Json::object();
        if (!background && card.name != tamber::Card().name)
            c["name"] = card.name;
        Json elements = Json::array();
        for (auto& element : card.elements)
            elements.push_back(DescribeElement(*element, sinks));
        if (!elements.empty())
            c["elements"] = elements;
        return c;
    };
    if (!model.Background().elements.empty())
        d["background"] = describeCard(model.Background(), true);
    Json cards = Json::array();
    for (int32_t i = 0; i < model.NumCards(); ++i)
        cards.push_back(describeCard(*model.CardAt(i), false));
    d["cards"] = cards;
    return d;
}

ProjectWriter::ProjectWriter(tamber::MediaDatabase& database, fs::path outDir)
    : m_db(database)
    , m_dir(std::move(outDir))
{
    ProjectReader::RegisterElementClasses();
}

void ProjectWriter::NameMedia()
{
    std::map<std::string, int> uses;
    for (int32_t i = 0; i < m_db.EntryCount(); ++i) {
        uint32_t id = 0;
        tamber::EntryInfo info;
        if (!m_db.NthEntry(i, &id) || !m_db.FindEntryById(id, &info))
            continue;
        m_order.push_back(id);
        m_names[id] = info.name;
        ++uses[tamber::LowerAscii(info.name)];
        m_mediaIds.emplace(tamber::LowerAscii(info.name), id);
        m_mediaIds.emplace("#" + std::to_string(id), id);
    }
    for (const auto& [name, count] : uses)
        if (count > 1 || name.empty() || name[0] == '#')
            m_ambiguous.insert(name);
}

Json ProjectWriter::MediaReference(uint32_t id) const
{
    auto it = m_names.find(id);
    if (it == m_names.end() || m_ambiguous.count(tamber::LowerAscii(it->second)))
        return id;
    return it->second;
}

std::string ProjectWriter::FileName(const std::string& folder, const std::string& name, const std::string& extension)
{
    std::string base = folder + "/" + SafeName(name);
    std::string candidate = base + extension;
    for (int n = 2; m_files.count(tamber::LowerAscii(candidate)); ++n)
        candidate = base + "-" + std::to_string(n) + extension;
    m_files.insert(tamber::LowerAscii(candidate));
    return candidate;
}

bool ProjectWriter::Save(const fs::path& path, const Json& json)
{
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << json.dump(2) << "\n";
    if (!out) {
        m_errors.push_back(path.string() + ": cannot be written");
        return false;
    }
    return true;
}

Json ProjectWriter::DescribeMedium(const MediaEntry& entry)
{
    Json d;
    d["name"] = entry.name;
    d["id"] = entry.id;
    d["type"] = entry.type;
    const tamber::EntryInfo info = entry.Info();
    std::vector<MemoryBlock> parts;
    for (int32_t i = 0; i < static_cast<int32_t>(entry.parts.size()); ++i) {
        parts.emplace_back();
        if (!m_db.ReadEntryPart(info, i, nullptr, parts.back()))
            m_errors.push_back("medium \"" + entry.name + "\": part " + std::to_string(i) + " cannot be read");
    }
    auto tagsAre = [&](std::initializer_list<const char*> tags) {
        if (tags.size() != entry.parts.size())
            return false;
        size_t i = 0;
        for (const char* tag : tags)
            if (entry.parts[i++].tag != tag)
                return false;
        return true;
    };
    auto save = [&](const std::string& relative, const MemoryBlock& bytes) {
        std::error_code ec;
        fs::create_directories((m_dir / relative).parent_path(), ec);
        if (!project::WriteWholeFile(m_dir / relative, bytes))
            m_errors.push_back((m_dir / relative).string() + ": cannot be written");
    };
    using namespace tamber::catalog;
    const bool picture = !parts.empty() && parts[0].Size() >= 2 && parts[0].View().substr(0, 2) == "BM";
    const bool sound = !parts.empty() && parts[0].Size() >= 12 && parts[0].View().substr(0, 4) == "RIFF"
        && parts[0].View().substr(8, 4) == "WAVE";
    std::optional<std::string> text = tagsAre({kTagText, kTagStyl, kTagRulr})
        ? project::TextFromScript(parts[0]) : std::nullopt;
    std::optional<project::TextStyle> style = text ? project::SingleStyle(parts[1]) : std::nullopt;
    if (style && parts[2] == project::RulerPart() && !text->empty()) {
        std::string file = FileName("media", entry.name, ".txt");
        save(file, MemoryBlock(text->data(), static_cast<int32_t>(text->size())));
        d["file"] = file;
        d["font"] = style->font;
        d["size"] = style->pointSize;
        for (auto [key, bit] : {std::pair {"bold", project::TextStyle::kBold}, std::pair {"italic", project::TextStyle::kItalic},
                 std::pair {"underline", project::TextStyle::kUnderline}, std::pair {"strikeOut", project::TextStyle::kStrikeOut}})
            if (style->flags & bit)
                d[key] = true;
        d["color"] = project::FormatColor(style->color);
        d["background"] = project::FormatColor(style->background);
    } else if ((picture || sound) && (tagsAre({kTagData}) || tagsAre({kTagData, kTagHots}) || tagsAre({kTagData, kTagMode})
                   || tagsAre({kTagData, kTagHots, kTagMode}))) {
        std::string file = FileName("media", entry.name, picture ? ".bmp" : ".wav");
        save(file, parts[0]);
        d["file"] = file;
        for (size_t i = 1; i < parts.size(); ++i) {
            std::string extra = FileName("media", entry.name, "." + tamber::LowerAscii(entry.parts[i].tag));
            save(extra, parts[i]);
            d[tamber::LowerAscii(entry.parts[i].tag)] = extra;
        }
    } else if (!parts.empty()) {
        Json list = Json::array();
        for (size_t i = 0; i < parts.size(); ++i) {
            std::string file = FileName("media", entry.name, "." + SafeName(entry.parts[i].tag));
            save(file, parts[i]);
            list.push_back(Json {{"tag", entry.parts[i].tag}, {"file", file}});
        }
        d["parts"] = list;
    }
    if (!entry.externals.empty()) {
        Json files = Json::array();
        for (const tamber::ExternalRef& ref : entry.externals) {
            if (ref.tag != project::kFileTag)
                m_notes.push_back("medium \"" + entry.name + "\": external reference tagged \"" + ref.tag
                    + "\" kept as \"File\"");
            files.push_back(ref.path);
        }
        d["files"] = files;
    }
    if (entry.encoding != 0)
        d["encoding"] = entry.encoding;
    if (entry.cacheFlag != 0)
        d["cache"] = entry.cacheFlag;

    Json jumps = Json::array();
    for (int32_t i = 0, count = m_db.JumpCount(entry.id); i < count; ++i) {
        int32_t jumpId = 0;
        MemoryBlock data;
        std::string name;
        if (!m_db.NthJump(entry.id, i, jumpId, data, &name))
            break;
        Json jump {{"id", jumpId}};
        if (!name.empty())
            jump["name"] = name;
        std::vector<uint32_t> linked = tamber::JumpTable::LinkedMedia(data);
        if (linked.size() == 1 && m_names.count(linked[0]) && data == tamber::JumpTable::LinkTo(linked[0]))
            jump["media"] = MediaReference(linked[0]);
        else
            jump["base64"] = project::Base64Encode(data);
        jumps.push_back(jump);
    }
    if (!jumps.empty())
        d["jumps"] = jumps;
    return d;
}

bool ProjectWriter::DescribeInterfaceEntry(const MediaEntry& entry, Json& out)
{
    if (!tamber::NamesEqual(entry.type, project::kInterfaceType) || entry.parts.size() != 1
        || entry.parts[0].tag != tamber::catalog::kTagData || !entry.externals.empty() || entry.encoding != 0
        || entry.cacheFlag != 0 || m_db.JumpCount(entry.id) != 0)
        return false;
    MemoryBlock record;
    if (!m_db.ReadEntryPart(entry.Info(), 0, nullptr, record))
        return false;
    tamber::InterfaceModel model;
    model.AdoptInterface(std::make_unique<tamber::InterfaceObject>());
    tamber::InterfaceRecord::Load(model, &m_db, record);

    const std::string file = FileName("interfaces", entry.name, ".json");
    const fs::path path = m_dir / file;
    project::ValueSinks sinks;
    sinks.mediaReference = [this](int32_t id) { return MediaReference(static_cast<uint32_t>(id)); };
    sinks.writeFile = [&](const MemoryBlock& bytes, const std::string& hint) {
        fs::path hinted(hint);
        std::string picture = FileName("interfaces/pictures", entry.name + "-" + hinted.stem().string(),
            hinted.extension().string());
        std::error_code ec;
        fs::create_directories((m_dir / picture).parent_path(), ec);
        if (!project::WriteWholeFile(m_dir / picture, bytes))
            m_errors.push_back((m_dir / picture).string() + ": cannot be written");
        return fs::path(picture).lexically_relative("interfaces").generic_string();
    };
    Json d;
    d["name"] = entry.name;
    d["id"] = entry.id;
    Json body = DescribeInterface(model, sinks);
    for (auto it = body.begin(); it != body.end(); ++it)
        d[it.key()] = it.value();

    // Build the description again and compare: elements it cannot reproduce keep their stored
    // block, and an Interface that still differs keeps its whole record.
    auto rebuild = [&](MemoryBlock& again, tamber::InterfaceModel& rebuilt) {
        std::vector<std::string> errors;
        rebuilt.AdoptInterface(std::make_unique<tamber::InterfaceObject>());
        rebuilt.SetDatabase(&m_db);
        if (!ProjectReader::BuildInterface(d, path, file, m_mediaIds, rebuilt, errors))
            return false;
        tamber::InterfaceRecord::Write(rebuilt, again);
        return true;
    };
    auto cardsOf = [](Json& description) {
        std::vector<std::pair<Json*, int32_t>> cards;
        if (description.contains("background"))
            cards.emplace_back(&description["background"], tamber::InterfaceModel::kBackground);
        for (size_t i = 0; i < description["cards"].size(); ++i)
            cards.emplace_back(&description["cards"][i], static_cast<int32_t>(i));
        return cards;
    };
    auto keepBlock = [](Json& element, const Element& original) {
        MemoryBlock block;
        original.WriteElementBlock(block);
        Json kept;
        for (const char* key : {"type", "id", "name", "rect"})
            kept[key] = element[key];
        kept["block"] = project::Base64Encode(block);
        element = kept;
    };
    {
        tamber::InterfaceModel rebuilt;
        MemoryBlock again;
        bool built = rebuild(again, rebuilt);
        for (auto [card, index] : cardsOf(d)) {
            if (!card->contains("elements"))
                continue;
            const tamber::Card* originalCard = index < 0 ? &model.Background() : model.CardAt(index);
            const tamber::Card* rebuiltCard = index < 0 ? &rebuilt.Background() : rebuilt.CardAt(index);
            for (size_t i = 0; i < (*card)["elements"].size(); ++i) {
                const Element& original = *originalCard->elements[i];
                MemoryBlock a, b;
                original.WriteElementBlock(a);
                bool same = built && rebuiltCard && i < rebuiltCard->elements.size();
                if (same) {
                    rebuiltCard->elements[i]->WriteElementBlock(b);
                    same = a == b;
                }
                if (!same) {
                    keepBlock((*card)["elements"][i], original);
                    m_notes.push_back(file + ": " + original.GetTypeName() + " " + std::to_string(original.GetId())
                        + " \"" + original.GetName() + "\" kept as its stored block");
                }
            }
        }
    }
    tamber::InterfaceModel rebuilt;
    MemoryBlock again;
    if (!rebuild(again, rebuilt) || !(again == record)) {
        Json kept;
        kept["name"] = entry.name;
        kept["id"] = entry.id;
        kept["record"] = project::Base64Encode(record);
        d = kept;
        m_notes.push_back(file + ": kept as its stored record");
    }
    if (!Save(path, d))
        return false;
    out = file;
    return true;
}

Json ProjectWriter::DescribeFolders()
{
    const tamber::FolderTree& tree = m_db.Folders();
    std::set<int32_t> seen;
    std::function<Json(int32_t)> describe = [&](int32_t id) {
        Json d = Json::object();
        const tamber::Folder* folder = tree.Find(id);
        if (!folder || !seen.insert(id).second)
            return d;
        d["name"] = folder->name;
        Json media = Json::array();
        for (uint32_t medium : folder->media)
            if (m_names.count(medium))
                media.push_back(MediaReference(medium));
        if (!media.empty())
            d["media"] = media;
        Json subfolders = Json::array();
        for (int32_t sub : folder->subfolders)
            if (tree.Find(sub) && !seen.count(sub))
                subfolders.push_back(describe(sub));
        if (!subfolders.empty())
            d["folders"] = subfolders;
        return d;
    };
    return describe(0);
}

void ProjectWriter::DescribeStartAndSplash(Json& project)
{
    tamber::RecordFile& records = m_db.Records();
    MemoryBlock start;
    if (records.ReadRecord(start, "MMStart", 0)) {
        Json s;
        int32_t at = 2;
        s["frameStyle"] = static_cast<int16_t>(start.ReadInt(0, 2));
        for (const char* key : {"caption", "interface", "interface800", "interface1024", "interface1280"}) {
            std::string text;
            at += std::max<int32_t>(1, start.ReadPString(at, text));
            if (!text.empty() || std::string(key) == "interface")
                s[key] = text;
        }
        project["start"] = s;
    }
    uint32_t splashId = 0;
    int32_t length = 0;
    MemoryBlock splash;
    if (records.NthRecord("MMFirst", 1, splashId, length) && records.ReadRecord(splash, "MMFirst", splashId)) {
        Json items = Json::array();
        for (int32_t at = 0; at + project::kSplashItemSize <= splash.Size(); at += project::kSplashItemSize) {
            uint32_t media = static_cast<uint32_t>(splash.ReadInt(at + project::kSplashMediaOffset, 4));
            if (!m_names.count(media)) {
                m_notes.push_back("splash item for medium " + std::to_string(media) + " left out: no such medium");
                continue;
            }
            Json item;
            item["media"] = MediaReference(media);
            item["x"] = splash.ReadInt(at + project::kSplashXOffset, 4);
            item["y"] = splash.ReadInt(at + project::kSplashYOffset, 4);
            item["width"] = splash.ReadInt(at + project::kSplashWidthOffset, 4);
            item["height"] = splash.ReadInt(at + project::kSplashHeightOffset, 4);
            item["loop"] = splash.ReadInt(at + project::kSplashLoopOffset, 4) != 0;
            item["note"] = splash.ReadCString(at).substr(0, project::kSplashNoteSize - 1);
            items.push_back(item);
        }
        if (!items.empty())
            project["splash"] = items;
    }
}

bool ProjectWriter::Write()
{
    std::error_code ec;
    fs::create_directories(m_dir, ec);
    if (ec) {
        m_errors.push_back(m_dir.string() + ": cannot be created: " + ec.message());
        return false;
    }
    NameMedia();
    Json project;
    project["format"] = project::kFormatVersion;
    if (!m_password.empty())
        project["password"] = m_password;
    DescribeStartAndSplash(project);
    Json media = Json::array();
    Json interfaces = Json::array();
    for (uint32_t id : m_order) {
        MediaEntry entry;
        if (!m_db.GetEntry(id, entry))
            continue;
        Json file;
        if (DescribeInterfaceEntry(entry, file))
            interfaces.push_back(file);
        else
            media.push_back(DescribeMedium(entry));
    }
    project["folders"] = DescribeFolders();
    project["media"] = media;
    project["interfaces"] = interfaces;
    Save(m_dir / project::kProjectFile, project);
    return m_errors.empty();
}

}  // namespace tamberlyne
