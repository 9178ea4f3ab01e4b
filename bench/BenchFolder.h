#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <unistd.h>

// A new, empty scratch folder for a benchmark's generated inputs and
// outputs, under TMPDIR (or /tmp); nothing, after a message naming
// `benchmark`, when it cannot be made.
inline std::optional<std::filesystem::path> makeBenchFolder(const std::string& benchmark)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + benchmark + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
    {
        std::fprintf(stderr, "%s: cannot create a temporary folder\n", benchmark.c_str());
        return std::nullopt;
    }
    return std::filesystem::absolute(pattern);
}
