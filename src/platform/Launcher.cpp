#include "platform/Launcher.h"

namespace tamber {

std::vector<std::string> Launcher::SplitArguments(const std::string& arguments)
{
    std::vector<std::string> out;
    std::string current;
    bool inWord = false;
    bool quoted = false;
    for (char c : arguments) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                out.push_back(std::move(current));
            current.clear();
            inWord = false;
        } else {
            current.push_back(c);
            inWord = true;
        }
    }
    if (inWord)
        out.push_back(std::move(current));
    return out;
}

}  // namespace tamber
