#pragma once

#include "script/TexeloContext.h"

#include <string>
#include <vector>

// The command line as Texelo reads it: the arguments joined by single blanks
// (the window's title), the script name (the first argument as given, blanks
// included, lower-cased) and the option word (the second argument).
struct TexeloCommandLine
{
    std::string text;
    std::string scriptName;
    std::string optionWord;

    // "/c" (exactly) ends the program once the script is done.
    [[nodiscard]] bool batch() const { return optionWord == "/c"; }
};

[[nodiscard]] TexeloCommandLine commandLineOf(const std::vector<std::string>& arguments);

// Runs the script named on the command line with fresh placement tables.
void runTexelo(TexeloContext& ctx, const TexeloCommandLine& commandLine);
