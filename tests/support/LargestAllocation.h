// Watches the sizes that operator new is asked for in this test program, so a
// test can tell that a reader did not allocate what a forged count or header
// asked for. Link the library `largest_allocation` into the test program.
#pragma once

#include <cstddef>

void resetLargestAllocation();
// The largest single operator new request since the last reset, in bytes.
[[nodiscard]] std::size_t largestAllocation();
