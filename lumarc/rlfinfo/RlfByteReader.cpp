#include "RlfByteReader.h"

namespace rlfinfo
{

uint32_t RlfByteReader::read(unsigned width)
{
    if (m_failed)
        return 0;
    // The cursor may be anywhere a stored offset pointed; compare without
    // adding to it so that no sum can wrap.
    if (m_position > m_bytes.size() || m_bytes.size() - m_position < width)
    {
        m_failed = true;
        m_failureOffset = m_position;
        return 0;
    }
    uint32_t value = 0;
    for (unsigned i = 0; i < width; ++i)
    {
        const uint32_t byte = m_bytes[m_position + i];
        value |= byte << (m_order == ByteOrder::LittleEndian ? 8 * i : 8 * (width - 1 - i));
    }
    m_position += width;
    return value;
}

} // namespace rlfinfo
