#pragma once

#include "image/PixelFormat.h"

#include <cstdint>
#include <memory>

// The direct-colour formats known by number, 1 to 30: 32-bit ARGB orders,
// 24-bit 6-bit-channel and 8-bit-channel orders, 16-bit 4444, 1555 and 565
// orders, 8-bit 2222 orders, alpha only and grey.
inline constexpr int32_t kFirstFormatId = 1;
inline constexpr int32_t kLastFormatId = 30;
// The number the library Targa loader gives its indexed format; the factory
// does not build it.
inline constexpr int32_t kIndexedFormatId = 31;

// The format with that number, or null for any other number (or when memory
// runs out).
[[nodiscard]] std::unique_ptr<PixelFormat> CreatePixelFormat(int32_t id);
