#pragma once

// The bank as text: a header block of "key: value" lines, then one line per
// group and an indented line per record, each a fixed sequence of key=value
// fields, then one line per warning. Numbers are decimal, the text ASCII.
//
//   bank: BANK.TBK
//   bytes: 1108
//   texture_total: 1
//   separate_rows: 0
//   groups: 1
//   records: 1
//   warnings: 0
//   group 1: offset=8 columns=1 lines=33 records=1 occupancy=50.0%
//     record 1.1: offset=20 form=texture id=0 mode=4-bit trans=none x=0 y=0 words=16 pixels=64 height=32
//       clut_x=0 clut_y=32 clut_w=16 clut_h=1 cluts=1 size=1068       (all on one line)
//   warning: offset=N <what>
//
// A palette record has form=palette tag=PAL|HOMEPAL|AWAYPAL and no image
// fields; a 16-bit image has no clut fields; form=several-cluts marks an
// image whose CLUT block holds more than one CLUT.

#include "BankModel.h"

#include <string>
#include <string_view>

namespace tbk
{

[[nodiscard]] std::string bankText(const Bank& bank, std::string_view fileName);

} // namespace tbk
