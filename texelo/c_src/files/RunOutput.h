#pragma once

#include "AtomicOutputFile.h"

#include <cstddef>
#include <string>

// A file a run writes: whole and in place only once complete. In a dry run
// nothing is written; opening only checks that the file could be, so the run
// says what a real one would.
class RunOutput
{
public:
    explicit RunOutput(bool dryRun) : m_dryRun(dryRun) {}

    [[nodiscard]] bool open(const std::string& path, const char* fileMode = "wb");
    bool write(const void* data, std::size_t size);
    bool commit();
    // The errno of the step that failed.
    [[nodiscard]] int error() const { return m_dryRun ? m_refusal : m_file.error(); }

private:
    bool m_dryRun;
    int m_refusal = 0;
    AtomicOutputFile m_file;
};
