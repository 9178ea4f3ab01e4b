#include "BinaryOutStream.h"

#include <cstring>

bool BinaryOutStream::open(const std::string& path, const char* fileMode, bool littleEndian)
{
    m_littleEndian = littleEndian;
    m_pendingSize = 0;
    const bool opened = m_output.open(path, fileMode);
    m_room = opened ? kBlockSize : 0;
    return opened;
}

bool BinaryOutStream::flush()
{
    const bool written = m_output.write(m_pending.get(), m_pendingSize);
    m_pendingSize = 0;
    if (!written)
        m_room = 0;
    return written;
}

bool BinaryOutStream::makeRoom()
{
    return m_output.isOpen() && !m_output.failed() && flush();
}

bool BinaryOutStream::close()
{
    if (m_output.isOpen())
        flush();
    m_room = 0;
    return m_output.commit();
}

bool BinaryOutStream::writeRaw(const uint8_t* bytes, std::size_t count)
{
    if (m_pendingSize + count > m_room && !makeRoom())
        return false;
    if (count > m_room)
    {
        const bool written = m_output.write(bytes, count);
        if (!written)
            m_room = 0;
        return written;
    }
    std::memcpy(m_pending.get() + m_pendingSize, bytes, count);
    m_pendingSize += count;
    return true;
}
