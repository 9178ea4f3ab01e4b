#include "ScriptFileDiskStream.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>

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
        m_openError = errno;
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
    return position() <= m_length ? m_length - position() : 0;
}

bool ScriptFileDiskStream::refill()
{
    const uint64_t at = position();
    const std::size_t got = fread_unlocked(m_chunk.data(), 1, m_chunk.size(), m_handle->file());
    // Bytes a writer appended after the length was taken are not part of it.
    const auto kept = static_cast<std::size_t>(std::min<uint64_t>(got, remaining()));
    m_block = ByteReader(std::span<const uint8_t>(m_chunk.data(), kept), ByteOrder::LittleEndian, at);
    return kept > 0;
}

bool ScriptFileDiskStream::readExactly(unsigned char* buffer, uint32_t n)
{
    // The common case: a small field that lies in the chunk.
    if (!failed() && n <= m_block.remaining())
    {
        std::ranges::copy(m_block.bytes(n), buffer);
        return true;
    }
    if (!m_handle || !m_handle->file())
        return false;
    if (!require(n))
        return false;
    const uint64_t start = position();
    uint32_t copied = 0;
    while (copied < n)
    {
        if (m_block.remaining() == 0 && !refill())
        {
            // The file shrank or the device failed; the bytes read are dropped.
            fail("read error", start);
            return false;
        }
        const auto part = static_cast<uint32_t>(std::min<uint64_t>(n - copied, m_block.remaining()));
        std::ranges::copy(m_block.bytes(part), buffer + copied);
        copied += part;
    }
    return true;
}

template <std::size_t Width, typename Value, typename Decode>
void ScriptFileDiskStream::readField(Value& value, Decode decode)
{
    if (!failed() && Width <= m_block.remaining())
    {
        value = decode(m_block);
        return;
    }
    // The field spans two chunks, or cannot be read at all.
    std::array<uint8_t, Width> bytes{};
    if (!readExactly(bytes.data(), Width))
        return;
    ByteReader field(bytes);
    value = decode(field);
}

ScriptFileStream& ScriptFileDiskStream::read8(uint8_t& value)
{
    readField<1>(value, [](ByteReader& in) { return in.u8(); });
    return *this;
}

ScriptFileStream& ScriptFileDiskStream::read16(uint16_t& value)
{
    readField<2>(value, [](ByteReader& in) { return in.u16(); });
    return *this;
}

ScriptFileStream& ScriptFileDiskStream::read32(uint32_t& value)
{
    readField<4>(value, [](ByteReader& in) { return in.u32(); });
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
    if (n <= m_block.remaining())
    {
        m_block.skip(n);
        return 0;
    }
    // Past the chunk: drop it and seek the rest from where the file stands.
    const uint64_t target = position() + n;
    const uint64_t beyondChunk = n - m_block.remaining();
    if (fseeko(m_handle->file(), static_cast<off_t>(beyondChunk), SEEK_CUR) != 0)
    {
        fail("seek error", position());
        return -1;
    }
    m_block = ByteReader({}, ByteOrder::LittleEndian, target);
    return 0;
}
