#include "platform/ProgramFile.h"

#include <unistd.h>

#include <vector>

namespace tamber {

std::string ProgramFilePath()
{
    std::vector<char> buffer(4096);
    ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size())
        return {};
    return std::string(buffer.data(), static_cast<size_t>(length));
}

}  // namespace tamber
