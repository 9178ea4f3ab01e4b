#pragma once

#include "script/TexeloContext.h"

#include <string>
#include <vector>

// The command line as Texelo reads it: the words that are not program
// options, joined by single blanks (the window's title), the script name
// (the first of them that is not the batch switch, blanks included) both as
// given and lower-cased, and whether the batch switch was given.
struct TexeloCommandLine
{
    std::string text;
    std::string scriptAsNamed;
    std::string scriptName;
    bool batch = false; // ends the program once the script is done
};

// "/c" in any letter case, or "-c".
[[nodiscard]] bool isBatchSwitch(std::string_view word);

// `words` hold the script name and, before or after it, the batch switch.
[[nodiscard]] TexeloCommandLine commandLineOf(const std::vector<std::string>& words);

// Runs the script named on the command line with fresh placement tables.
void runTexelo(TexeloContext& ctx, const TexeloCommandLine& commandLine);
