#include "image/CreatePixelFormat.h"

#include "image/MaskPixelFormat.h"
#include "image/Memory.h"

#include <array>

namespace
{

struct FormatMasks
{
    int32_t bits;
    uint32_t a, r, g, b;
};

// Indexed by id - 1. Comments name the channels from the most significant
// bits down; X marks bits that are not read.
constexpr std::array<FormatMasks, kLastFormatId> kFormats = {{
    {32, 0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}, // 1  A8 R8 G8 B8
    {32, 0x000000FF, 0xFF000000, 0x00FF0000, 0x0000FF00}, // 2  R8 G8 B8 A8
    {32, 0xFF000000, 0x000000FF, 0x0000FF00, 0x00FF0000}, // 3  A8 B8 G8 R8
    {32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, // 4  B8 G8 R8 A8
    {32, 0, 0x00FF0000, 0x0000FF00, 0x000000FF},          // 5  X8 R8 G8 B8
    {32, 0, 0x000000FF, 0x0000FF00, 0x00FF0000},          // 6  X8 B8 G8 R8
    {24, 0xFC0000, 0x03F000, 0x000FC0, 0x00003F},         // 7  A6 R6 G6 B6
    {24, 0x00003F, 0xFC0000, 0x03F000, 0x000FC0},         // 8  R6 G6 B6 A6
    {24, 0xFC0000, 0x00003F, 0x000FC0, 0x03F000},         // 9  A6 B6 G6 R6
    {24, 0x00003F, 0x000FC0, 0x03F000, 0xFC0000},         // 10 B6 G6 R6 A6
    {24, 0, 0xFF0000, 0x00FF00, 0x0000FF},                // 11 R8 G8 B8
    {24, 0, 0x0000FF, 0x00FF00, 0xFF0000},                // 12 B8 G8 R8
    {16, 0xF000, 0x0F00, 0x00F0, 0x000F},                 // 13 A4 R4 G4 B4
    {16, 0x000F, 0xF000, 0x0F00, 0x00F0},                 // 14 R4 G4 B4 A4
    {16, 0xF000, 0x000F, 0x00F0, 0x0F00},                 // 15 A4 B4 G4 R4
    {16, 0x000F, 0x00F0, 0x0F00, 0xF000},                 // 16 B4 G4 R4 A4
    {16, 0x8000, 0x7C00, 0x03E0, 0x001F},                 // 17 A1 R5 G5 B5
    {16, 0x0001, 0xF800, 0x07C0, 0x003E},                 // 18 R5 G5 B5 A1
    {16, 0x8000, 0x001F, 0x03E0, 0x7C00},                 // 19 A1 B5 G5 R5
    {16, 0x0001, 0x003E, 0x07C0, 0xF800},                 // 20 B5 G5 R5 A1
    {16, 0, 0x7C00, 0x03E0, 0x001F},                      // 21 X1 R5 G5 B5
    {16, 0, 0xF800, 0x07E0, 0x001F},                      // 22 R5 G6 B5
    {16, 0, 0x001F, 0x03E0, 0x7C00},                      // 23 X1 B5 G5 R5
    {16, 0, 0x001F, 0x07E0, 0xF800},                      // 24 B5 G6 R5
    {8, 0xC0, 0x30, 0x0C, 0x03},                          // 25 A2 R2 G2 B2
    {8, 0x03, 0xC0, 0x30, 0x0C},                          // 26 R2 G2 B2 A2
    {8, 0xC0, 0x03, 0x0C, 0x30},                          // 27 A2 B2 G2 R2
    {8, 0x03, 0x0C, 0x30, 0xC0},                          // 28 B2 G2 R2 A2
    {8, 0xFF, 0, 0, 0},                                   // 29 alpha only
    {8, 0, 0xFF, 0xFF, 0xFF},                             // 30 grey: one byte into R, G and B
}};

} // namespace

std::unique_ptr<PixelFormat> CreatePixelFormat(int32_t id)
{
    if (id < kFirstFormatId || id > kLastFormatId)
        return nullptr;
    const FormatMasks& f = kFormats[static_cast<std::size_t>(id - kFirstFormatId)];
    return makeUniqueOrNull<MaskPixelFormat>(f.bits, f.a, f.r, f.g, f.b, id);
}
