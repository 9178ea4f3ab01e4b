#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rlfinfo
{

// Offsets in a render list are 32-bit: its writer makes no file longer than
// 2 GiB, and none beyond 4 GiB could have been addressed.
inline constexpr uint64_t kLongestFile = uint64_t{1} << 32;

enum class WholeFileStatus : uint8_t
{
    Read = 0,
    CannotOpen = 1, // `reason` says why
    TooLong = 2,    // longer than kLongestFile; nothing was read
};

struct WholeFile
{
    WholeFileStatus status = WholeFileStatus::CannotOpen;
    std::vector<uint8_t> bytes;
    std::string reason;
};

// Reads a whole regular file. Anything else (a folder, a device, a pipe) is
// refused before reading: a device such as /dev/zero never ends, and a pipe
// could keep the reader waiting for a writer.
[[nodiscard]] WholeFile readWholeFile(const std::string& path);

} // namespace rlfinfo
