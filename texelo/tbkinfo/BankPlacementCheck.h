#pragma once

// Checks where a bank's images and CLUTs go: each image inside its group,
// each CLUT inside its group or, with separate CLUT rows, inside the
// separate area (64 words across, SeparateRows rows). A bank can be read
// whatever it finds, so it warns instead of calling the file damaged.

#include "BankModel.h"

namespace tbk
{

// Adds a warning for each area that leaves its place, then puts all the
// bank's warnings in file order.
void checkPlacement(Bank& bank);

} // namespace tbk
