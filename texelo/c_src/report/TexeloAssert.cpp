#include "report/TexeloAssert.h"

#include <cstdio>
#include <cstdlib>

void texeloAssertionFailed(const char* expression, const char* module, int line)
{
    std::fflush(stdout);
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, module, line);
    std::abort();
}
