#pragma once

#include "files/RunFiles.h"
#include "report/TexeloReporter.h"
#include "vram/TextureRecord.h"

#include <cstdint>
#include <vector>

// Writes BankName + ".TBK": a header, then per page group its size and its
// records in load order. The records keep their image and CLUT data, which
// the window shows for the bank last written. Reports and writes nothing when
// the bank has no texture. True when the bank was written.
bool WriteBank(TextureBank& bank, const BankOptions& options, TexeloReporter& reporter, RunFiles& files);

// Moves the CLUTs of group `group` that lie below all its images up to sit
// right under them, so that the group shrinks to its images plus its CLUT
// rows (used only when CLUTs sit beside the images).
void RaiseLowCluts(TextureBank& bank, uint8_t group);

// Height of group `group` in lines (1 to 256): its images and, unless CLUTs
// are separate, its CLUT rows.
[[nodiscard]] uint32_t GroupHeight(const TextureBank& bank, const BankOptions& options, uint8_t group);

// Appends one record: a plain TIM, a palette record, or a TIM carrying all
// the texture's CLUT copies.
void WriteBankRecord(const TextureRecord& record, std::vector<uint8_t>& out);
