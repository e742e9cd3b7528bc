#include "tamberlyne/Verb.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "tamberlyne/Version.h"

namespace tamberlyne {

std::string VerbContext::Option(const std::string& option, const std::string& fallback) const
{
    auto it = options.find(option);
    return it == options.end() ? fallback : it->second;
}

int VerbContext::Fail(const std::string& subject, const std::string& message) const
{
    err << "tamberlyne: " << (subject.empty() ? "" : subject + ": ") << message << "\n";
    return kExitFailure;
}

int VerbContext::UsageError(const std::string& message) const
{
    err << "tamberlyne " << verbName << ": " << message << "\n"
        << "usage: tamberlyne " << verbUsage << "\n";
    return kExitUsage;
}

VerbRegistry& VerbRegistry::Instance()
{
    static VerbRegistry registry;
    return registry;
}

void VerbRegistry::Add(const Verb& verb)
{
    m_verbs.push_back(verb);
}

const Verb* VerbRegistry::Find(const std::string& name) const
{
    for (const auto& verb : m_verbs)
        if (name == verb.name)
            return &verb;
    return nullptr;
}

std::vector<const Verb*> VerbRegistry::All() const
{
    std::vector<const Verb*> all;
    for (const auto& verb : m_verbs)
        all.push_back(&verb);
    std::sort(all.begin(), all.end(), [](const Verb* a, const Verb* b) {
        return a->order != b->order ? a->order < b->order : std::string(a->name) < b->name;
    });
    return all;
}

std::optional<long long> ParseInteger(const std::string& text)
{
    long long value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end)
        return std::nullopt;
    return value;
}

namespace {

const char* kGlobalHelp =
    "Global options (anywhere on the line):\n"
    "  --password PW     open a database that has a password\n"
    "  --data-dir DIR    the per-user data folder (default $XDG_DATA_HOME/tamber)\n"
    "  --drive D=PATH    map Windows drive D of catalogue paths to PATH (repeatable)\n"
    "  --help            this text; `tamberlyne help VERB` explains one verb\n"
    "  --version         the version\n"
    "Exit status: 0 success, 1 failure, 2 usage error.\n";

void PrintHelp(std::ostream& out)
{
    out << "usage: tamberlyne [global options] VERB [arguments]\n\n"
        << "The authoring command line of Tamber: builds, inspects, indexes, bundles and exports\n"
        << "media databases.\n\nVerbs:\n";
    for (const Verb* verb : VerbRegistry::Instance().All()) {
        std::string usage = verb->usage;
        out << "  " << usage;
        if (usage.size() < 44)
            out << std::string(44 - usage.size(), ' ');
        else
            out << "\n" << std::string(46, ' ');
        out << verb->summary << "\n";
    }
    out << "\n" << kGlobalHelp;
}

void PrintVerbHelp(const Verb& verb, std::ostream& out)
{
    out << "usage: tamberlyne " << verb.usage << "\n\n" << verb.summary << "\n";
    if (verb.details && *verb.details)
        out << "\n" << verb.details;
}

}  // namespace

int RunTamberlyne(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    GlobalOptions global;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto needValue = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                err << "tamberlyne: " << a << " needs a value\n";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--password") {
            if (!needValue(global.password))
                return kExitUsage;
        } else if (a == "--data-dir") {
            if (!needValue(global.dataDir))
                return kExitUsage;
        } else if (a == "--drive") {
            std::string map;
            if (!needValue(map))
                return kExitUsage;
            global.driveMaps.push_back(map);
        } else if (a == "--version") {
            out << "tamberlyne " << kTamberVersion << "\n";
            return kExitOk;
        } else {
            rest.push_back(a);
        }
    }
    if (rest.empty() || rest[0] == "--help" || rest[0] == "-h") {
        PrintHelp(rest.empty() ? err : out);
        return rest.empty() ? kExitUsage : kExitOk;
    }
    if (rest[0] == "help") {
        if (rest.size() < 2) {
            PrintHelp(out);
            return kExitOk;
        }
        const Verb* verb = VerbRegistry::Instance().Find(rest[1]);
        if (!verb) {
            err << "tamberlyne: unknown verb \"" << rest[1] << "\"\n";
            return kExitUsage;
        }
        PrintVerbHelp(*verb, out);
        return kExitOk;
    }

    const Verb* verb = VerbRegistry::Instance().Find(rest[0]);
    if (!verb) {
        err << "tamberlyne: unknown verb \"" << rest[0] << "\"; `tamberlyne --help` lists them\n";
        return kExitUsage;
    }
    VerbContext ctx{{}, {}, global, out, err, verb->name, verb->usage};
    for (size_t i = 1; i < rest.size(); ++i) {
        const std::string& a = rest[i];
        if (a == "--help" || a == "-h") {
            PrintVerbHelp(*verb, out);
            return kExitOk;
        }
        bool isFlag = std::find(verb->flags.begin(), verb->flags.end(), a) != verb->flags.end();
        bool takesValue =
            std::find(verb->valueOptions.begin(), verb->valueOptions.end(), a) != verb->valueOptions.end();
        if (isFlag) {
            ctx.options[a] = "";
        } else if (takesValue) {
            if (i + 1 >= rest.size())
                return ctx.UsageError(a + " needs a value");
            ctx.options[a] = rest[++i];
        } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
            return ctx.UsageError("unknown option " + a);
        } else {
            ctx.positional.push_back(a);
        }
    }
    return verb->run(ctx);
}

}  // namespace tamberlyne
