#pragma once

#include <string>

namespace tamber {

// The path of the running program's own file (the platform's module file name), empty when the
// platform cannot tell.
std::string ProgramFilePath();

}  // namespace tamber
