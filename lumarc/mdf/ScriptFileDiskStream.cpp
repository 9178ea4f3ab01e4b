#include "ScriptFileDiskStream.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace
{
// Large enough that a file of small fields is read in few system calls.
constexpr std::size_t kChunkSize = 1 << 16;
} // namespace

ScriptFileDiskStream::ScriptFileDiskStream(const std::string& path)
    : m_handle(std::make_unique<ScriptFileHandle>())
{
    if (!m_handle->open(path, ScriptFileHandle::kReadBinary))
    {
        m_handle.reset();
        return;
    }
    std::FILE* file = m_handle->file();
    struct stat info{};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
    {
        // A directory or a device has no length we could trust; nothing in it
        // can be read as a layout.
        m_length = 0;
        fail("not a regular file", 0);
        return;
    }
    m_length = static_cast<uint64_t>(info.st_size);
    // Never more than the file can fill.
    m_chunk.resize(static_cast<std::size_t>(std::min<uint64_t>(kChunkSize, m_length)));
}

ScriptFileDiskStream::~ScriptFileDiskStream() = default;

long long ScriptFileDiskStream::length() const
{
    if (!m_handle)
        return 0;
    if (!m_handle->file())
        return -1;
    return static_cast<long long>(m_length);
}

uint64_t ScriptFileDiskStream::remaining() const
{
    return m_position <= m_length ? m_length - m_position : 0;
}

bool ScriptFileDiskStream::refill()
{
    m_chunkPos = 0;
    m_chunkEnd = fread_unlocked(m_chunk.data(), 1, m_chunk.size(), m_handle->file());
    return m_chunkEnd > 0;
}

bool ScriptFileDiskStream::readExactly(unsigned char* buffer, uint32_t n)
{
    // The common case: a small field that lies in the chunk and in the file.
    if (!failed() && n <= buffered() && n <= m_length - m_position)
    {
        std::memcpy(buffer, m_chunk.data() + m_chunkPos, n);
        m_chunkPos += n;
        m_position += n;
        return true;
    }
    if (!m_handle || !m_handle->file())
        return false;
    if (!require(n))
        return false;
    uint32_t copied = 0;
    while (copied < n)
    {
        if (buffered() == 0 && !refill())
        {
            // The file shrank or the device failed; the bytes read are dropped.
            fail("read error", m_position);
            return false;
        }
        const std::size_t part = std::min<std::size_t>(n - copied, buffered());
        std::memcpy(buffer + copied, m_chunk.data() + m_chunkPos, part);
        m_chunkPos += part;
        copied += static_cast<uint32_t>(part);
    }
    m_position += n;
    return true;
}

ScriptFileStream& ScriptFileDiskStream::read8(uint8_t& value)
{
    unsigned char byte;
    if (readExactly(&byte, 1))
        value = byte;
    return *this;
}

ScriptFileStream& ScriptFileDiskStream::read16(uint16_t& value)
{
    unsigned char bytes[2];
    if (readExactly(bytes, sizeof bytes))
        value = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    return *this;
}

ScriptFileStream& ScriptFileDiskStream::read32(uint32_t& value)
{
    unsigned char bytes[4];
    if (readExactly(bytes, sizeof bytes))
        value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return *this;
}

int ScriptFileDiskStream::readBytes(void* buffer, uint32_t n)
{
    if (!m_handle || !m_handle->file())
        return -1;
    return readExactly(static_cast<unsigned char*>(buffer), n) ? static_cast<int>(n) : 0;
}

int ScriptFileDiskStream::skip(uint32_t n)
{
    if (!m_handle || !m_handle->file())
        return 0;
    if (!require(n))
        return -1;
    if (n <= buffered())
    {
        m_chunkPos += n;
        m_position += n;
        return 0;
    }
    // Past the chunk: drop it and seek the rest from where the file stands.
    const uint64_t beyondChunk = n - buffered();
    m_chunkPos = m_chunkEnd = 0;
    if (fseeko(m_handle->file(), static_cast<off_t>(beyondChunk), SEEK_CUR) != 0)
    {
        fail("seek error", m_position);
        return -1;
    }
    m_position += n;
    return 0;
}
