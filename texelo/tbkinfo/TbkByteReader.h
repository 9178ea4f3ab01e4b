#pragma once

// A bounded little-endian reader over bytes held in memory. A read that would
// pass the end fails, changes nothing but the sticky failure flag, and yields
// 0, so a parser can read a few fields and check once. Offsets are absolute:
// a reader made for part of a file keeps counting from the file's start, so
// every failure can name the byte where it happened.

#include <cstdint>
#include <span>

namespace tbk
{

class ByteReader
{
public:
    explicit ByteReader(std::span<const uint8_t> bytes, uint64_t firstOffset = 0)
        : m_bytes(bytes), m_firstOffset(firstOffset)
    {
    }

    [[nodiscard]] uint16_t u16();
    [[nodiscard]] uint32_t u32();

    // Passes over `count` bytes; false (and failed) when fewer remain.
    bool skip(uint64_t count);

    // The next `count` bytes as a reader of their own, passed over here;
    // an empty failed reader (and this one failed) when fewer remain.
    [[nodiscard]] ByteReader take(uint64_t count);

    [[nodiscard]] bool failed() const { return m_failed; }
    [[nodiscard]] uint64_t offset() const { return m_firstOffset + m_position; }
    [[nodiscard]] uint64_t remaining() const { return m_bytes.size() - m_position; }
    [[nodiscard]] bool atEnd() const { return m_position == m_bytes.size(); }

private:
    [[nodiscard]] bool has(uint64_t count);

    std::span<const uint8_t> m_bytes;
    uint64_t m_firstOffset = 0;
    uint64_t m_position = 0;
    bool m_failed = false;
};

} // namespace tbk
