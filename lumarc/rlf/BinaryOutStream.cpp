#include "BinaryOutStream.h"

bool BinaryOutStream::open(const std::string& path, const char* fileMode, bool littleEndian)
{
    m_littleEndian = littleEndian;
    return m_output.open(path, fileMode);
}

bool BinaryOutStream::close()
{
    return m_output.commit();
}

void BinaryOutStream::discard()
{
    m_output.discard();
}

bool BinaryOutStream::writeBytes(uint32_t value, int count)
{
    std::FILE* file = m_output.file();
    if (!file || m_output.failed())
        return false;
    for (int i = 0; i < count; ++i)
    {
        const int shift = m_littleEndian ? 8 * i : 8 * (count - 1 - i);
        if (putc_unlocked(static_cast<int>((value >> shift) & 0xFF), file) == EOF)
        {
            m_output.setFailed();
            return false;
        }
    }
    return true;
}

bool BinaryOutStream::writeU8(uint8_t value)
{
    return writeBytes(value, 1);
}

bool BinaryOutStream::writeU16(uint16_t value)
{
    return writeBytes(value, 2);
}

bool BinaryOutStream::writeU32(uint32_t value)
{
    return writeBytes(value, 4);
}
