#pragma once

#include "script/TexeloContext.h"

// Places every texture of the bank in VRAM and writes the bank; false (after
// reporting it) when the textures do not fit. An empty bank succeeds at once
// and writes nothing.
[[nodiscard]] bool OrganiseVram(TexeloContext& ctx);

// Keeps the bank's load order in OriginalList, then, with SortTextures, sorts
// PendingList by sort key, largest first; equal keys keep their load order.
void BuildOriginalList(TexeloContext& ctx);

// The key textures are placed by: tiled first, then by width, an 8-bit
// texture narrower than its CLUT counting as wide as both.
[[nodiscard]] uint16_t sortKey(const TextureRecord& record);
