#pragma once

// Checks an internal invariant of the texture bookkeeping. A broken one is a
// programming error, so the program stops at once, naming the invariant, the
// module and the line; the check stays in release builds.
#define TEXELO_ASSERT(condition, text, module)                                                               \
    ((condition) ? static_cast<void>(0) : texeloAssertionFailed(text, module, __LINE__))

[[noreturn]] void texeloAssertionFailed(const char* expression, const char* module, int line);

// The module the bookkeeping assertions report.
inline constexpr const char* kTexeloModule = "c_src/Texelo";
