#pragma once

#include "report/TexeloReporter.h"
#include "vram/TextureRecord.h"

// Gives every record of PendingList a page group and a position in it, and
// its CLUT a place; false when the two VRAM bands cannot hold them all.
// Groups are strips of whole 64-word page columns, filled left to right in
// the top band (lines 0-255), then the bottom band; inside a group each
// texture drops onto the skyline of the columns below it. Fills the bank's
// GroupWidths and, with separate CLUTs, its ClutRow.
[[nodiscard]] bool PlaceTextures(TextureBank& bank, const BankOptions& options, TexeloReporter& reporter);
