#pragma once

#include "TexeloContext.h"

// Gives every record of PendingList a page group and a position in it, and
// its CLUT a place; false when the two VRAM bands cannot hold them all.
[[nodiscard]] bool PlaceTextures(TexeloContext& ctx);
