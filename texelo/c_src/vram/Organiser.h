#pragma once

// The vram room owns a bank on its way into VRAM: its records, their sort
// order, the placement of textures and CLUTs, and the TBK bank file.

#include "vram/Placement.h"
#include "vram/TextureRecord.h"

// Sorts the bank's textures (with SortTextures) and places them in VRAM.
// The bank must hold at least one record.
[[nodiscard]] PlacementResult OrganiseVram(TextureBank& bank, const BankOptions& options);

// Keeps the bank's load order in OriginalList, then, with `sortTextures`,
// sorts PendingList by sort key, largest first; equal keys keep their load
// order.
void BuildOriginalList(TextureBank& bank, bool sortTextures);

// The key textures are placed by: tiled first, then by width, an 8-bit
// texture narrower than its CLUT counting as wide as both.
[[nodiscard]] uint16_t sortKey(const TextureRecord& record);
