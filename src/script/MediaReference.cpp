#include "script/MediaReference.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "db/MediaDatabase.h"
#include "iface/ClassDefinition.h"
#include "iface/Element.h"
#include "iface/InterfaceModel.h"

namespace tamber {

namespace {

constexpr int32_t kBmpFileHeaderSize = 14;
constexpr int32_t kBmpInfoSizeOffset = 14;
constexpr int32_t kBmpBitCountOffset = 28;
constexpr int32_t kBmpColorsUsedOffset = 46;
constexpr int32_t kMaxPaletteColors = 256;

std::vector<std::unique_ptr<MediaDatabase>>& ExtraDatabases()
{
    static std::vector<std::unique_ptr<MediaDatabase>> databases;
    return databases;
}

std::string_view FileNameOf(std::string_view path)
{
    size_t slash = path.find_last_of("/\\:");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

const MediaDatabase* OpenExtra(const MediaDatabase* current, std::string_view file)
{
    if (current && NamesEqual(FileNameOf(current->Path()), FileNameOf(file)))
        return current;
    for (const auto& db : ExtraDatabases()) {
        if (NamesEqual(FileNameOf(db->Path()), FileNameOf(file)))
            return db.get();
    }
    std::string path(file);
    if (current && path.find('/') == std::string::npos)
        path = current->DatabaseFolder() + "/" + path;
    auto db = std::make_unique<MediaDatabase>();
    if (!db->Open(path, {}, DatabaseAccess::ReadOnly))
        return nullptr;
    ExtraDatabases().push_back(std::move(db));
    return ExtraDatabases().back().get();
}

// Resolves "a\b\name" through the folder tree: each folder name below the root in turn, the
// last piece a medium filed in the folder reached.
int32_t FindByFolderPath(MediaDatabase& db, std::string_view path)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            pieces.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    if (pieces.empty())
        return -1;
    int32_t folder = 0;
    size_t first = 0;
    std::string rootName;
    if (db.FolderName(0, rootName) && NamesEqual(rootName, pieces[0]))
        first = 1;
    for (size_t i = first; i + 1 < pieces.size(); ++i) {
        std::vector<int32_t> subs;
        db.FolderSubfolders(folder, subs);
        int32_t next = -1;
        for (int32_t sub : subs) {
            std::string name;
            if (db.FolderName(sub, name) && NamesEqual(name, pieces[i])) {
                next = sub;
                break;
            }
        }
        if (next < 0)
            return -1;
        folder = next;
    }
    std::vector<uint32_t> media;
    db.FolderMedia(folder, media);
    for (uint32_t id : media) {
        EntryInfo info;
        if (db.FindEntryById(id, &info) && NamesEqual(info.name, pieces.back()))
            return static_cast<int32_t>(id);
    }
    return -1;
}

}  // namespace

MediaDatabase* Writable(const MediaDatabase* database)
{
    return const_cast<MediaDatabase*>(database);
}

const MediaDatabase* DatabaseOf(Element* element)
{
    if (!element)
        return nullptr;
    if (element->GetMedia().database)
        return element->GetMedia().database;
    return element->Database();
}

int StringToMedia(Element* element, std::string_view text, MediaRef& media)
{
    media = MediaRef {};
    media.database = DatabaseOf(element);
    std::string_view name = text;
    size_t at = text.find('@');
    if (at != std::string_view::npos) {
        name = text.substr(0, at);
        std::string_view file = Trim(text.substr(at + 1));
        media.database = file.empty() ? media.database : OpenExtra(media.database, file);
    }
    name = Trim(name);
    MediaDatabase* db = Writable(media.database);
    if (!db || !db->IsOpen() || name.empty())
        return 0;
    if (name.front() == '#') {
        std::string digits(name.substr(1));
        char* end = nullptr;
        long id = std::strtol(digits.c_str(), &end, 10);
        if (end == digits.c_str() || id < 0)
            return 0;
        media.mediaId = static_cast<int32_t>(id);
        return db->FindEntryById(static_cast<uint32_t>(id), nullptr) ? 1 : 0;
    }
    if (name.find('\\') != std::string_view::npos) {
        media.mediaId = FindByFolderPath(*db, name);
        return media.mediaId >= 0 ? 1 : 0;
    }
    EntryInfo info;
    if (db->FindEntryByName(std::string(name), {}, &info)) {
        media.mediaId = static_cast<int32_t>(info.id);
        return 1;
    }
    return 0;
}

std::string MediaToString(Element*, const MediaRef& media)
{
    MediaDatabase* db = Writable(media.database);
    if (!db || media.mediaId < 0 || !db->FindEntryById(static_cast<uint32_t>(media.mediaId), nullptr))
        return {};
    return "#" + std::to_string(media.mediaId);
}

void LoadMediaPicture(const MediaRef& media, MemoryBlock& picture)
{
    picture.Clear();
    MediaDatabase* db = Writable(media.database);
    EntryInfo info;
    if (!db || media.mediaId < 0 || !db->FindEntryById(static_cast<uint32_t>(media.mediaId), &info))
        return;
    if (!NamesEqual(info.type, "Graphic") && !NamesEqual(info.type, "BMP"))
        return;
    // The picture is the medium's first part that holds a BMP file image.
    for (int32_t part = 0; part < 8; ++part) {
        MemoryBlock block;
        if (!db->ReadEntryPart(info, part, nullptr, block))
            break;
        if (block.Size() > kBmpFileHeaderSize && block.Compare(0, "BM", 2, Exact::Yes) == 0) {
            picture = std::move(block);
            return;
        }
    }
}

void PaletteOfPicture(const MemoryBlock& picture, MemoryBlock& palette)
{
    palette.Clear();
    if (picture.Size() < kBmpColorsUsedOffset + 4)
        return;
    int32_t infoSize = picture.ReadInt(kBmpInfoSizeOffset, 4);
    int32_t bits = picture.ReadInt(kBmpBitCountOffset, 2);
    int32_t used = picture.ReadInt(kBmpColorsUsedOffset, 4);
    int32_t colors = used > 0 ? used : (bits <= 8 ? 1 << bits : 0);
    if (colors > kMaxPaletteColors || infoSize < 12 || infoSize > picture.Size())
        colors = std::min(colors, kMaxPaletteColors);
    int32_t table = kBmpFileHeaderSize + infoSize;
    for (int32_t i = 0; i < colors && table + 4 * i + 3 <= picture.Size(); ++i) {
        const uint8_t* quad = picture.Data(table + 4 * i);
        uint8_t rgb[3] = {quad[2], quad[1], quad[0]};
        palette.Append(rgb, 3);
    }
}

void CloseExtraDatabases()
{
    ExtraDatabases().clear();
}

}  // namespace tamber
