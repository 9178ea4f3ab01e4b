// Runs a program with arguments and a chosen debug-output setting, capturing
// its standard output and standard error separately.
#pragma once

#include "TempFolder.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

struct ProgramRun
{
    int exitStatus = -1; // -1 when the program could not run or did not exit
    std::string out;
    std::string err;
};

// `debugSetting` becomes PSX_DEBUG_OUTPUT; without it the variable is unset.
// Files the program writes cannot grow beyond `fileSizeLimit` bytes.
inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::optional<std::string>& debugSetting = std::nullopt,
                             rlim_t fileSizeLimit = RLIM_INFINITY)
{
    ProgramRun run;
    TempFolder captures;
    const std::string outPath = captures.file("stdout");
    const std::string errPath = captures.file("stderr");

    // argv and envp point into these strings, prepared before fork.
    std::vector<std::string> strings{program};
    strings.insert(strings.end(), args.begin(), args.end());
    const std::size_t argc = strings.size();
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, "PSX_DEBUG_OUTPUT=", 17) != 0)
            strings.emplace_back(*entry);
    if (debugSetting)
        strings.push_back("PSX_DEBUG_OUTPUT=" + *debugSetting);
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (std::size_t i = 0; i < strings.size(); ++i)
        (i < argc ? argv : envp).push_back(strings[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    // Everything the child needs is prepared before fork: between fork and
    // exec it only calls async-signal-safe functions.
    const pid_t pid = fork();
    if (pid < 0)
        return run;
    if (pid == 0)
    {
        const int outFd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0)
            _exit(127);
        if (fileSizeLimit != RLIM_INFINITY)
        {
            // Ignored, the signal stays ignored across exec: writes past the
            // limit then fail instead of killing the program.
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(127);
        }
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    const mdfwriter::Bytes out = readBytes(outPath);
    const mdfwriter::Bytes err = readBytes(errPath);
    run.out.assign(out.begin(), out.end());
    run.err.assign(err.begin(), err.end());
    return run;
}
