// The show verb: a readable dump of one Interface of a database.

#include "db/MediaDatabase.h"
#include "elements/ListElementBase.h"
#include "iface/Element.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "tamberlyne/DatabaseAccess.h"
#include "tamberlyne/ProjectReader.h"
#include "tamberlyne/ProjectWriter.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

using tamber::Element;

void ShowScript(VerbContext& ctx, const tamber::MemoryBlock& script, const std::string& indent)
{
    std::optional<std::string> text = project::TextFromScript(script);
    if (!text) {
        ctx.out << indent << "script: (" << script.Size() << " bytes, not plain text)\n";
        return;
    }
    if (text->empty())
        return;
    ctx.out << indent << "script:\n";
    size_t start = 0;
    while (start < text->size()) {
        size_t end = text->find('\n', start);
        if (end == std::string::npos)
            end = text->size();
        ctx.out << indent << "  | " << text->substr(start, end - start) << "\n";
        start = end + 1;
    }
}

void ShowUserDefinitions(VerbContext& ctx, Element& element, const std::string& indent)
{
    for (const tamber::UserAttributeBlock::Record& record : element.UserAttributes().Records()) {
        tamber::AttributeValue value;
        element.UserAttributes().ReadValue(record.name, value);
        ctx.out << indent << "user attribute " << record.name << " (" << tamber::TypeName(record.type)
                << ") = " << project::DescribeValue(value, record.type, nullptr) << "\n";
    }
    const tamber::MemoryBlock& events = element.UserEvents();
    for (int32_t at = 0; at + tamber::EventDef::kRecordSize <= events.Size(); at += tamber::EventDef::kRecordSize) {
        tamber::EventDef def = tamber::EventDef::ReadRecord(events, at);
        ctx.out << indent << "user event " << def.name << " (";
        bool first = true;
        for (const tamber::ParamDef& param : def.params) {
            if (param.type == ValueType::Void)
                continue;
            ctx.out << (first ? "" : ", ") << tamber::TypeName(param.type) << " " << param.name;
            first = false;
        }
        ctx.out << ")\n";
    }
}

void ShowAttributes(VerbContext& ctx, Element& element, const std::string& indent)
{
    for (const AttributeEntry& entry : DescribedAttributes(element, ctx.Has("--all")))
        ctx.out << indent << entry.def->name << " = "
                << project::DescribeValue(entry.value, entry.def->type, entry.def) << "\n";
}

void ShowCard(VerbContext& ctx, tamber::MediaDatabase& db, tamber::Card& card, const std::string& title)
{
    ctx.out << title << ": " << card.elements.size() << (card.elements.size() == 1 ? " element\n" : " elements\n");
    for (auto& element : card.elements) {
        tamber::CardRect frame = element->GetFrame();
        ctx.out << "  #" << element->GetId() << " " << element->GetTypeName() << " \"" << element->GetName()
                << "\" at (" << frame.left << ", " << frame.top << ") " << frame.width << " x " << frame.height;
        if (!element->GetMedia().IsNone()) {
            tamber::EntryInfo info;
            ctx.out << ", medium " << element->GetMedia().mediaId;
            if (db.FindEntryById(static_cast<uint32_t>(element->GetMedia().mediaId), &info))
                ctx.out << " " << info.type << " \"" << info.name << "\"";
            else
                ctx.out << " (not in the catalogue)";
        }
        ctx.out << "\n";
        if (auto* list = dynamic_cast<tamber::ListElementBase*>(element.get()))
            for (const std::string& item : list->Items())
                ctx.out << "      item \"" << item << "\"\n";
        ShowAttributes(ctx, *element, "      ");
        ShowUserDefinitions(ctx, *element, "      ");
        ShowScript(ctx, element->Script(), "      ");
    }
}

int RunShow(VerbContext& ctx)
{
    if (ctx.positional.size() != 2)
        return ctx.UsageError("expected DB INTERFACE");
    const std::string& path = ctx.positional[0];
    const std::string& wanted = ctx.positional[1];
    tamber::MediaDatabase db;
    if (!OpenDatabase(ctx, path, DatabaseAccess::ReadOnly, db.Records()))
        return kExitFailure;
    if (!db.OpenOverRecords())
        return ctx.Fail(path, "cannot open as a media database");
    tamber::EntryInfo info;
    int32_t parts = 0;
    tamber::EntryFields fields;
    fields.partCount = &parts;
    bool found = false;
    if (wanted.size() > 1 && wanted[0] == '#') {
        auto id = ParseInteger(wanted.substr(1));
        found = id && *id >= 0 && *id <= UINT32_MAX && db.FindEntryById(static_cast<uint32_t>(*id), &info, fields)
            && tamber::NamesEqual(info.type, project::kInterfaceType);
    } else {
        found = db.FindEntryByName(wanted, project::kInterfaceType, &info, fields);
    }
    if (!found)
        return ctx.Fail(path, "no Interface " + (wanted[0] == '#' ? wanted : "named \"" + wanted + "\""));
    tamber::MemoryBlock record;
    if (parts < 1 || !db.ReadEntryPart(info, 0, nullptr, record))
        return ctx.Fail(path, "the Interface \"" + info.name + "\" has no stored record");

    ProjectReader::RegisterElementClasses();
    tamber::InterfaceModel model;
    tamber::InterfaceObject& self = model.AdoptInterface(std::make_unique<tamber::InterfaceObject>());
    tamber::InterfaceRecord::Load(model, &db, record);
    ctx.out << "Interface \"" << info.name << "\" (id " << info.id << "): " << model.NumCards()
            << (model.NumCards() == 1 ? " Card, " : " Cards, ") << self.CardWidth() << " x " << self.CardHeight()
            << ", " << record.Size() << " bytes\n";
    ShowAttributes(ctx, self, "  ");
    ShowUserDefinitions(ctx, self, "  ");
    ShowScript(ctx, self.Script(), "  ");
    ShowCard(ctx, db, model.Background(), "Background");
    for (int32_t i = 0; i < model.NumCards(); ++i)
        ShowCard(ctx, db, *model.CardAt(i), "Card " + std::to_string(i + 1) + " \"" + model.CardAt(i)->name + "\"");
    return kExitOk;
}

VerbRegistration showReg { Verb { "show", "show DB INTERFACE", "show an Interface: Cards, elements, attributes, scripts",
    "INTERFACE is an Interface's name (any case) or \"#ID\". Prints the Interface's own settings,\n"
    "then the Background and each Card with their elements in drawing order: id, class, name,\n"
    "frame and medium, list items, the attributes whose values differ from a new element of the\n"
    "class (every stored attribute with --all), user attributes and events, and the script.\n",
    { "--all" }, {}, RunShow, 62 } };

}  // namespace

}  // namespace tamberlyne
