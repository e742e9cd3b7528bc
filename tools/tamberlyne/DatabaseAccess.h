#pragma once

#include <cstdint>
#include <string>

#include "db/RecordFile.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

// How a verb needs its database.
enum class DatabaseAccess {
    ReadOnly,   // never writes, never creates; a missing file is an error
    ReadWrite,  // an existing database that can be changed
    Create,     // as ReadWrite, created when missing
};

// Opens the database at path with the global --password, reading the container of a player
// file too. On failure reports one line on ctx.err ("tamberlyne: PATH: what is wrong") and
// answers false.
bool OpenDatabase(VerbContext& ctx, const std::string& path, DatabaseAccess access, tamber::RecordFile& file);

// Parses a record name (1 to 8 ASCII letters) and a record id (0 to 4294967295); reports a
// usage error and answers false when they are not.
bool ParseRecordKey(VerbContext& ctx, const std::string& name, const std::string& id, uint32_t& idOut);

}  // namespace tamberlyne
