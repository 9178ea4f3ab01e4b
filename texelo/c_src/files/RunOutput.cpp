#include "files/RunOutput.h"

bool RunOutput::open(const std::string& path, const char* fileMode)
{
    if (!m_dryRun)
        return m_file.open(path, fileMode);
    m_refusal = AtomicOutputFile::refusalOf(path);
    return m_refusal == 0;
}

bool RunOutput::write(const void* data, std::size_t size)
{
    return m_dryRun || m_file.write(data, size);
}

bool RunOutput::commit()
{
    return m_dryRun || m_file.commit();
}
