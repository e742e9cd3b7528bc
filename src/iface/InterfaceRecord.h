#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber {

class Element;
class InterfaceModel;
class MediaDatabase;

// The stored form of an Interface (the decoded payload of its media record) and the
// clipboard format "IntObj" of copied elements.
//
// Record: two reserved 32-bit zeros, the number of Cards, the number of Background entries,
// the Background's entries, then per Card a header (entry count, a 32-bit zero, the name as a
// pstring) and its entries, then trailing chunks ("Guid", "Grid", "Effc", "Scrp", "Tokn",
// "UAtt", "UEvn", "Intr") up to the end. An entry: id, a 32-bit zero, an empty pstring, the type
// name (pstring), a reserved rectangle of four 32-bit zeros, and the element block.
class InterfaceRecord {
public:
    static constexpr int32_t kCardCountOffset = 8;
    static constexpr int32_t kBackgroundCountOffset = 12;
    static constexpr int32_t kHeaderSize = 16;
    static constexpr int32_t kGuideEntrySize = 13;
    static constexpr const char* kClipboardFormat = "IntObj";

    // Rebuilds the model from a record: the Background, the Cards with their elements, the
    // authoring settings and the Interface object's own data. Never fails on damaged input:
    // what cannot be read is left empty. Answers 1.
    static int Load(InterfaceModel& model, const MediaDatabase* database, const MemoryBlock& payload);
    // Writes the model in the layout Load reads.
    static void Write(const InterfaceModel& model, MemoryBlock& out);

    // "IntObj": the element count (u32), then per element a 32-bit zero, an empty pstring, the
    // type name, the frame (four 32-bit values) and the element block.
    static void WriteClipboard(std::span<const Element* const> elements, MemoryBlock& out);
    // The elements of an "IntObj" block, created for model but not placed on a Card.
    static std::vector<std::unique_ptr<Element>> ReadClipboard(InterfaceModel& model, const MemoryBlock& block);
};

}  // namespace tamber
