#pragma once

#include <string>
#include <string_view>

#include "base/MemoryBlock.h"
#include "iface/MediaRef.h"

namespace tamber {

class Element;
class MediaDatabase;

// Media reference strings: a media name, "#" and a decimal id, or a folder path ("a\b\name"),
// optionally followed by "@" and a database file. A database other than the element's own is
// opened once and kept open for the rest of the run.
// Fills media (id -1 when nothing matches) and answers 1 when a medium was found.
int StringToMedia(Element* element, std::string_view text, MediaRef& media);
// "#id" of an existing medium; empty without a database or when the id does not exist.
std::string MediaToString(Element* element, const MediaRef& media);
// The database a media reference of the element starts from: the element's own, else its
// Interface's.
const MediaDatabase* DatabaseOf(Element* element);
// Catalogue lookups through a reference (the catalogue's lookups are not const).
MediaDatabase* Writable(const MediaDatabase* database);

// The picture of a "Graphic" or "BMP" medium as a BMP file image; empty for any other medium.
void LoadMediaPicture(const MediaRef& media, MemoryBlock& picture);
// The colour table of a BMP file image as red, green, blue triples; empty when it has none.
void PaletteOfPicture(const MemoryBlock& picture, MemoryBlock& palette);

// Closes the extra databases opened for "@file" references.
void CloseExtraDatabases();

}  // namespace tamber
