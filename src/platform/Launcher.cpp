#include "platform/Launcher.h"

#include "base/QuotedWords.h"

namespace tamber {

std::vector<std::string> Launcher::SplitArguments(const std::string& arguments)
{
    return SplitQuotedWords(arguments, " \t");
}

}  // namespace tamber
