#pragma once

// Runs the texelo executable in a chosen working folder, capturing standard
// output and standard error separately.

#include "texelo/TempFolder.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

struct TexeloRun
{
    int exitStatus = -1; // -1 when the program could not run or did not exit
    std::string out;
    std::string err;
};

// Runs `command` (its first word a path to the program). Files the program
// writes cannot grow beyond `fileSizeLimit` bytes.
inline TexeloRun runCommand(std::vector<std::string> strings, const std::string& workingFolder,
                            rlim_t fileSizeLimit = RLIM_INFINITY)
{
    TempFolder captures;
    const std::string outPath = captures.path() + "/stdout";
    const std::string errPath = captures.path() + "/stderr";
    std::vector<char*> argv;
    for (std::string& arg : strings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    // The debug channel stays silent and no window can open (a run without
    // "/c" would wait for it), whatever the caller's environment says.
    const auto inherited = [](const char* entry) {
        for (const char* name : {"PSX_DEBUG_OUTPUT=", "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="})
            if (std::strncmp(entry, name, std::strlen(name)) == 0)
                return false;
        return true;
    };
    std::vector<char*> envp;
    for (char** entry = environ; *entry; ++entry)
        if (inherited(*entry))
            envp.push_back(*entry);
    envp.push_back(nullptr);

    TexeloRun run;
    const pid_t pid = fork();
    if (pid < 0)
        return run;
    if (pid == 0)
    {
        const int outFd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0 ||
            chdir(workingFolder.c_str()) != 0)
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
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    const auto text = [](const std::string& path)
    {
        std::ostringstream content;
        content << std::ifstream(path, std::ios::binary).rdbuf();
        return content.str();
    };
    run.out = text(outPath);
    run.err = text(errPath);
    return run;
}

inline TexeloRun runTexelo(const std::vector<std::string>& args, const std::string& workingFolder,
                           rlim_t fileSizeLimit = RLIM_INFINITY)
{
    std::vector<std::string> command{TEXELO_EXECUTABLE};
    command.insert(command.end(), args.begin(), args.end());
    return runCommand(std::move(command), workingFolder, fileSizeLimit);
}

// Runs `command` on a virtual X display of its own (the set-up installs it).
// On X the keyboard library copies names with strndup from buffers that end
// without a NUL, which the sanitizer build's strict string checks report as
// an overflow; that check is not ours to keep, so it is off for this run,
// after whatever the caller's options say.
inline TexeloRun runOnVirtualDisplay(const std::vector<std::string>& command,
                                     const std::string& workingFolder)
{
    std::string lenient = "ASAN_OPTIONS=";
    if (const char* sanitizerOptions = std::getenv("ASAN_OPTIONS"))
        lenient.append(sanitizerOptions).append(":");
    lenient.append("strict_string_checks=0");
    std::vector<std::string> full{"/usr/bin/xvfb-run", "-a", "/usr/bin/env", lenient};
    full.insert(full.end(), command.begin(), command.end());
    return runCommand(std::move(full), workingFolder);
}
