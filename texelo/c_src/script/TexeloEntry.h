#pragma once

#include "script/TexeloContext.h"

#include <string>
#include <string_view>

// The command line as Texelo reads it: the arguments joined by blanks (the
// window's title), the script name (lower-cased) and the option word.
struct TexeloCommandLine
{
    std::string text;
    std::string scriptName;
    std::string optionWord;

    // "/c" (exactly) ends the program once the script is done.
    [[nodiscard]] bool batch() const { return optionWord == "/c"; }
};

[[nodiscard]] TexeloCommandLine splitCommandLine(std::string_view text);

// Runs the script named on the command line with fresh placement tables.
void runTexelo(TexeloContext& ctx, const TexeloCommandLine& commandLine);
