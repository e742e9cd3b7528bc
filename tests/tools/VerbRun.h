#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tamberlyne/Verb.h"

// One in-process tamberlyne run: its exit status and what it printed.
struct VerbRun {
    int status;
    std::string out;
    std::string err;
};

inline VerbRun Tamberlyne(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int status = tamberlyne::RunTamberlyne(args, out, err);
    return {status, out.str(), err.str()};
}
