#pragma once

// The report room owns where Texelo's texts go: the reporter and its three
// sinks, and the assertion that stops the program on a broken invariant.

#include <cstdio>
#include <string>
#include <string_view>

// Where Texelo's texts go. Standard output carries the documented texts and
// nothing else; standard error the decoder's complaints; MessageLine is the
// one-line status text of the window, repainted at every report. It also
// counts the errors of the run, which decide the program's exit status.
class TexeloReporter
{
public:
    static constexpr std::size_t kMessageLineCapacity = 255;

    explicit TexeloReporter(std::FILE* out = stdout, std::FILE* err = stderr) : m_out(out), m_err(err) {}
    virtual ~TexeloReporter() = default;
    TexeloReporter(const TexeloReporter&) = delete;
    TexeloReporter& operator=(const TexeloReporter&) = delete;

    // Paint the window now; a run without a window does nothing.
    virtual void repaint() {}

    // Standard output only.
    void print(std::string_view text);
    // Standard error only.
    void printError(std::string_view text);
    // MessageLine (cut to its 255 characters), then a repaint.
    void setMessageLine(std::string_view text);
    // Standard output, the debug channel and MessageLine, then a repaint.
    void ShowMessage(std::string_view text);
    // Standard output with a newline, MessageLine without, then a repaint;
    // counts as an error.
    void ReportError(std::string_view text);

    // Counts an error that was reported through one of the plain sinks
    // above: some failures keep texts that never went through ReportError.
    void noteError() { ++m_errorCount; }
    [[nodiscard]] std::size_t errorCount() const { return m_errorCount; }

    [[nodiscard]] const std::string& messageLine() const { return m_messageLine; }

private:
    std::FILE* m_out;
    std::FILE* m_err;
    std::string m_messageLine;
    std::size_t m_errorCount = 0;
};

// Prints MessageLine as it stands to standard output (no newline added) and
// repaints the window.
void FlushMessageLine(TexeloReporter& reporter);

// printf-style formatting into a string.
[[nodiscard]] std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
