#pragma once

// Reads a texture bank from bytes in memory. The layout, all little-endian:
//
//   header   u32 TextureTotal, u32 SeparateRows
//   groups   to the end of the file, each u32 GroupColumns, u32 GroupLines,
//            u32 RecordCount, then RecordCount records
//   record   u32 Size, u32 Id, then Size bytes: either an image (id 0x10,
//            flags, an optional CLUT block, a pixel block; each block a u32
//            length counting its 12-byte header, u16 DX, DY, W, H, data), or,
//            when Size has bit 31 set, a palette: its top three bits are the
//            tag and the rest the length, then u16 DX, DY, W, H and one row
//            of W colours.
//
// A bank has no group count, so a file cut exactly between two groups still
// reads as a (smaller) bank.

#include "BankModel.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tbk
{

struct BankReadResult
{
    Bank bank;                        // complete only without damage
    std::optional<BankDamage> damage; // the first field that makes no sense
};

[[nodiscard]] BankReadResult readBank(std::span<const uint8_t> bytes);

} // namespace tbk
