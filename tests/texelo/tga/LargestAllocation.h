// Watches the sizes operator new is asked for in this test program, so a
// test can tell that the decoder did not allocate what a forged header asked
// for.
#pragma once

#include <cstddef>

void resetLargestAllocation();
// The largest single operator new request since the last reset, in bytes.
[[nodiscard]] std::size_t largestAllocation();
