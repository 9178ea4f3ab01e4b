#pragma once

#include <cstdint>
#include <functional>
#include <string>

class MdfRoot;

enum class RlfSaveStatus : uint8_t
{
    Saved = 0,
    CannotOpen = 1,  // the output file could not be opened for writing
    WriteFailed = 2, // writing or completing the file failed; nothing changed
};

struct RlfSaveResult
{
    RlfSaveStatus status = RlfSaveStatus::CannotOpen;
    std::string message; // what to tell the user when not Saved
    int error = 0;       // the errno that says why, when not Saved
};

// Called with the file's size before anything is written; the dialog shows
// it and returns when the user has dismissed it.
using RlfSizeReport = std::function<void(int64_t bytes)>;

// Saves `model` as a little-endian render list at `path`: opens the output,
// converts, reports the size, runs the layout pass, writes and completes the
// file. On failure the file at `path` is left as it was.
[[nodiscard]] RlfSaveResult saveRlf(const MdfRoot& model, int yOffset, const std::string& path,
                                    const RlfSizeReport& reportSize);
