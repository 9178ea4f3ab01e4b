#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include <sys/mman.h>

// Hands out memory from large chunks and gives it all back at once when the
// arena dies. Objects placed in it are destroyed by their owner; the arena
// only frees the chunks. It serves models of millions of small items, where
// an allocation per item would dominate the run.
class ChunkArena
{
public:
    ChunkArena() = default;
    ChunkArena(const ChunkArena&) = delete;
    ChunkArena& operator=(const ChunkArena&) = delete;

    // `size` bytes aligned to `alignment` (a power of two, at most that of
    // std::max_align_t).
    [[nodiscard]] void* allocate(std::size_t size, std::size_t alignment)
    {
        std::size_t offset = (m_used + alignment - 1) & ~(alignment - 1);
        if (m_chunks.empty() || offset + size > m_chunkSize)
        {
            // Chunks grow from small to large, so that short lists waste
            // little and long ones allocate rarely.
            const std::size_t grown = m_chunkSize == 0 ? kFirstChunkSize : m_chunkSize * 2;
            m_chunkSize = std::max(size, std::min(grown, kLargestChunkSize));
            m_chunks.push_back(newChunk(m_chunkSize));
            offset = 0;
        }
        m_used = offset + size;
        return m_chunks.back().get() + offset;
    }

    // Frees every chunk; whatever was placed in them must be destroyed first.
    void release()
    {
        m_chunks.clear();
        m_used = 0;
        m_chunkSize = 0;
    }

private:
    struct FreeChunk
    {
        void operator()(std::byte* chunk) const { std::free(chunk); }
    };
    using Chunk = std::unique_ptr<std::byte, FreeChunk>;

    static constexpr std::size_t kFirstChunkSize = 256;
    // The size of a huge page: the largest chunks fill whole ones, which the
    // kernel then maps with one fault instead of five hundred.
    static constexpr std::size_t kLargestChunkSize = std::size_t{2} << 20;

    static Chunk newChunk(std::size_t size)
    {
        const bool whole = size % kLargestChunkSize == 0;
        const std::size_t alignment = whole ? kLargestChunkSize : alignof(std::max_align_t);
        void* memory = std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
        if (memory == nullptr)
            throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        if (whole)
            (void)madvise(memory, size, MADV_HUGEPAGE); // only advice: without it, small pages
#endif
        return Chunk(static_cast<std::byte*>(memory));
    }

    std::vector<Chunk> m_chunks;
    std::size_t m_used = 0;
    std::size_t m_chunkSize = 0;
};
