#pragma once

// What a backdrop file must hold, computed from the picture as plain indices
// and the palettes as PSX colours. Knows the file layout, none of the engine.

#include <array>
#include <cstdint>
#include <vector>

namespace expected
{

inline constexpr int kBackdropWidth = 640;
inline constexpr int kBackdropHeight = 512;

using Palette16 = std::array<uint16_t, 16>;

// `indices`: 640 x 512 values 0-15, top row first.
[[nodiscard]] std::vector<uint8_t> backdropFile(const Palette16& base, const std::vector<Palette16>& extras,
                                                const std::vector<uint8_t>& indices);

// Little-endian 32-bit number at `offset`.
[[nodiscard]] uint32_t readU32(const std::vector<uint8_t>& bytes, std::size_t offset);

} // namespace expected
