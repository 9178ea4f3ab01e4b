#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

// Checked allocation for the image library. Asking for 0 bytes or freeing
// null is a caller's error, not a run-time condition: the check stops the
// program, naming the broken obligation.

// The module the allocation assertions report.
inline constexpr const char* kMemoryModule = "c_src/memory";

// NumBytes uninitialised bytes, or null when memory runs out. `reserved` is
// always 0.
[[nodiscard]] void* MemAlloc(int reserved, std::size_t NumBytes);

// Frees a block from MemAlloc. `reserved` is always 0.
void MemFree(int reserved, void* pBuffer);

struct MemFreeDeleter
{
    void operator()(uint8_t* pBuffer) const { MemFree(0, pBuffer); }
};

// A block from MemAlloc, released with MemFree.
using MemBuffer = std::unique_ptr<uint8_t[], MemFreeDeleter>;

// A MemBuffer of NumBytes (not 0) bytes; empty when memory runs out.
[[nodiscard]] MemBuffer AllocateBuffer(std::size_t NumBytes);

// The library reports running out of memory as a null result, never as an
// exception, so its factories build objects through this.
template <class T, class... Args>
[[nodiscard]] std::unique_ptr<T> makeUniqueOrNull(Args&&... args)
{
    try
    {
        return std::make_unique<T>(std::forward<Args>(args)...);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}
