// Runs a check in a forked child under conditions a test cannot set up for
// its own process: a file-size limit that makes writes fail, or the
// permissions of an ordinary user when the tests run as root.
#pragma once

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>

struct ChildConditions
{
    // Writes that would make a file larger than this fail with EFBIG.
    rlim_t fileSizeLimit = RLIM_INFINITY;
    // Run as user "nobody" when started as root, so that permission bits count.
    bool unprivileged = false;
};

constexpr int kChildSetupFailed = 120;

// The child's exit status: `check`'s result (0-119) or kChildSetupFailed; -1
// when the child did not exit normally.
inline int runInChild(const ChildConditions& conditions, const std::function<int()>& check)
{
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0)
    {
        if (conditions.fileSizeLimit != RLIM_INFINITY)
        {
            // Without this the kernel would kill the child instead of failing the write.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{conditions.fileSizeLimit, conditions.fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(kChildSetupFailed);
        }
        if (conditions.unprivileged && geteuid() == 0)
        {
            constexpr uid_t kNobody = 65534;
            if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)
                _exit(kChildSetupFailed);
        }
        _exit(check());
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
