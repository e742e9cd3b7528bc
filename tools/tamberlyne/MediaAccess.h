#pragma once

#include <string>
#include <vector>

#include "db/MediaDatabase.h"
#include "platform/MessageSink.h"
#include "platform/PathResolver.h"
#include "platform/PosixSystemServices.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

// An open media database for a read-only verb. An old layout is upgraded in memory only, and
// one line on stderr says so.
struct ReadOnlyDatabase {
    tamber::PosixSystemServices system;
    tamber::CapturingMessageSink messages;
    tamber::MediaDatabase db;

    explicit ReadOnlyDatabase(const VerbContext& ctx);

    // Checks that the verb was given `arguments` positional arguments, DB first, and opens DB.
    // Answers kExitOk when open, else reports and answers the exit status.
    int Open(VerbContext& ctx, size_t arguments, const char* usage);

    // Open, then finds the medium the second argument names: a name (any type) or "#id".
    int OpenWithMedium(VerbContext& ctx, size_t arguments, const char* usage, tamber::MediaEntry& entry);
};

// The global --drive LETTER=FOLDER options. Answers kExitOk, or the usage error for a bad one.
int ReadDriveMappings(VerbContext& ctx, std::vector<tamber::DriveMapping>& mappings);

}  // namespace tamberlyne
