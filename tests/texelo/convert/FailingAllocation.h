// Lets a test make one operator new request of a chosen size fail, to reach
// the converter's out-of-memory paths without exhausting the machine.
#pragma once

#include <cstddef>

// The next request of exactly `size` bytes throws std::bad_alloc.
void failNextAllocationOf(std::size_t size);
// Forgets a failure that has not happened yet.
void cancelAllocationFailure();
