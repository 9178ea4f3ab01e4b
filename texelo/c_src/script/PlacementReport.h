#pragma once

#include "report/TexeloReporter.h"
#include "vram/Placement.h"

// What placement did, said the way a run says it: MessageLine for each tiled
// texture, the CLUTs too wide for the separate area, then the count of
// unique CLUTs or the bank that did not fit, with a diagnostic that names
// the texture that found no place, how full VRAM already was and, where one
// applies, what would make it fit.
void reportPlacement(TexeloReporter& reporter, const PlacementResult& result, const BankOptions& options);

// The diagnostic of a bank that did not fit (without "error:").
[[nodiscard]] std::string fitFailureText(const PlacementResult& result, const BankOptions& options);
