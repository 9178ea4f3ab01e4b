#pragma once

// tbkinfo --extract: every record of a bank as a TIM file and a PNG preview
// in a folder. All files are made in memory first, so a bank that cannot be
// read whole writes nothing; then each is written through a temporary file
// and renamed into place, and its path is listed on standard output.

#include "BankModel.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tbk
{

struct ExtractedFile
{
    std::string name; // g<group>-r<record, 2 digits>-id<Id, 4 digits>.tim or .png
    std::vector<uint8_t> bytes;
};

struct Extraction
{
    std::vector<ExtractedFile> files; // in record order, each record's TIM before its PNG
    std::vector<std::string> notes;   // records that have no pixels to preview
};

// The files of a bank read from `bytes`, or nothing with the reason in `error`.
[[nodiscard]] std::optional<Extraction> prepareExtraction(const Bank& bank, std::span<const uint8_t> bytes,
                                                          std::string& error);

// Writes the files into `folder`, creating it when it is missing (not its
// parents). Returns 0, or 1 after a message on `err` when the folder or a
// file cannot be written; files listed before the failure stay complete.
[[nodiscard]] int writeExtraction(const Extraction& extraction, const std::string& folder, std::FILE* out,
                                  std::FILE* err);

// Both steps for the bank at `bankPath`: 0 when every file is written, 1
// after a message on `err` otherwise.
[[nodiscard]] int extractBank(const Bank& bank, std::span<const uint8_t> bytes, const std::string& bankPath,
                              const std::string& folder, std::FILE* out, std::FILE* err);

} // namespace tbk
