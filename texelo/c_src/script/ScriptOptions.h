#pragma once

#include "script/TexeloContext.h"

#include <string_view>

// The option keywords both script dialects share. Each takes the line's
// argument; an argument it cannot use leaves the option as it was. With
// MESSAGES ON the option's state is printed afterwards, whatever the
// argument was.

// "%s %d": the palette folder and the number of palettes; remapping ON.
void setPalettes(TexeloContext& ctx, std::string_view argument);
// ON, ACROSS, DOWN or OFF (OFF also forgets the palette count).
void setRemap(TexeloContext& ctx, std::string_view argument);

// REDUCE: 16, 256 or OFF, the most colours a texture keeps; DITHER: 0 to
// 100, how much of the error a reduced pixel passes on. A value out of range
// is named in a warning and changes nothing.
void setReduction(TexeloContext& ctx, std::string_view argument);
void setDither(TexeloContext& ctx, std::string_view argument);

// The ON / OFF options.
enum class Switch : uint8_t
{
    MatchCluts,
    Messages,
    Separate,
    Edge,
    Sort,
};
void setSwitch(TexeloContext& ctx, Switch option, std::string_view argument);

// A whole number as "%d" reads it: leading blanks, a sign, digits; nothing
// when there are no digits. Values beyond the int range are clamped.
[[nodiscard]] std::optional<int> readNumber(std::string_view text, std::size_t& position);
// The same, for a count a script gives (0 to 255): nothing when out of range.
[[nodiscard]] std::optional<uint32_t> readCount(std::string_view text, std::size_t& position);

// What a bank is placed and written with: the options in force at its FIT.
[[nodiscard]] BankOptions bankOptions(const ScriptState& state);
