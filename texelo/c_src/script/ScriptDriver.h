#pragma once

#include "script/TexeloContext.h"

#include <string_view>

// Runs a whole script: a file whose own name contains ".fit" (in any letter
// case) is a .fit script, whose FIT lines place and write their banks; any
// other is a layout script, whose cell lines say where each texture goes.
// Stops at the end of the file or at a .fit FIT whose textures do not fit.
// Every line run is the one diagnostics point to.
void RunScript(TexeloContext& ctx, std::string_view scriptName);

// Hands the bank just written to the view and resets the per-bank settings
// both dialects share.
void finishBank(TexeloContext& ctx);

// Writes the bank placed for `options` and keeps its summary for the report.
void writeBankAndSummary(TexeloContext& ctx, const BankOptions& options);

// A FIT line without a bank name writes a file no one sees.
void warnOfNamelessBank(TexeloContext& ctx, std::string_view bankName);

// How many lines that match no form of a layout script are named one by one;
// the rest are counted at the end.
inline constexpr unsigned kNoFormLinesNamed = 3;

// The slips a finished script leaves: textures after the last FIT, lines of
// a layout script that mean nothing, and no bank written at all (unless an
// error of the run already explains that).
void warnOfScriptEnd(TexeloContext& ctx, bool layoutScript, bool errorsReported);
