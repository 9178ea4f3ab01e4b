#pragma once

#include "RlfContents.h"

#include <string>

namespace rlfinfo
{

// The text form: a header block, then one line per gadget followed by its
// indented parts, "name value" pairs in a fixed order, plain ASCII.
//
//   gadgets 1
//   bytes 80
//   byteOrder little-endian
//   offsetsChecked 5
//   gadget 0 offset 8 childAreas 1 hotspots 0 entries 1
//     box x 0 y 0 w 16 h 16
//     offsets childAreas 28 hotspots 0 renderList 36
//     childArea 0 x 0 y 0 w 10 h 10
//     entry 0 offset 44 kind untextured modeLow 2 textureId -1 points 0,0 16,0 0,16 16,16 colours #102030 ...
[[nodiscard]] std::string textReport(const Contents& contents);

// "#RRGGBB" of a 0x00RRGGBB colour word.
[[nodiscard]] std::string colourText(uint32_t colour);

} // namespace rlfinfo
