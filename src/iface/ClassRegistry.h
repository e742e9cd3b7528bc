#pragma once

#include <cstdint>
#include <map>
#include <span>

#include "base/Resources.h"
#include "iface/ClassDefinition.h"

namespace tamber {

// The process-wide registry of parsed class tables. A class table is parsed from the program's
// raw-data resource of the class id the first time an element of that class is built, and
// kept until the program ends; every element gets its own copy.
class ClassRegistry {
public:
    explicit ClassRegistry(const Resources& resources) : m_resources(resources) { }

    // The registry over the program's own resources (the class tables are added to them).
    static ClassRegistry& Process();

    // Replaces out with a fresh copy of class classId. 1, or 0 when the resource is missing
    // (out then has empty tables but keeps the class id and type name).
    int Load(uint16_t classId, ClassDefinition& out);

    // Parses one class table resource into the three tables of out; answers the bytes read.
    // Each list ends with an empty name or when the bytes run out; an entry cut short by the
    // end of the bytes is dropped. Names are cut to 31 characters.
    static int32_t Parse(std::span<const uint8_t> bytes, ClassDefinition& out);

private:
    const Resources& m_resources;
    std::map<uint16_t, ClassDefinition> m_classes;
};

}  // namespace tamber
