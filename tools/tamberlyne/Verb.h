#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tamberlyne {

enum ExitCode { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Options that every verb accepts, taken out of the command line before the verb runs.
struct GlobalOptions {
    std::string password;
    std::string dataDir;
    std::vector<std::string> driveMaps;  // "D=/media/cdrom"
};

// What a verb gets: its words (options it declared split out), the global options and the
// output streams. Verbs write results to out and one-line errors to err.
struct VerbContext {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // "--raw" -> "" ; "--slack" -> "16"
    GlobalOptions global;
    std::ostream& out;
    std::ostream& err;

    bool Has(const std::string& option) const { return options.count(option) != 0; }
    std::string Option(const std::string& option, const std::string& fallback = {}) const;
    // Reports "tamberlyne: SUBJECT: MESSAGE" on err and answers kExitFailure.
    int Fail(const std::string& subject, const std::string& message) const;
    // Reports a usage error for this verb and answers kExitUsage.
    int UsageError(const std::string& message) const;
    std::string verbName;
    std::string verbUsage;
};

struct Verb {
    const char* name;
    const char* usage;     // "info DB"
    const char* summary;   // one line for the verb list
    const char* details;   // the rest of `tamberlyne help VERB`; may be empty
    std::vector<std::string> flags;         // options without a value, such as "--raw"
    std::vector<std::string> valueOptions;  // options with a value, such as "--slack"
    int (*run)(VerbContext&);
    int order;             // position in the help listing
};

// Verbs register themselves from their own files with a static VerbRegistration.
class VerbRegistry {
public:
    static VerbRegistry& Instance();
    void Add(const Verb& verb);
    const Verb* Find(const std::string& name) const;
    std::vector<const Verb*> All() const;

private:
    std::vector<Verb> m_verbs;
};

struct VerbRegistration {
    explicit VerbRegistration(const Verb& verb) { VerbRegistry::Instance().Add(verb); }
};

// Runs the tool on a full command line (without the program name), as main() does.
int RunTamberlyne(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Parses a decimal integer option; answers nullopt when the text is not one.
std::optional<long long> ParseInteger(const std::string& text);

}  // namespace tamberlyne
