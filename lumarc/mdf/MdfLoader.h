#pragma once

// lumarc/mdf owns the layout file (MDF): its byte streams, the chunk classes
// that read themselves, the layout model, the primitives and their export.

#include "MdfRoot.h"

#include <cstdint>
#include <memory>
#include <string>

enum class MdfLoadStatus : uint8_t
{
    Loaded = 0,
    CannotOpen = 1, // the file could not be opened
    Unreadable = 2, // the file opened but does not hold a whole layout
};

struct MdfLoadResult
{
    MdfLoadStatus status = MdfLoadStatus::CannotOpen;
    std::unique_ptr<MdfRoot> model; // set only when Loaded
    std::string message;            // what to tell the user when not Loaded
    int error = 0;                  // the errno of the failed open, when CannotOpen
};

// Reads a layout file into a new model. A file that ends inside a body, asks
// for more data than it holds or breaks a format limit is refused whole: no
// partial model is kept.
[[nodiscard]] MdfLoadResult loadMdf(const std::string& path);
