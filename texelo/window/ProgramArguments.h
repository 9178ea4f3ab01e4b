#pragma once

// Texelo's own options, anywhere on the command line up to "--". They are
// taken off before the command-line text (the window's title, the script
// name and the batch switch) is formed, so a run with them reads its script
// exactly as a run without.

#include <optional>
#include <string>
#include <vector>

struct ProgramArguments
{
    enum class Request
    {
        Run,
        Help,
        Version,
        UsageError,
    };

    Request request = Request::Run;
    std::string usageError;                 // with UsageError: what is wrong
    bool quiet = false;                     // -q, --quiet
    bool dryRun = false;                    // --dry-run
    std::optional<std::string> reportPath;  // --report FILE.json
    std::optional<std::string> mapPath;     // --map FILE.png
    std::optional<std::string> depfilePath; // --depfile FILE
    // The script name and, where given, the batch switch, in their order.
    std::vector<std::string> scriptArguments;
};

[[nodiscard]] ProgramArguments parseProgramArguments(int argc, const char* const* argv);

// The usage text --help prints and a usage error repeats on standard error.
[[nodiscard]] const char* programUsage();
