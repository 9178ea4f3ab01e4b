#include "ScriptFileDiskStream.h"

#include <sys/stat.h>

#include <cstring>

namespace
{
// Large enough that a file of small fields is read in few system calls.
constexpr std::size_t kReadBufferSize = 1 << 16;
constexpr uint32_t kSkipByReading = 4096;
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
    std::setvbuf(file, nullptr, _IOFBF, kReadBufferSize);
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

bool ScriptFileDiskStream::readExactly(unsigned char* buffer, uint32_t n)
{
    if (!m_handle || !m_handle->file())
        return false;
    if (!require(n))
        return false;
    if (fread_unlocked(buffer, 1, n, m_handle->file()) != n)
    {
        // The file shrank or the device failed; the bytes read are dropped.
        fail("read error", m_position);
        return false;
    }
    m_position += n;
    return true;
}

ScriptFileStream& ScriptFileDiskStream::read8(uint8_t& value)
{
    if (failed() || !m_handle || !require(1))
        return *this;
    int c = getc_unlocked(m_handle->file());
    if (c == EOF)
    {
        fail("read error", m_position);
        return *this;
    }
    value = static_cast<uint8_t>(c);
    ++m_position;
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
    if (n <= kSkipByReading)
    {
        // Short skips stay inside the read buffer instead of dropping it.
        unsigned char scratch[kSkipByReading];
        return readExactly(scratch, n) ? 0 : -1;
    }
    if (fseeko(m_handle->file(), static_cast<off_t>(n), SEEK_CUR) != 0)
    {
        fail("seek error", m_position);
        return -1;
    }
    m_position += n;
    return 0;
}
