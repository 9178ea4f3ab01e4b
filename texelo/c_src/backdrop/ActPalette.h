#pragma once

#include "convert/PsxColour.h"
#include "files/RunFiles.h"

#include <array>
#include <cstdint>
#include <string_view>

// The module the ACT reader's assertion reports.
inline constexpr const char* kUtilsModule = "c_src/utils";

inline constexpr std::size_t kActColours = 16;
using Act16Palette = std::array<uint16_t, kActColours>;

// The PSX colour of an ACT triplet. The channels are truncated to 5 bits, not
// rounded, and the STP bit is always set, so black is opaque (0x8000) rather
// than the transparent 0x0000.
[[nodiscard]] constexpr uint16_t actColour(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<uint16_t>(kPsxStpBit | packPsxColour(r >> 3, g >> 3, b >> 3));
}

// Reads the first 16 colours (48 bytes of R, G, B) of an ACT palette named as
// a script names it. Colours the file is too short for read as black. False
// when the file cannot be opened.
[[nodiscard]] bool ReadAct16(RunFiles& files, std::string_view path, Act16Palette& palette);
