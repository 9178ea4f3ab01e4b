#include "ProgramRun.h"

#include "TempFolder.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

extern char** environ;

static bool inherited(const char* entry)
{
    for (const char* name : {"PSX_DEBUG_OUTPUT=", "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="})
        if (std::strncmp(entry, name, std::strlen(name)) == 0)
            return false;
    return true;
}

ProgramRun runProgram(const std::vector<std::string>& command, const RunOptions& options)
{
    ProgramRun run;
    TempFolder captures;
    const std::string outPath = captures.file("stdout");
    const std::string errPath = captures.file("stderr");

    // argv and envp point into these strings, prepared before fork: between
    // fork and exec the child only calls async-signal-safe functions.
    std::vector<std::string> strings = command;
    for (char** entry = environ; *entry; ++entry)
        if (inherited(*entry))
            strings.emplace_back(*entry);
    strings.insert(strings.end(), options.environment.begin(), options.environment.end());
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (std::size_t i = 0; i < strings.size(); ++i)
        (i < command.size() ? argv : envp).push_back(strings[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    if (argv.size() < 2)
        return run;

    const pid_t pid = fork();
    if (pid < 0)
        return run;
    if (pid == 0)
    {
        const std::string& outTarget = options.standardOutput.empty() ? outPath : options.standardOutput;
        const int outFd = open(outTarget.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0)
            _exit(127);
        if (!options.workingFolder.empty() && chdir(options.workingFolder.c_str()) != 0)
            _exit(127);
        // As nobody (65534), the program runs from a descriptor opened while
        // still root: the build may lie in a folder nobody cannot enter.
        const bool dropRoot = options.unprivileged && geteuid() == 0;
        const int program = dropRoot ? open(argv[0], O_RDONLY | O_CLOEXEC) : -1;
        if (dropRoot && (program < 0 || setgroups(0, nullptr) || setgid(65534) || setuid(65534)))
            _exit(127);
        if (options.fileSizeLimit != RLIM_INFINITY)
        {
            // Ignored, the signal stays ignored across exec: writes past the
            // limit then fail instead of killing the program.
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(127);
        }
        if (dropRoot)
            fexecve(program, argv.data(), envp.data());
        else
            execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    run.out = captures.text("stdout");
    run.err = captures.text("stderr");
    return run;
}

ProgramRun runOnVirtualDisplay(const std::vector<std::string>& command, const RunOptions& options)
{
    // On X the keyboard library copies names with strndup from buffers that
    // end without a NUL, which the sanitizer build's strict string checks
    // report as an overflow; that check is not ours to keep, so it is off for
    // this run, after whatever the caller's options say.
    std::string lenient = "ASAN_OPTIONS=";
    if (const char* sanitizerOptions = std::getenv("ASAN_OPTIONS"))
        lenient.append(sanitizerOptions).append(":");
    lenient.append("strict_string_checks=0");
    std::vector<std::string> full{"/usr/bin/xvfb-run", "-a", "/usr/bin/env", lenient};
    full.insert(full.end(), command.begin(), command.end());
    return runProgram(full, options);
}
