#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class WholeFileStatus : uint8_t
{
    Read = 0,
    CannotOpen = 1, // `reason` says why
    TooLong = 2,    // longer than the caller's limit; nothing was read
};

struct WholeFile
{
    WholeFileStatus status = WholeFileStatus::CannotOpen;
    std::vector<uint8_t> bytes;
    std::string reason;
};

// Reads a whole regular file of at most `longest` bytes. Anything else (a
// folder, a device, a pipe) is refused before reading: a device such as
// /dev/zero never ends, and a pipe could keep the reader waiting for a
// writer. The size is checked before any allocation.
[[nodiscard]] WholeFile readWholeFile(const std::string& path, uint64_t longest);
