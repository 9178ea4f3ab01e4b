#pragma once

// Replaces operator new in the test program that links `allocation_hook`:
// it records the largest request, so a test can tell that a reader did not
// allocate what a forged count asked for, and can make one request of a
// chosen size fail, to reach out-of-memory paths without exhausting the
// machine.

#include <cstddef>

void resetLargestAllocation();
// The largest single operator new request since the last reset, in bytes.
[[nodiscard]] std::size_t largestAllocation();

// The next request of exactly `size` bytes throws std::bad_alloc.
void failNextAllocationOf(std::size_t size);
// Forgets a failure that has not happened yet.
void cancelAllocationFailure();
