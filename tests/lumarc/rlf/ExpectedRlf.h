// The render-list file a layout should become, worked out from the layout's
// description alone. It shares nothing with the converter, so comparing the
// two catches faults in either the conversion or the writer.
#pragma once

#include "MdfWriter.h"

namespace expectedrlf
{

// The bytes of the file for `layout` with every y coordinate moved by
// `yOffset` (16 for the console, 0 for the PC).
[[nodiscard]] mdfwriter::Bytes encode(const mdfwriter::Layout& layout, int yOffset);

} // namespace expectedrlf
