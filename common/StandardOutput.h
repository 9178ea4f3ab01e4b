#pragma once

#include <cstdio>

// Whether everything written to `out` so far reached its file. Help, a
// version or a list lost to a full disk or a closed pipe must not pass for
// printed: when it did not, "PROGRAM: cannot write standard output: REASON"
// goes to `err` and the caller fails the run.
[[nodiscard]] bool outputReached(std::FILE* out, std::FILE* err, const char* program);
