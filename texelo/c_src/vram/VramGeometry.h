#pragma once

#include <cstddef>

// VRAM as placement sees it: 1024 words across, texture pages 64 words wide,
// two bands of 256 lines.
inline constexpr int kVramWidth = 1024;
inline constexpr int kVramHeight = 512;
inline constexpr int kPageWidth = 64;
inline constexpr int kBandHeight = 256;
inline constexpr std::size_t kVramColumns = kVramWidth;
// The separate CLUT area: the last page column of the bottom band.
inline constexpr int kSeparateClutAreaX = kVramWidth - kPageWidth;
inline constexpr int kSeparateClutAreaY = kBandHeight;
