#include "report/TexeloReporter.h"

#include "DebugOutput.h"

#include <cstdarg>
#include <vector>

void TexeloReporter::print(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), m_out);
    std::fflush(m_out);
}

void TexeloReporter::printError(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), m_err);
    std::fflush(m_err);
}

void TexeloReporter::setMessageLine(std::string_view text)
{
    m_messageLine.assign(text.substr(0, kMessageLineCapacity));
    repaint();
}

void TexeloReporter::ShowMessage(std::string_view text)
{
    print(text);
    debugOutput(text);
    setMessageLine(text);
}

void TexeloReporter::ReportError(std::string_view text)
{
    noteError();
    print(text);
    print("\n");
    setMessageLine(text);
}

std::string formatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0)
    {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
    return text;
}

void FlushMessageLine(TexeloReporter& reporter)
{
    reporter.print(reporter.messageLine());
    reporter.repaint();
}
