#include "ScriptFileHandle.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>

const char* ScriptFileHandle::modeText(int modeIndex)
{
    static constexpr std::array<const char*, 10> kModes = {"rt",  "rb",  "wt",  "wb",  "r+t",
                                                          "r+b", "w+t", "w+b", "a+t", "a+b"};
    if (modeIndex < 0 || modeIndex >= static_cast<int>(kModes.size()))
        return nullptr;
    return kModes[static_cast<std::size_t>(modeIndex)];
}

bool ScriptFileHandle::open(const std::string& path, int modeIndex)
{
    close();
    m_modeIndex = modeIndex;
    const char* mode = modeText(modeIndex);
    if (!mode)
        return false;
    if (modeIndex != kReadText && modeIndex != kReadBinary)
    {
        m_file = std::fopen(path.c_str(), mode);
        return m_file != nullptr;
    }
    // Without blocking, so that a pipe with no writer is opened at once and
    // then refused as no regular file, instead of waiting for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    m_file = fdopen(fd, mode);
    if (m_file == nullptr)
        ::close(fd);
    return m_file != nullptr;
}

void ScriptFileHandle::close()
{
    if (!m_file)
        return;
    std::fclose(m_file);
    m_file = nullptr;
}
