// Runs the decoder with a reporter that keeps what it was told: standard
// output and standard error in temporary files, and MessageLine as it stood
// at each repaint.
#pragma once

#include "TgaWriter.h"
#include "image/TgaDecoder.h"

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace tgawriter
{
// Readable failures in GoogleTest.
inline void PrintTo(const Rgba& c, std::ostream* os)
{
    *os << "{" << int{c.r} << "," << int{c.g} << "," << int{c.b} << "," << int{c.a} << "}";
}
} // namespace tgawriter

namespace tgatest
{

using tgawriter::Bytes;
using tgawriter::Rgba;

inline std::string readAll(std::FILE* file)
{
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, file))
        text.append(buffer, n);
    return text;
}

struct TemporaryStreams
{
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    TemporaryStreams() = default;
    TemporaryStreams(const TemporaryStreams&) = delete;
    TemporaryStreams& operator=(const TemporaryStreams&) = delete;
    ~TemporaryStreams()
    {
        std::fclose(out);
        std::fclose(err);
    }
};

// Base classes are built in order, so the files exist before the reporter.
class RecordingReporter : private TemporaryStreams, public TexeloReporter
{
public:
    RecordingReporter() : TexeloReporter(TemporaryStreams::out, TemporaryStreams::err) {}
    void repaint() override { repaints.push_back(messageLine()); }

    [[nodiscard]] std::string standardOutput() { return readAll(TemporaryStreams::out); }
    [[nodiscard]] std::string standardError() { return readAll(TemporaryStreams::err); }

    std::vector<std::string> repaints; // MessageLine at each repaint
};

struct DecodeRun
{
    int result = -1;
    RgbaImage image;
    std::string standardOutput;
    std::string standardError;
    std::vector<std::string> repaints;
};

inline DecodeRun decode(const Bytes& file)
{
    RecordingReporter reporter;
    DecodeRun run;
    run.result = DecodeTga(reporter, run.image, file.data(), file.size());
    run.standardOutput = reporter.standardOutput();
    run.standardError = reporter.standardError();
    run.repaints = reporter.repaints;
    return run;
}

// The decoded pixels, top row first.
inline std::vector<Rgba> pixelsOf(const RgbaImage& image)
{
    std::vector<Rgba> pixels;
    for (std::size_t i = 0; i + 3 < image.pixels.size(); i += 4)
        pixels.push_back({image.pixels[i], image.pixels[i + 1], image.pixels[i + 2], image.pixels[i + 3]});
    return pixels;
}

inline const std::string kFailed = "Failed to decode TGA";

} // namespace tgatest
