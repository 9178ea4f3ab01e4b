// Fuzzes the PNG decoder on whole files held in memory, both as a texture
// and as a backdrop's palette indices: what it hands back must be
// consistent, and every refusal must say why.
#include "image/PngDecoder.h"

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
    std::fprintf(stderr, "png_decoder_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RgbaImage image;
    std::string reason;
    const int result = DecodePng(image, data, size, reason);
    check(result == 0 || result == 1, "DecodePng returned neither 0 nor 1");
    if (result == 0)
    {
        check(image.pixels.empty() && image.Width == 0 && image.Height == 0, "a failed decode left pixels");
        check(!reason.empty(), "a failed decode gave no reason");
    }
    else
    {
        check(reason.empty(), "a decoded image came with a reason");
        check(image.Width > 0 && image.Height > 0, "an empty picture decoded");
        check(image.Width <= int32_t{kLargestPngSide} && image.Height <= int32_t{kLargestPngSide},
              "a picture beyond the largest side decoded");
        check(image.pixels.size() == static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height) * 4,
              "pixel block does not match the size");
    }

    IndexedPicture picture;
    const PngIndexResult indexed = DecodePngIndices(picture, data, size, reason);
    if (indexed == PngIndexResult::Decoded)
    {
        check(result == 1, "indices decoded from a file whose colours do not");
        check(picture.Width == static_cast<uint32_t>(image.Width) &&
                  picture.Height == static_cast<uint32_t>(image.Height),
              "indices and colours of different sizes");
        check(picture.Indices.size() == size_t{picture.Width} * picture.Height,
              "index block does not match the size");
    }
    else
        check(picture.Indices.empty() && (indexed == PngIndexResult::NotIndexed || !reason.empty()),
              "a refused index decode left indices or gave no reason");
    return 0;
}
