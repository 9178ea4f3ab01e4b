#pragma once

// A reporter whose standard output and error land in temporary files the test
// reads back, and which counts the repaints it is asked for.

#include "report/TexeloReporter.h"

#include <cstdio>
#include <string>

class CapturingReporter : public TexeloReporter
{
public:
    CapturingReporter() : CapturingReporter(std::tmpfile(), std::tmpfile()) {}
    ~CapturingReporter() override
    {
        std::fclose(m_outFile);
        std::fclose(m_errFile);
    }

    void repaint() override { ++repaints; }

    [[nodiscard]] std::string output() const { return contents(m_outFile); }
    [[nodiscard]] std::string errors() const { return contents(m_errFile); }

    int repaints = 0;

private:
    CapturingReporter(std::FILE* out, std::FILE* err)
        : TexeloReporter(out, err), m_outFile(out), m_errFile(err)
    {
    }

    static std::string contents(std::FILE* file)
    {
        std::string text;
        std::rewind(file);
        char chunk[4096];
        std::size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            text.append(chunk, got);
        return text;
    }

    std::FILE* m_outFile;
    std::FILE* m_errFile;
};
