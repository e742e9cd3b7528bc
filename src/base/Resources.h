#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber {

// One resource compiled into the program: raw bytes addressed by a type and an id.
struct ResourceData {
    uint16_t type;
    uint16_t id;
    const uint8_t* bytes;
    int32_t size;
};

// The program's own resources. Each layer that embeds resources hands its table over once
// (tables are static data generated at build time and outlive the registry); lookups answer
// the bytes of the first table entry with the requested type and id.
class Resources {
public:
    // Resource type of raw-data tables.
    static constexpr uint16_t kRawData = 10;

    // The resources of the running program.
    static Resources& Program();

    // Adds a table; a table already added is ignored.
    void Add(std::span<const ResourceData> table);

    // The bytes of resource (type, id); empty when there is none.
    std::span<const uint8_t> Find(uint16_t type, uint16_t id) const;
    // Copies resource (type, id) into out: 1, or -1 when there is none.
    int32_t Load(uint16_t type, uint16_t id, MemoryBlock& out) const;

private:
    std::vector<std::span<const ResourceData>> m_tables;
};

}  // namespace tamber
