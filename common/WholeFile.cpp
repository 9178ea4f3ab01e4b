#include "WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace
{

WholeFile cannotOpen(const char* reason)
{
    WholeFile file;
    file.status = WholeFileStatus::CannotOpen;
    file.reason = reason;
    return file;
}

// Closes the descriptor on every way out.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

WholeFile readWholeFile(const std::string& path, uint64_t longest)
{
    // Non-blocking, so that opening a pipe without a writer returns at once.
    const Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return cannotOpen(std::strerror(errno));
    struct stat status
    {
    };
    if (fstat(fd.get(), &status) != 0)
        return cannotOpen(std::strerror(errno));
    if (S_ISDIR(status.st_mode))
        return cannotOpen(std::strerror(EISDIR));
    if (!S_ISREG(status.st_mode))
        return cannotOpen("not a regular file");
    const auto size = static_cast<uint64_t>(status.st_size);
    WholeFile file;
    if (size > longest)
    {
        file.status = WholeFileStatus::TooLong;
        return file;
    }
    file.bytes.resize(size);
    uint64_t done = 0;
    while (done < size)
    {
        const ssize_t got = read(fd.get(), file.bytes.data() + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return cannotOpen(std::strerror(errno));
        if (got == 0)
            break; // the file shrank while being read: what is there is judged
        done += static_cast<uint64_t>(got);
    }
    file.bytes.resize(done);
    file.status = WholeFileStatus::Read;
    return file;
}
