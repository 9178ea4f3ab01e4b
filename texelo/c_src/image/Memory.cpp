#include "image/Memory.h"

#include "report/TexeloAssert.h"

#include <cstdlib>

void* MemAlloc(int /*reserved*/, std::size_t NumBytes)
{
    TEXELO_ASSERT(NumBytes != 0, "NumBytes", kMemoryModule);
    return std::malloc(NumBytes);
}

void MemFree(int /*reserved*/, void* pBuffer)
{
    TEXELO_ASSERT(pBuffer != nullptr, "pBuffer", kMemoryModule);
    std::free(pBuffer);
}

MemBuffer AllocateBuffer(std::size_t NumBytes)
{
    return MemBuffer(static_cast<uint8_t*>(MemAlloc(0, NumBytes)));
}
