#include "elements/ListBoxElement.h"

#include "base/AsciiCase.h"
#include "db/FullTextIndex.h"
#include "db/FullTextRecordStore.h"
#include "db/MediaDatabase.h"
#include "db/RecordFile.h"
#include "iface/ChunkTags.h"
#include "script/MediaReference.h"
#include "ui/ListBoxControl.h"

namespace tamber {

namespace {

// The catalogue types of rich-text media, and the part holding their characters.
constexpr std::string_view kTextTypes[] = {"Text", "GT"};
constexpr const char* kTextPart = "Text";

constexpr int kWordSelectLink = 0;

bool IsAbsolute(const std::string& path)
{
    return !path.empty() && path[0] == '/';
}

}  // namespace

ListBoxElement::ListBoxElement(InterfaceModel* parent)
    : ListElementOver(parent, ClassId::ListBox, "MultiSelect")
{
    SetLinkNames(ElementLinks({"EditBox : Word Select"}, ElementLinks::Exclusive::No));
}

ListBoxElement::~ListBoxElement()
{
    Destroy();
}

int ListBoxElement::CallMethod(
    std::string_view name, std::span<const AttributeValue> params, AttributeValue& result)
{
    std::string item = params.empty() ? std::string() : params[0].String();
    if (NamesEqual(name, "FindItem")) {
        result.SetLong(FindPrefix(item));
        return 1;
    }
    if (NamesEqual(name, "InsertSortedItem")) {
        // Before the first item that sorts after it, ASCII case ignored; the control finds the
        // same place by its own sorted insertion.
        int32_t index = 0;
        while (index < static_cast<int32_t>(Items().size()) && CompareFolded(Items()[index], item) <= 0)
            ++index;
        InsertItem(index, item);
        return 1;
    }
    if (NamesEqual(name, "AppendIndexes")) {
        AppendIndexes(item);
        return 1;
    }
    return ListElementBase::CallMethod(name, params, result);
}

void ListBoxElement::AppendIndexes(const std::string& databaseFile)
{
    std::vector<std::string> words;
    if (databaseFile.empty()) {
        MediaDatabase* own = Writable(Database());
        if (!own || !own->IsOpen())
            return;
        FullTextRecordStore store(own->Records());
        FullTextIndex(store).IndexWords(words);
    } else {
        // A relative name starts in the Interface's database folder, else where we are.
        RecordFile file;
        const MediaDatabase* own = Database();
        bool open = false;
        if (!IsAbsolute(databaseFile) && own && own->IsOpen())
            open = file.Open(own->DatabaseFolder() + "/" + databaseFile, {}, OpenPolicy::ReadOnly) == 1;
        if (!open && file.Open(databaseFile, {}, OpenPolicy::ReadOnly) != 1)
            return;
        FullTextRecordStore store(file);
        FullTextIndex(store).IndexWords(words);
    }
    for (const std::string& word : words)
        AppendItem(word);
}

std::vector<std::string> ListBoxElement::SplitLines(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n')
            continue;
        if (i > start)
            lines.emplace_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return lines;
}

void ListBoxElement::SetMedia(const MediaDatabase* database, int32_t mediaId)
{
    ListElementBase::SetMedia(database, mediaId);
    LoadMedium();
}

void ListBoxElement::LoadMedium()
{
    // The medium's lines replace the items; an empty reference only empties the list.
    const MediaRef media = GetMedia();
    RemoveAll();
    MediaDatabase* database = Writable(media.database);
    if (media.IsNone() || !database || !database->IsOpen())
        return;
    EntryInfo info;
    if (database->FindEntryById(static_cast<uint32_t>(media.mediaId), &info) != 1)
        return;
    bool isText = false;
    for (std::string_view type : kTextTypes)
        isText = isText || NamesEqual(info.type, type);
    MemoryBlock text;
    if (!isText || database->ReadEntryPartByTag(info, kTextPart, text) != 1)
        return;
    for (const std::string& line : SplitLines(text.View()))
        AppendItem(line);
}

std::unique_ptr<ui::TControl> ListBoxElement::MakeControl(bool border)
{
    auto list = std::make_unique<ui::ListBoxControl>(
        MultiSelect() ? ui::SelectionMode::Multiple : ui::SelectionMode::Single);
    list->SetBorder(border ? ui::ControlBorder::Flat : ui::ControlBorder::None);
    return list;
}

void ListBoxElement::ControlCreated()
{
    ResolveLinks();
    if (Items().empty() && !GetMedia().IsNone())
        LoadMedium();
}

bool ListBoxElement::ClassNotice(uint16_t code)
{
    if (code == ui::notify::kSelectionChanged) {
        UserSelectionChanged();
        return true;
    }
    if (code == ui::notify::kDoubleClicked) {
        TakeSelection();
        const AttributeValue args[] = {AttributeValue::OfLong(SelectedIndex() + 1)};
        RaiseEvent("DoubleClicked", args);
        return true;
    }
    return false;
}

void ListBoxElement::UserSelectionChanged()
{
    TakeSelection();
    const int32_t index = SelectedIndex();
    if (index >= 0) {
        if (Element* edit = Links().Target(kWordSelectLink))
            edit->SetAttribute("Text", ValueType::String, AttributeValue::OfString(Items()[index]));
    }
    if (!MultiSelect()) {
        RaiseSelectionChanged(index + 1);
        return;
    }
    // A multiple selection reports every selected item, in order.
    for (int32_t selected : Box().SelectedItems())
        RaiseSelectionChanged(selected + 1);
}

int ListBoxElement::WriteClassChunks(MemoryBlock& out) const
{
    MemoryBlock defn;
    ChunkWriter w(defn);
    WriteSharedDefn(w);
    w.Int32(Links().Id(kWordSelectLink));
    out.WriteChunk(chunk::kDefn, defn);
    out.WriteChunk(chunk::kEntr, EntriesBlock());
    return 2;
}

bool ListBoxElement::ReadClassChunk(std::string_view tag, const MemoryBlock& payload)
{
    if (tag == chunk::kDefn) {
        ChunkReader r(payload);
        ReadSharedDefn(r);
        Links().LoadId(kWordSelectLink, r.Int32());
        return true;
    }
    return ListElementOver::ReadClassChunk(tag, payload);
}

}  // namespace tamber
