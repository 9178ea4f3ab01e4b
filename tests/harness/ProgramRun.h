#pragma once

// Runs one of our programs as a user's shell would, capturing standard
// output and standard error separately.

#include <sys/resource.h>

#include <string>
#include <vector>

// exitStatus is -1 when the program could not run or did not exit.
// clang-format off
struct ProgramRun { int exitStatus = -1; std::string out; std::string err; };
// clang-format on

struct RunOptions
{
    std::string workingFolder{}; // empty: the test's own
    // NAME=VALUE entries added to the environment. Of the test's own, the
    // debug channel and every display setting are left out, so a run is
    // silent and opens no window unless the test says so here.
    std::vector<std::string> environment{};
    // Files the program writes cannot grow beyond this many bytes.
    rlim_t fileSizeLimit = RLIM_INFINITY;
    // Where standard output goes instead of being captured: "/dev/full" say.
    std::string standardOutput{};
    // Run as user nobody when the tests run as root, who may write anything,
    // so that file permissions hold for the program as for a user.
    bool unprivileged = false;
};

// `command` is the program's path followed by its arguments.
[[nodiscard]] ProgramRun runProgram(const std::vector<std::string>& command, const RunOptions& options = {});

// The same on a virtual X display of its own (the set-up installs it).
[[nodiscard]] ProgramRun runOnVirtualDisplay(const std::vector<std::string>& command,
                                             const RunOptions& options = {});
