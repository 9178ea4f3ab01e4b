// Fuzzes the Targa decoder on whole files held in memory: what it hands back
// must be consistent, and every refusal must say why.
#include "image/TgaDecoder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RgbaImage image;
    std::string reason;
    const int result = DecodeTga(image, data, size, reason);
    check(result == 0 || result == 1, "DecodeTga returned neither 0 nor 1");
    if (result == 0)
    {
        check(image.pixels.empty(), "a failed decode left pixels");
        check(!reason.empty(), "a failed decode gave no reason");
        return 0;
    }
    check(reason.empty(), "a decoded image came with a reason");
    check(image.Width >= 0 && image.Height >= 0, "negative size decoded");
    check(image.pixels.size() == static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height) * 4,
          "pixel block does not match the size");
    // Every decoded image is backed by the file: at most 128 pixels per 2 bytes.
    check(image.pixels.size() / 4 <= size * 64, "image larger than the file can describe");
    return 0;
}
