#pragma once

#include <cstdint>
#include <span>

namespace rlfinfo
{

enum class ByteOrder : uint8_t
{
    LittleEndian = 0,
    BigEndian = 1,
};

// Reads fixed-width values from a byte span at a cursor. A read that would
// pass the end fails, returns 0 and leaves the reader failed: later reads
// fail too, and failureOffset() names the field that did not fit, so a
// caller can read a whole record and check once.
class RlfByteReader
{
public:
    RlfByteReader(std::span<const uint8_t> bytes, ByteOrder order) : m_bytes(bytes), m_order(order) {}

    [[nodiscard]] uint64_t size() const { return m_bytes.size(); }
    [[nodiscard]] uint64_t position() const { return m_position; }
    // Moves the cursor; a position past the end makes the next read fail.
    void seek(uint64_t position) { m_position = position; }

    [[nodiscard]] uint8_t u8() { return static_cast<uint8_t>(read(1)); }
    [[nodiscard]] uint16_t u16() { return static_cast<uint16_t>(read(2)); }
    [[nodiscard]] int16_t s16() { return static_cast<int16_t>(u16()); }
    [[nodiscard]] uint32_t u32() { return static_cast<uint32_t>(read(4)); }

    [[nodiscard]] bool failed() const { return m_failed; }
    // Where the first failed read started.
    [[nodiscard]] uint64_t failureOffset() const { return m_failureOffset; }

private:
    [[nodiscard]] uint32_t read(unsigned width);

    std::span<const uint8_t> m_bytes;
    ByteOrder m_order;
    uint64_t m_position = 0;
    bool m_failed = false;
    uint64_t m_failureOffset = 0;
};

} // namespace rlfinfo
