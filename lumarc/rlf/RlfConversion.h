#pragma once

#include "RlfFile.h"

#include <memory>

class MdfRoot;

// The screen of the console's display starts 16 lines lower than the PC's.
inline constexpr int kPsxYOffset = 16;

// Converts a loaded layout into a render list: coordinates become 16-bit
// integers with the primitive list's offset and `yOffset` added. The layout
// pass is not part of the conversion. The gadgets' names refer to `model`,
// which must outlive the result.
[[nodiscard]] std::unique_ptr<RlfFile> buildRlf(const MdfRoot& model, int yOffset);
