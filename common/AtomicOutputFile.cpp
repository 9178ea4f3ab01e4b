#include "AtomicOutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

// The target may be replaced only if it is absent or a writable plain file:
// 0 when it may, else the errno that says why not. A device or pipe would be
// replaced by the rename, not written, so it is refused as not permitted.
int targetRefusal(const std::string& path)
{
    if (path.empty())
        return ENOENT;
    struct stat info{};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return EPERM;
    return access(path.c_str(), W_OK) == 0 ? 0 : errno;
}
} // namespace

int AtomicOutputFile::refusalOf(const std::string& path)
{
    if (const int refusal = targetRefusal(path); refusal != 0)
        return refusal;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    return access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

bool AtomicOutputFile::open(const std::string& path, const char* fileMode)
{
    discard();
    m_failed = false;
    m_error = targetRefusal(path);
    if (m_error != 0)
        return false;

    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0)
    {
        m_error = errno;
        return false;
    }
    std::string tempPath(name.data());
    fchmod(fd, creationMode());
    m_file = fdopen(fd, fileMode);
    if (!m_file)
    {
        m_error = errno;
        ::close(fd);
        std::remove(tempPath.c_str());
        return false;
    }
    std::setvbuf(m_file, nullptr, _IOFBF, kWriteBufferSize);
    m_targetPath = path;
    m_tempPath = std::move(tempPath);
    return true;
}

bool AtomicOutputFile::commit()
{
    if (!m_file)
        return true;
    bool ok = !m_failed;
    if (ok && std::fflush(m_file) != 0)
    {
        m_error = errno;
        ok = false;
    }
    else if (ok && std::ferror(m_file) != 0)
    {
        m_error = EIO; // an earlier failure whose errno is gone
        ok = false;
    }
    const bool closed = std::fclose(m_file) == 0;
    if (!closed && m_error == 0)
        m_error = errno;
    ok = closed && ok;
    m_file = nullptr;
    if (ok && std::rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0)
    {
        m_error = errno;
        ok = false;
    }
    if (!ok)
        std::remove(m_tempPath.c_str());
    m_tempPath.clear();
    m_targetPath.clear();
    return ok;
}

void AtomicOutputFile::discard()
{
    if (!m_file)
        return;
    std::fclose(m_file);
    m_file = nullptr;
    std::remove(m_tempPath.c_str());
    m_tempPath.clear();
    m_targetPath.clear();
}

bool AtomicOutputFile::write(const void* data, std::size_t size)
{
    if (!m_file || m_failed)
        return false;
    if (size > 0 && std::fwrite(data, 1, size, m_file) != size)
    {
        m_error = errno != 0 ? errno : EIO;
        m_failed = true;
        return false;
    }
    return true;
}
