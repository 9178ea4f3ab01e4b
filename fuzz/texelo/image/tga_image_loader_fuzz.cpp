// Fuzzes the image library's Targa loader on whole files held in memory:
// the loader's refusals, its formats and palettes, and decoding into a
// Bitmap in its own format and in a direct-colour one.
#include "image/CreatePixelFormat.h"
#include "image/ImageLoader.h"
#include "image/IndexedPixelFormat.h"
#include "image/TgaImageLoader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

// A Bitmap is allocated at the header's size before anything is decoded; a
// header may ask for 65535 x 65535 pixels, more than libFuzzer lets a run
// allocate. Such headers are left out; smaller ones still exercise every path.
constexpr uint64_t kMaxPixels = uint64_t{1} << 22;

void check(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "tga_image_loader_fuzz: %s\n", what);
    std::abort();
}

// Reads every pixel, so that the sanitizers see any address outside the
// store. An index reads as its palette colour; a direct colour written by
// the decode reads back as the raw value it was written as.
void readAll(const Bitmap& bitmap)
{
    const PixelFormat* format = bitmap.Format();
    const auto* indexed = dynamic_cast<const IndexedPixelFormat*>(format);
    for (uint32_t y = 0; y < bitmap.Height(); ++y)
        for (uint32_t x = 0; x < bitmap.Width(); ++x)
        {
            const uint8_t* pixel = bitmap.PixelAddress(x, y);
            check(pixel != nullptr, "a pixel inside the picture has no address");
            const uint32_t raw = format->ReadRaw(pixel);
            const uint32_t colour = format->ReadColour(pixel);
            if (indexed != nullptr)
            {
                check(raw <= 0xFF, "an index is wider than a byte");
                check(colour == indexed->GetPalette()->GetColour(static_cast<int32_t>(raw)),
                      "an index does not read as its palette colour");
            }
            else
                check(format->MakeRaw(alphaOf(colour), redOf(colour), greenOf(colour), blueOf(colour)) == raw,
                      "a direct colour does not read back as written");
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    MemBuffer buffer = AllocateBuffer(size);
    check(buffer != nullptr, "cannot copy the input");
    std::memcpy(buffer.get(), data, size);
    const std::unique_ptr<TgaImageLoader> loader = TgaImageLoader::FromFileData(std::move(buffer), size);
    if (!loader)
        return 0;
    if (uint64_t{loader->Width()} * loader->Height() > kMaxPixels)
        return 0;

    int result = -1;
    const std::unique_ptr<Bitmap> own = CreateBitmapFromLoader(*loader, 0, &result);
    check(own != nullptr, "no Bitmap for a loader of a small picture");
    check(result == kDecodeSucceeded || result == kDecodeFailed, "Decode returned neither 0 nor 1");
    check(own->HasStore() == (loader->Format() != nullptr), "store and format disagree");
    if (loader->Format() == nullptr || !loader->Format()->IsIndexed())
        check(result == kDecodeFailed, "a picture without an index reader decoded");
    if (result == kDecodeSucceeded)
    {
        check(own->Width() == loader->Width() && own->Height() == loader->Height(), "Bitmap size differs");
        readAll(*own);
    }

    // The same stream into a direct-colour format picked by the input, each
    // index converted through the palette.
    const int32_t directId = kFirstFormatId + data[size - 1] % kLastFormatId;
    int directResult = -1;
    const std::unique_ptr<Bitmap> direct = CreateBitmapFromLoader(*loader, directId, &directResult);
    check(direct != nullptr && direct->HasStore(), "no direct-colour Bitmap");
    check(directResult == result, "the two decodes of one stream disagree");
    if (directResult == kDecodeSucceeded)
        readAll(*direct);
    return 0;
}
