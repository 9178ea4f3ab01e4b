#pragma once

// lumarc/rlfinfo owns rlfinfo: reading a render list back, checking it against
// the writer's layout, and its text and JSON reports.

#include "RlfContents.h"

#include <cstdint>
#include <span>

namespace rlfinfo
{

// Reads a whole render-list file and checks it against the layout its writer
// follows: every offset field must hold the value the sizes of what precedes
// it give, each gadget's box must be the one its contents give, the entries
// must be of a known kind, and the file must end where the last gadget does.
// The first disagreement is returned as damage naming the field's offset.
//
// The writer uses the same little-endian layout for the PC and the console,
// and the file does not say which screen it was made for (console files have
// every y 16 lines lower), so coordinates are reported as stored. A file in
// the opposite byte order is recognised by its header and read as such.
[[nodiscard]] ReadResult readRlf(std::span<const uint8_t> bytes);

// The byte order whose gadget count and first gadget offset fit the file;
// little-endian when neither or both do.
[[nodiscard]] ByteOrder detectByteOrder(std::span<const uint8_t> bytes);

} // namespace rlfinfo
