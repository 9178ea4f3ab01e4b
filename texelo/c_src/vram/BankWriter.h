#pragma once

#include "script/TexeloContext.h"

#include <cstdint>
#include <vector>

// Writes BankName + ".TBK": a header, then per page group its size and its
// records in load order. Releases the image and CLUT data of every record it
// writes. Reports and writes nothing when the bank has no texture.
void WriteBank(TexeloContext& ctx);

// Height of group `group` in lines (1 to 256). Without separate CLUTs, the
// group's CLUTs that lie below all its images move up to sit right under
// them, so the group shrinks to its images plus its CLUT rows.
[[nodiscard]] uint32_t GroupHeight(TexeloContext& ctx, uint8_t group);

// Appends one record: a plain TIM, a palette record, or a TIM carrying all
// the texture's CLUT copies.
void WriteBankRecord(const TextureRecord& record, std::vector<uint8_t>& out);
