#include "BinaryOutStream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace
{
constexpr std::size_t kWriteBufferSize = 1 << 20;

// The permissions a newly created file would get from fopen.
mode_t creationMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The target may be replaced only if it is absent or a writable plain file.
bool targetIsReplaceable(const std::string& path)
{
    struct stat info{};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode) && access(path.c_str(), W_OK) == 0;
}
} // namespace

BinaryOutStream::~BinaryOutStream()
{
    discard();
}

bool BinaryOutStream::open(const std::string& path, const char* fileMode, bool littleEndian)
{
    discard();
    m_littleEndian = littleEndian;
    m_failed = false;
    if (path.empty() || !targetIsReplaceable(path))
        return false;

    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return false;
    std::string tempPath(name.data());
    fchmod(fd, creationMode());
    m_file = fdopen(fd, fileMode);
    if (!m_file)
    {
        ::close(fd);
        std::remove(tempPath.c_str());
        return false;
    }
    std::setvbuf(m_file, nullptr, _IOFBF, kWriteBufferSize);
    m_targetPath = path;
    m_tempPath = std::move(tempPath);
    return true;
}

bool BinaryOutStream::close()
{
    if (!m_file)
        return true;
    bool ok = !m_failed && std::fflush(m_file) == 0;
    ok = std::fclose(m_file) == 0 && ok;
    m_file = nullptr;
    if (ok)
        ok = std::rename(m_tempPath.c_str(), m_targetPath.c_str()) == 0;
    if (!ok)
        std::remove(m_tempPath.c_str());
    m_tempPath.clear();
    m_targetPath.clear();
    return ok;
}

void BinaryOutStream::discard()
{
    if (!m_file)
        return;
    std::fclose(m_file);
    m_file = nullptr;
    std::remove(m_tempPath.c_str());
    m_tempPath.clear();
    m_targetPath.clear();
}

bool BinaryOutStream::writeBytes(uint32_t value, int count)
{
    if (!m_file || m_failed)
        return false;
    for (int i = 0; i < count; ++i)
    {
        const int shift = m_littleEndian ? 8 * i : 8 * (count - 1 - i);
        if (putc_unlocked(static_cast<int>((value >> shift) & 0xFF), m_file) == EOF)
        {
            m_failed = true;
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
