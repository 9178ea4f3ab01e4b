#pragma once

#include <cstdint>

// The TBK bank file, little-endian: a header (record count, rows of the
// separate CLUT area in use), then per page group its width in page columns,
// its height in lines and its record count, then its records. A record is
// its size and Id, then a TIM image, a TIM whose CLUT block holds every CLUT
// copy, or a palette: the size word's top bits tag it, and the palette holds
// its CLUT block (x, y, width, height, colours) without a TIM around it.
namespace tbk
{
inline constexpr uint32_t kBankHeaderBytes = 8;
inline constexpr uint32_t kGroupHeaderBytes = 12;
inline constexpr uint32_t kRecordHeaderBytes = 8;       // size, Id
inline constexpr uint32_t kPaletteHeaderBytes = 8;      // x, y, width, height: counted in a palette's size
inline constexpr uint32_t kPaletteBit = 0x80000000;     // set in every palette tag
inline constexpr uint32_t kPaletteTag = 0x80000000;     // PAL
inline constexpr uint32_t kHomePaletteTag = 0xC0000000; // HOMEPAL
inline constexpr uint32_t kAwayPaletteTag = 0xA0000000; // AWAYPAL
inline constexpr uint32_t kTagMask = 0xE0000000;
inline constexpr uint32_t kPaletteLengthMask = 0x1FFFFFFF;
inline constexpr uint32_t kClut4Entries = 16; // one CLUT of a several-CLUT 4-bit record
inline constexpr uint32_t kClut4Bytes = 2 * kClut4Entries;
inline constexpr uint32_t kClutRowRounding = 16; // a CLUT block's width is its colours rounded up to this
inline constexpr uint32_t kBandLines = 256;      // the tallest group
inline constexpr uint32_t kSeparateAreaFirstRow = 255; // the header counts separate rows from here
} // namespace tbk
