#include "media/GraphicMedium.h"

#include <algorithm>
#include <memory>

#include "base/AsciiCase.h"
#include "db/MediaDatabase.h"
#include "media/CanvasPainter.h"
#include "media/DrawingSurface.h"
#include "platform/FileSystem.h"
#include "platform/PathResolver.h"
#include "platform/SystemServices.h"

namespace tamber {

namespace {

constexpr const char* kModeTag = "Mode";
constexpr const char* kObjectsTag = "Objs";
constexpr const char* kBitmapsTag = "Bmps";
constexpr int32_t kModeSize = 4;
constexpr char kMediumSeparator = '#';

bool IsBmpName(const std::string& path)
{
    return path.size() >= 4 && EqualFolded(std::string_view(path).substr(path.size() - 4), ".BMP");
}

bool IsGraphicType(const std::string& type)
{
    return EqualFolded(type, "Graphic") || EqualFolded(type, "BMP");
}

bool IsPackedDib(const MemoryBlock& block)
{
    return block.Size() > 2 && block.Data()[0] == 'B' && block.Data()[1] == 'M';
}

} // namespace

std::string GraphicFiles::Resolve(const std::string& windowsPath) const
{
    if (system != nullptr)
        return PathResolver(*system).Resolve(windowsPath, baseFolder);
    std::string path = windowsPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (!path.empty() && path.front() != '/' && !baseFolder.empty())
        path = baseFolder + "/" + path;
    return path;
}

int GraphicFiles::ReadFile(const std::string& windowsPath, MemoryBlock& bytes) const
{
    if (fileSystem == nullptr || windowsPath.empty())
        return 0;
    const std::string path = Resolve(windowsPath);
    if (path.empty())
        return 0;
    std::unique_ptr<File> file = fileSystem->Open(path, FileMode::ReadOnly);
    if (file == nullptr)
        return 0;
    const int64_t length = file->Length();
    if (length < 0 || length > INT32_MAX)
        return 0;
    bytes = MemoryBlock(static_cast<int32_t>(length));
    return file->Read(0, bytes.Data(), length) == length ? 1 : 0;
}

std::string GraphicMedium::ExternalPicture(const EntryInfo& info)
{
    for (int32_t i = 0;; ++i) {
        std::string path;
        if (!m_db->ExternalPath(info, i, nullptr, path))
            return {};
        if (IsBmpName(path))
            return path;
    }
}

GraphicMedium::Status GraphicMedium::ReadPicture(const EntryInfo& info, MemoryBlock& picture)
{
    picture.Clear();
    const std::string external = ExternalPicture(info);
    if (!external.empty())
        return m_files.ReadFile(external, picture) ? Status::Ok : Status::FileMissing;
    return m_db->ReadEntryPart(info, 0, nullptr, picture) && !picture.Empty() ? Status::Ok
                                                                              : Status::NoPicture;
}

GraphicMedium::Status GraphicMedium::Load(uint32_t mediaId)
{
    m_picture.Clear();
    m_external.clear();
    m_hotLinks.Links().clear();
    m_hasCanvas = false;
    m_canvas.Clear();
    EntryInfo info;
    int32_t parts = 0;
    EntryFields fields;
    fields.partCount = &parts;
    if (m_db == nullptr || !m_db->FindEntryById(mediaId, &info, fields))
        return Status::NoMedium;
    if (!IsGraphicType(info.type))
        return Status::NotGraphic;
    m_external = ExternalPicture(info);
    const Status picture = ReadPicture(info, m_picture);
    if (picture != Status::Ok)
        return picture;
    // With an outside picture every part moves up one place.
    const int32_t shift = m_external.empty() ? 0 : 1;
    const int32_t hotLinksPart = 1 - shift;
    MemoryBlock stored;
    if (parts > hotLinksPart && m_db->ReadEntryPart(info, hotLinksPart, nullptr, stored))
        m_hotLinks.Parse(stored);
    if (parts <= 2 - shift)
        return Status::Ok;
    MemoryBlock mode;
    if (!m_db->ReadEntryPartByTag(info, kModeTag, mode) || mode.Size() < kModeSize || mode.ReadInt(0, 4) == 0)
        return Status::Ok;
    m_hasCanvas = true;
    MemoryBlock objects;
    MemoryBlock bitmaps;
    m_db->ReadEntryPartByTag(info, kObjectsTag, objects);
    m_db->ReadEntryPartByTag(info, kBitmapsTag, bitmaps);
    // The text may be stored with its terminating NUL.
    std::string_view text = objects.View();
    text = text.substr(0, text.find('\0'));
    Canvas::Sources sources;
    sources.bitmaps = &bitmaps;
    sources.files = this;
    sources.hotLinks = &m_hotLinks;
    sources.messages = m_messages;
    return m_canvas.Read(text, sources) ? Status::Ok : Status::CanvasFailed;
}

int GraphicMedium::Compose(
    ScreenContext& context, DibImage& out, gfx::GlyphSource* glyphs, OfferConversion offer)
{
    if (m_picture.Empty() || out.SetFromPackedDib(m_picture, ImagePalette::Yes, offer) == 0)
        return 0;
    if (!m_hasCanvas)
        return 1;
    DrawingSurface surface(context, out);
    if (surface.Dc() == nullptr)
        return 0;
    CanvasPainter(*surface.Dc(), glyphs).Draw(m_canvas);
    return 1;
}

int GraphicMedium::PictureOfMedium(MediaDatabase& db, const std::string& name, MemoryBlock& picture)
{
    EntryInfo info;
    if (!db.FindEntryByName(name, "Graphic", &info) && !db.FindEntryByName(name, "BMP", &info))
        return 0;
    GraphicMedium other(&db, m_files, nullptr);
    return other.ReadPicture(info, picture) == Status::Ok && IsPackedDib(picture) ? 1 : 0;
}

int GraphicMedium::LoadPicture(const std::string& fileName, MemoryBlock& picture)
{
    const size_t hash = fileName.find(kMediumSeparator);
    if (hash == std::string::npos)
        return m_files.ReadFile(fileName, picture) && IsPackedDib(picture) ? 1 : 0;
    const std::string file = fileName.substr(0, hash);
    const std::string name = fileName.substr(hash + 1);
    if (m_db != nullptr)
        return PictureOfMedium(*m_db, name, picture);
    if (m_files.fileSystem == nullptr)
        return 0;
    const std::string path = m_files.Resolve(file);
    if (path.empty())
        return 0;
    MediaDatabase named(*m_files.fileSystem, nullptr, nullptr);
    if (named.Open(path, {}, DatabaseAccess::ReadOnly) != 1)
        return 0;
    return PictureOfMedium(named, name, picture);
}

} // namespace tamber
