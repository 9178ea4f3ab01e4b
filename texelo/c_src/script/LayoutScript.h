#pragma once

#include "script/TexeloContext.h"

#include <string>
#include <string_view>

// Executes one line of a layout script: an option, FIT, RESTART, or a cell
// line placing textures in a 64 x 64 cell of a 4-bit texture page.
void runLayoutLine(TexeloContext& ctx, const std::string& keyword, const std::string& argument,
                   const std::string& line);

// One entry of a cell line: "name x y w h".
struct CellEntry
{
    std::string name;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// Reads an entry at `position` as "%s %d %d %d %d" would; false when any of
// the five fields cannot be read.
[[nodiscard]] bool readCellEntry(std::string_view line, std::size_t position, CellEntry& entry);
