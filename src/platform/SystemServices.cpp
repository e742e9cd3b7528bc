#include "platform/SystemServices.h"

namespace tamber {

std::string ChooseDataFolder(const std::string& option, const char* xdgDataHome, const char* home)
{
    if (!option.empty())
        return option;
    if (xdgDataHome && *xdgDataHome)
        return std::string(xdgDataHome) + "/tamber";
    return std::string(home && *home ? home : ".") + "/.local/share/tamber";
}

}  // namespace tamber
