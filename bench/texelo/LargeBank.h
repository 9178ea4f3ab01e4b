// A generated level of 500 textures for timing Texelo end to end: Targa files
// of mixed sizes, depths and file forms, and the layout scripts that place
// them, one bank per script.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct LargeBank
{
    // Script file names, relative to the folder: the same banks twice, once
    // naming every texture as its file is spelt (t000), once in upper case
    // (T000) as old scripts do, which the program finds by a case-blind search.
    std::vector<std::string> scripts;
    std::vector<std::string> upperCaseScripts;
    int textures = 0; // textures the scripts place
    int textures4 = 0, textures8 = 0, textures16 = 0;
    int64_t targaBytes = 0; // sum of the Targa file sizes
};

// Writes the textures and scripts into `folder` (which must exist). The
// scripts name the textures and banks relative to `folder`, so they run with
// it as the working folder. Deterministic; empty scripts on a write failure.
[[nodiscard]] LargeBank writeLargeBank(const std::filesystem::path& folder, int textureCount = 500);
