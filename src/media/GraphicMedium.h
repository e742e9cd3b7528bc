#pragma once

#include <cstdint>
#include <string>

#include "base/MemoryBlock.h"
#include "db/MediaEntry.h"
#include "media/Canvas.h"
#include "media/CanvasPictureSource.h"
#include "media/DibImage.h"
#include "media/HotLinkTable.h"
#include "platform/gfx/GlyphSource.h"

namespace tamber {

class DibImage;
class FileSystem;
class MediaDatabase;
class ScreenContext;
class MessageSink;
class SystemServices;

// Finds the outside files a Graphic medium names: its external picture and the pictures its
// BITMAP objects name. Windows paths resolve without regard to case from the database's folder
// when system services are given, else as they stand relative to that folder.
struct GraphicFiles {
    FileSystem* fileSystem = nullptr;
    SystemServices* system = nullptr;
    std::string baseFolder;

    std::string Resolve(const std::string& windowsPath) const;
    // The whole file; answers 0 when it cannot be read or is larger than a block can hold.
    int ReadFile(const std::string& windowsPath, MemoryBlock& bytes) const;
};

// A Graphic (or "BMP") medium read from a database: its picture, hot links and object canvas.
// The picture is part 0, unless the entry names an outside ".BMP" file; then part 0 takes the
// place of part 1, the hot-link table. The tagged parts "Mode", "Objs" and "Bmps" are read only
// when the entry has more than two parts (more than one with an outside picture), and the
// canvas only when the first word of "Mode" is not 0.
class GraphicMedium : public CanvasPictureSource {
public:
    enum class Status { Ok, NoMedium, NotGraphic, FileMissing, NoPicture, CanvasFailed };

    // messages may be null.
    GraphicMedium(MediaDatabase* database, GraphicFiles files, MessageSink* messages = nullptr)
        : m_db(database)
        , m_files(std::move(files))
        , m_messages(messages)
    {
    }

    Status Load(uint32_t mediaId);
    // The medium's picture alone (outside file or part 0), for callers that need no canvas.
    Status ReadPicture(const EntryInfo& info, MemoryBlock& picture);

    const MemoryBlock& Picture() const { return m_picture; }
    // The outside file the picture came from, as the catalogue names it; empty for part 0.
    const std::string& ExternalFile() const { return m_external; }
    HotLinkTable& HotLinks() { return m_hotLinks; }
    bool HasCanvas() const { return m_hasCanvas; }
    Canvas& GetCanvas() { return m_canvas; }

    // The picture with the live canvas objects drawn over it, as an image of the picture's size
    // with the picture's own palette. glyphs may be null (no text is drawn then). Answers 1, or
    // 0 when the picture cannot be built.
    int Compose(ScreenContext& context, DibImage& out, gfx::GlyphSource* glyphs, OfferConversion offer);

    // BITMAP objects' pictures by name: a bitmap file, or "file#name", the medium called name
    // (type "Graphic", else "BMP") in this database or, without one, in the database file.
    int LoadPicture(const std::string& fileName, MemoryBlock& picture) override;

private:
    // The picture of the medium called name in a database.
    int PictureOfMedium(MediaDatabase& db, const std::string& name, MemoryBlock& picture);
    // The first outside reference with a ".BMP" name, or empty.
    std::string ExternalPicture(const EntryInfo& info);

    MediaDatabase* m_db;
    GraphicFiles m_files;
    MessageSink* m_messages;
    MemoryBlock m_picture;
    std::string m_external;
    HotLinkTable m_hotLinks;
    bool m_hasCanvas = false;
    Canvas m_canvas;
};

} // namespace tamber
