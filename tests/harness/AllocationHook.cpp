#include "AllocationHook.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Every plain (not over-aligned) form is replaced together, so that memory
// from one family is never released by another's counterpart.

namespace
{

std::atomic<std::size_t> largest{0};
std::atomic<std::size_t> failingSize{0};

void* allocate(std::size_t size) noexcept
{
    std::size_t armed = failingSize.load(std::memory_order_relaxed);
    if (armed != 0 && size == armed && failingSize.compare_exchange_strong(armed, 0))
        return nullptr;
    std::size_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size, std::memory_order_relaxed))
    {
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size)
{
    if (void* memory = allocate(size))
        return memory;
    throw std::bad_alloc();
}

} // namespace

void resetLargestAllocation() { largest.store(0, std::memory_order_relaxed); }
std::size_t largestAllocation() { return largest.load(std::memory_order_relaxed); }
void failNextAllocationOf(std::size_t size) { failingSize.store(size, std::memory_order_relaxed); }
void cancelAllocationFailure() { failingSize.store(0, std::memory_order_relaxed); }

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
