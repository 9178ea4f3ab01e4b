#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

// Hands out memory from large chunks and gives it all back at once when the
// arena dies. Objects placed in it are destroyed by their owner; the arena
// only frees the chunks. It serves lists of millions of small items, where
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
            // Chunks grow from small to large, so that the many short lists
            // of a layout waste little and the long ones allocate rarely.
            const std::size_t grown = m_chunkSize == 0 ? kFirstChunkSize : m_chunkSize * 2;
            m_chunkSize = std::max(size, std::min(grown, kLargestChunkSize));
            m_chunks.push_back(std::make_unique_for_overwrite<std::max_align_t[]>(
                (m_chunkSize + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t)));
            offset = 0;
        }
        m_used = offset + size;
        return reinterpret_cast<std::byte*>(m_chunks.back().get()) + offset;
    }

    // Frees every chunk; whatever was placed in them must be destroyed first.
    void release()
    {
        m_chunks.clear();
        m_used = 0;
        m_chunkSize = 0;
    }

private:
    static constexpr std::size_t kFirstChunkSize = 256;
    static constexpr std::size_t kLargestChunkSize = 64 * 1024;
    std::vector<std::unique_ptr<std::max_align_t[]>> m_chunks;
    std::size_t m_used = 0;
    std::size_t m_chunkSize = 0;
};
