// Fuzzes the Targa decoder on whole files held in memory. The decoder's
// complaints go to /dev/null; what it hands back must be consistent.
#include "image/TgaDecoder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{

// A broken invariant must stop the run where libFuzzer sees it as a crash.
void check(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "tga_decoder_fuzz: %s\n", what);
    std::abort();
}

std::FILE* nullStream()
{
    static std::FILE* stream = std::fopen("/dev/null", "w");
    check(stream != nullptr, "cannot open /dev/null");
    return stream;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TexeloReporter reporter(nullStream(), nullStream());
    RgbaImage image;
    const int result = DecodeTga(reporter, image, data, size);
    check(result == 0 || result == 1, "DecodeTga returned neither 0 nor 1");
    if (result == 0)
    {
        check(image.pixels.empty(), "a failed decode left pixels");
        return 0;
    }
    check(image.Width >= 0 && image.Height >= 0, "negative size decoded");
    check(image.pixels.size() == static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height) * 4,
          "pixel block does not match the size");
    // Every decoded image is backed by the file: at most 128 pixels per 2 bytes.
    check(image.pixels.size() / 4 <= size * 64, "image larger than the file can describe");
    return 0;
}
