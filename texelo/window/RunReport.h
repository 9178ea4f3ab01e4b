#pragma once

// The run's report for those who generate code from a level: one JSON
// document listing every bank written and where each texture and CLUT
// landed. Its field names are an interface; the script-language reference
// documents them.

#include "vram/BankSummary.h"

#include <optional>
#include <string>
#include <vector>

// The document for the banks a run of `script` wrote.
[[nodiscard]] std::string runReportJson(const std::string& script, const std::vector<BankSummary>& banks);

// Writes it to `path` as a whole or not at all; empty when written,
// otherwise the system's reason.
[[nodiscard]] std::optional<std::string> writeRunReport(const std::string& path, const std::string& script,
                                                        const std::vector<BankSummary>& banks);
