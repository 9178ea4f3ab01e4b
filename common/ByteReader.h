#pragma once

// The bounded reader every binary parser uses: a cursor over bytes held in
// memory, fields read with explicit widths in either byte order. A read,
// skip or seek that would pass the end fails, changes nothing and yields 0;
// the failure is sticky, so a parser can read a whole record and check once,
// and it keeps the offset where it happened. Offsets are absolute: a reader
// made for part of a file counts from the file's start, so every failure
// names the byte where it happened.

#include <cstdint>
#include <optional>
#include <span>

enum class ByteOrder : uint8_t
{
    LittleEndian = 0,
    BigEndian = 1,
};

// Size arithmetic on counts taken from a file: nothing when the result does
// not fit 64 bits.
[[nodiscard]] constexpr std::optional<uint64_t> checkedAdd(uint64_t a, uint64_t b)
{
    if (a > UINT64_MAX - b)
        return std::nullopt;
    return a + b;
}

[[nodiscard]] constexpr std::optional<uint64_t> checkedMul(uint64_t a, uint64_t b)
{
    if (a != 0 && b > UINT64_MAX / a)
        return std::nullopt;
    return a * b;
}

class ByteReader
{
public:
    static constexpr const char* kPastEnd = "past the end";

    explicit ByteReader(std::span<const uint8_t> bytes, ByteOrder order = ByteOrder::LittleEndian,
                        uint64_t firstOffset = 0)
        : m_bytes(bytes), m_order(order), m_firstOffset(firstOffset)
    {
    }

    [[nodiscard]] uint8_t u8() { return static_cast<uint8_t>(read<1>(m_order)); }
    [[nodiscard]] uint16_t u16() { return static_cast<uint16_t>(read<2>(m_order)); }
    [[nodiscard]] uint32_t u32() { return static_cast<uint32_t>(read<4>(m_order)); }
    [[nodiscard]] int8_t i8() { return static_cast<int8_t>(u8()); }
    [[nodiscard]] int16_t i16() { return static_cast<int16_t>(u16()); }
    [[nodiscard]] int32_t i32() { return static_cast<int32_t>(u32()); }
    // The same in a byte order chosen for this one field.
    [[nodiscard]] uint16_t u16(ByteOrder order) { return static_cast<uint16_t>(read<2>(order)); }
    [[nodiscard]] uint32_t u32(ByteOrder order) { return static_cast<uint32_t>(read<4>(order)); }
    [[nodiscard]] int16_t i16(ByteOrder order) { return static_cast<int16_t>(u16(order)); }
    [[nodiscard]] int32_t i32(ByteOrder order) { return static_cast<int32_t>(u32(order)); }

    // Passes over `count` bytes; false (and failed) when fewer remain.
    bool skip(uint64_t count)
    {
        if (!has(count))
            return false;
        m_position += count;
        return true;
    }

    // The next `count` bytes, passed over; empty (and failed) when fewer
    // remain.
    [[nodiscard]] std::span<const uint8_t> bytes(uint64_t count)
    {
        if (!has(count))
            return {};
        const std::span<const uint8_t> part = m_bytes.subspan(m_position, count);
        m_position += count;
        return part;
    }

    // The next `count` bytes as a reader of their own in the same byte
    // order, passed over here; an empty failed reader (and this one failed)
    // when fewer remain.
    [[nodiscard]] ByteReader take(uint64_t count)
    {
        const uint64_t first = offset();
        ByteReader part(bytes(count), m_order, first);
        if (m_failed)
            part.fail(first);
        return part;
    }

    // Moves the cursor to the absolute `at`; false (and failed at `at`) when
    // it lies outside the bytes.
    bool seek(uint64_t at)
    {
        if (m_failed)
            return false;
        if (at < m_firstOffset || at - m_firstOffset > m_bytes.size())
        {
            fail(at);
            return false;
        }
        m_position = at - m_firstOffset;
        return true;
    }

    // Fails the reader at the absolute `at`; only the first failure is kept.
    void fail(uint64_t at, const char* reason = kPastEnd)
    {
        if (m_failed)
            return;
        m_failed = true;
        m_failureOffset = at;
        m_failureReason = reason;
    }

    [[nodiscard]] uint64_t offset() const { return m_firstOffset + m_position; }
    [[nodiscard]] uint64_t remaining() const { return m_bytes.size() - m_position; }
    [[nodiscard]] uint64_t size() const { return m_bytes.size(); }
    [[nodiscard]] bool atEnd() const { return m_position == m_bytes.size(); }
    [[nodiscard]] ByteOrder order() const { return m_order; }

    [[nodiscard]] bool failed() const { return m_failed; }
    // Where the first failed read, skip or seek started, and why it failed.
    [[nodiscard]] uint64_t failureOffset() const { return m_failureOffset; }
    [[nodiscard]] const char* failureReason() const { return m_failureReason; }

private:
    // True when `count` more bytes can be read; otherwise fails here.
    [[nodiscard]] bool has(uint64_t count)
    {
        if (m_failed)
            return false;
        if (count > remaining())
        {
            fail(offset());
            return false;
        }
        return true;
    }

    // The width is a constant and the order chosen once per field, so that
    // the compiler can turn the byte loop into a single load.
    template <unsigned Width>
    [[nodiscard]] uint32_t read(ByteOrder order)
    {
        if (!has(Width))
            return 0;
        const uint8_t* at = m_bytes.data() + m_position;
        uint32_t value = 0;
        if (order == ByteOrder::LittleEndian)
            for (unsigned i = 0; i < Width; ++i)
                value |= uint32_t{at[i]} << (8 * i);
        else
            for (unsigned i = 0; i < Width; ++i)
                value |= uint32_t{at[i]} << (8 * (Width - 1 - i));
        m_position += Width;
        return value;
    }

    std::span<const uint8_t> m_bytes;
    ByteOrder m_order;
    uint64_t m_firstOffset = 0;
    uint64_t m_position = 0;
    bool m_failed = false;
    uint64_t m_failureOffset = 0;
    const char* m_failureReason = nullptr;
};
