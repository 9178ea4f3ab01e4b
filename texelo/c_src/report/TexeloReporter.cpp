#include "report/TexeloReporter.h"

#include "DebugOutput.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <vector>

void TexeloReporter::print(std::string_view text)
{
    const bool reached =
        std::fwrite(text.data(), 1, text.size(), m_out) == text.size() && std::fflush(m_out) == 0;
    if (!reached && !m_outputLoss)
        m_outputLoss = systemReason(errno);
}

void TexeloReporter::inform(std::string_view text)
{
    if (!m_quiet)
        print(text);
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
    print(text);
    print("\n");
    setMessageLine(text);
}

void TexeloReporter::errorAt(unsigned line, std::string_view what)
{
    ++m_errorCount;
    diagnose(line, "error", what);
}

void TexeloReporter::warningAt(unsigned line, std::string_view what)
{
    diagnose(line, "warning", what);
}

void TexeloReporter::diagnose(unsigned line, std::string_view severity, std::string_view what)
{
    std::string text = "texelo: ";
    if (!m_script.empty())
    {
        text.append(m_script);
        if (line != 0)
            text.append(":").append(std::to_string(line));
        text.append(": ");
    }
    text.append(severity).append(": ").append(what).append("\n");
    printError(text);
}

std::string groupedNumber(unsigned long long value)
{
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i)
    {
        if (i != 0 && (digits.size() - i) % 3 == 0)
            grouped.push_back(',');
        grouped.push_back(digits[i]);
    }
    return grouped;
}

std::string systemReason(int error)
{
    return std::strerror(error);
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
