#pragma once

#include "script/TexeloContext.h"

#include <string_view>

// Runs a whole script: a name containing ".fit" is a .fit script, whose FIT
// lines place and write their banks; any other is a layout script, whose
// cell lines say where each texture goes. Stops at the end of the file or
// at a .fit FIT whose textures do not fit.
void RunScript(TexeloContext& ctx, std::string_view scriptName);

// Hands the bank just written to the view and resets the per-bank settings
// both dialects share.
void finishBank(TexeloContext& ctx);
