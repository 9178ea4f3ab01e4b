#pragma once

// The report room owns where Texelo's texts go: the reporter and its three
// sinks, and the assertion that stops the program on a broken invariant.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// Where Texelo's texts go. Standard output carries the documented texts and
// nothing else; MessageLine is the one-line status text of the window,
// repainted at every report. Standard error carries diagnostics in the form
// compilers use, "texelo: SCRIPT:LINE: error: WHAT", which editors and build
// logs link to the script line; the errors among them decide the program's
// exit status.
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
    // Standard output only, unless the run is quiet: progress a user may do
    // without ("Opened ...", "Saving Textures...").
    void inform(std::string_view text);
    void setQuiet(bool quiet) { m_quiet = quiet; }
    // Standard error only.
    void printError(std::string_view text);
    // MessageLine (cut to its 255 characters), then a repaint.
    void setMessageLine(std::string_view text);
    // Standard output, the debug channel and MessageLine, then a repaint.
    void ShowMessage(std::string_view text);
    // Standard output with a newline, MessageLine without, then a repaint.
    // The diagnostic that goes with it is the caller's.
    void ReportError(std::string_view text);

    // Where diagnostics point: the script as the user named it, and the line
    // being run (0 while no line is).
    void setScript(std::string_view name) { m_script.assign(name); }
    void setLine(unsigned line) { m_line = line; }
    [[nodiscard]] unsigned line() const { return m_line; }

    // A diagnostic on standard error at the current line, or at `line`
    // (0: the script as a whole). Errors make the run fail.
    void error(std::string_view what) { errorAt(m_line, what); }
    void warning(std::string_view what) { warningAt(m_line, what); }
    void errorAt(unsigned line, std::string_view what);
    void warningAt(unsigned line, std::string_view what);

    [[nodiscard]] std::size_t errorCount() const { return m_errorCount; }

    // Why standard output lost a text (a full disk, a closed pipe), from
    // its first failed write; the run then must not pass for a whole one.
    [[nodiscard]] const std::optional<std::string>& outputLoss() const { return m_outputLoss; }

    [[nodiscard]] const std::string& messageLine() const { return m_messageLine; }

private:
    void diagnose(unsigned line, std::string_view severity, std::string_view what);

    std::FILE* m_out;
    std::FILE* m_err;
    std::string m_messageLine;
    std::string m_script;
    unsigned m_line = 0;
    bool m_quiet = false;
    std::size_t m_errorCount = 0;
    std::optional<std::string> m_outputLoss;
};

// Prints MessageLine as it stands to standard output (no newline added) and
// repaints the window.
void FlushMessageLine(TexeloReporter& reporter);

// printf-style formatting into a string.
[[nodiscard]] std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A count with thousands separated by commas: 524,288.
[[nodiscard]] std::string groupedNumber(unsigned long long value);

// The system's reason for errno value `error`, as a sentence fragment.
[[nodiscard]] std::string systemReason(int error);
