#pragma once

// The vram room owns a bank on its way into VRAM: its records, their sort
// order, the placement of textures and CLUTs, and the TBK bank file.

#include "files/RunFiles.h"
#include "report/TexeloReporter.h"
#include "vram/TextureRecord.h"

// Places every texture of the bank in VRAM and writes the bank; false (after
// reporting it) when the textures do not fit. An empty bank succeeds at once
// and writes nothing.
[[nodiscard]] bool OrganiseVram(TextureBank& bank, const BankOptions& options, TexeloReporter& reporter,
                                RunFiles& files);

// Keeps the bank's load order in OriginalList, then, with `sortTextures`,
// sorts PendingList by sort key, largest first; equal keys keep their load
// order.
void BuildOriginalList(TextureBank& bank, bool sortTextures);

// The key textures are placed by: tiled first, then by width, an 8-bit
// texture narrower than its CLUT counting as wide as both.
[[nodiscard]] uint16_t sortKey(const TextureRecord& record);
