#include "TbkByteReader.h"

namespace tbk
{

bool ByteReader::has(uint64_t count)
{
    if (m_failed || count > remaining())
    {
        m_failed = true;
        return false;
    }
    return true;
}

uint16_t ByteReader::u16()
{
    if (!has(2))
        return 0;
    const uint16_t value = static_cast<uint16_t>(m_bytes[m_position] | m_bytes[m_position + 1] << 8);
    m_position += 2;
    return value;
}

uint32_t ByteReader::u32()
{
    if (!has(4))
        return 0;
    const uint32_t low = u16();
    const uint32_t high = u16();
    return low | high << 16;
}

bool ByteReader::skip(uint64_t count)
{
    if (!has(count))
        return false;
    m_position += count;
    return true;
}

ByteReader ByteReader::take(uint64_t count)
{
    const uint64_t first = offset();
    if (!has(count))
    {
        ByteReader empty({}, first);
        empty.m_failed = true;
        return empty;
    }
    ByteReader part(m_bytes.subspan(m_position, count), first);
    m_position += count;
    return part;
}

} // namespace tbk
