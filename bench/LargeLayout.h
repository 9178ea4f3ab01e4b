// The large layout the benchmarks convert: many gadgets with names, child
// rectangles, hotspots and a long primitive list each, built by our own MDF
// writer. The content is deterministic, so every run measures the same file.
#pragma once

#include "MdfWriter.h"

#include <cstddef>

struct LargeLayoutShape
{
    std::size_t gadgets = 10'000;
    std::size_t primitivesPerGadget = 100; // types 5-8 in turn
};

[[nodiscard]] mdfwriter::Bytes makeLargeMdf(const LargeLayoutShape& shape = {});
