#include "StandardOutput.h"

#include <cerrno>
#include <cstring>

bool outputReached(std::FILE* out, std::FILE* err, const char* program)
{
    errno = 0;
    if (std::fflush(out) == 0 && std::ferror(out) == 0)
        return true;
    // A write that failed before this flush may have left errno behind it.
    const char* reason = errno != 0 ? std::strerror(errno) : "write error";
    std::fprintf(err, "%s: cannot write standard output: %s\n", program, reason);
    std::fflush(err);
    return false;
}
