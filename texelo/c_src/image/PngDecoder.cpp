#include "image/PngDecoder.h"

#include "report/TexeloReporter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

namespace
{

constexpr std::size_t kMessageSize = 256;
// Ancillary chunks a picture may carry that nothing here uses; libpng skips
// them unread, so they cost neither time nor memory.
constexpr png_byte kIgnoredChunks[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
                                      "sBIT\0sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";
constexpr int kIgnoredChunkCount = 17;
// No chunk this decoder keeps is near this size; a damaged length is
// refused before memory is taken for it.
constexpr png_alloc_size_t kLargestChunk = png_alloc_size_t{1} << 20;

enum class Wanted : uint8_t
{
    Rgba,
    Indices,
};

enum class Header : uint8_t
{
    Ready,
    Failed,
    TooLarge,
    NotIndexed,
};

// Everything the libpng calls share. libpng reports errors by a long jump
// back into the function that called setjmp, so this is plain data and the
// functions that call setjmp hold no object with a destructor: nothing the
// jump passes over needs cleaning up.
struct PngRead
{
    const uint8_t* bytes = nullptr;
    std::size_t length = 0;
    std::size_t offset = 0;
    Wanted wanted = Wanted::Rgba;
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int colourType = 0;
    int bitDepth = 0;
    int passes = 1;
    std::jmp_buf jump{};
    char message[kMessageSize] = {};
    char scratch[kMessageSize] = {};
};

PngRead& readOf(png_structp png)
{
    return *static_cast<PngRead*>(png_get_error_ptr(png));
}

[[noreturn]] void onError(png_structp png, png_const_charp message)
{
    PngRead& read = readOf(png);
    std::snprintf(read.message, sizeof read.message, "%s", message);
    std::longjmp(read.jump, 1);
}

// Warnings (a damaged ancillary chunk, for one) change nothing in the
// pixels and are not shown.
void onWarning(png_structp, png_const_charp) {}

void readFromMemory(png_structp png, png_bytep out, std::size_t count)
{
    PngRead& read = *static_cast<PngRead*>(png_get_io_ptr(png));
    if (count > read.length - read.offset)
    {
        std::snprintf(read.scratch, sizeof read.scratch, "truncated: the file ends after %zu bytes",
                      read.length);
        png_error(png, read.scratch);
    }
    std::memcpy(out, read.bytes + read.offset, count);
    read.offset += count;
}

void destroy(PngRead& read)
{
    if (read.png != nullptr)
        png_destroy_read_struct(&read.png, read.info != nullptr ? &read.info : nullptr, nullptr);
    read.png = nullptr;
    read.info = nullptr;
}

// The transformations that give a Targa file's pixels: everything becomes
// 8-bit R, G, B, A; colour that carries no alpha gets A = 0.
void chooseRgbaTransforms(PngRead& read)
{
    png_structp png = read.png;
    const bool hasTrns = png_get_valid(png, read.info, PNG_INFO_tRNS) != 0;
    if (read.bitDepth == 16)
        png_set_scale_16(png);
    if (read.colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if ((read.colourType & PNG_COLOR_MASK_COLOR) == 0)
    {
        if (read.bitDepth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    if (hasTrns)
        png_set_tRNS_to_alpha(png);
    else if ((read.colourType & PNG_COLOR_MASK_ALPHA) == 0)
        png_set_add_alpha(png, 0, PNG_FILLER_AFTER);
}

// Reads the header and sets up the decoding; on Ready the read struct is
// left for readPixels.
Header readHeader(PngRead& read)
{
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &read, onError, onWarning);
    if (read.png == nullptr)
    {
        std::snprintf(read.message, sizeof read.message, "out of memory");
        return Header::Failed;
    }
    read.info = png_create_info_struct(read.png);
    if (read.info == nullptr)
    {
        std::snprintf(read.message, sizeof read.message, "out of memory");
        destroy(read);
        return Header::Failed;
    }
    if (setjmp(read.jump) != 0)
    {
        destroy(read);
        return Header::Failed;
    }
    png_set_read_fn(read.png, &read, readFromMemory);
    // libpng's own size limits stay out of the way: the limit below is the
    // one a message names.
    png_set_user_limits(read.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_chunk_malloc_max(read.png, kLargestChunk);
    png_set_keep_unknown_chunks(read.png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, kIgnoredChunkCount);
    png_read_info(read.png, read.info);
    png_get_IHDR(read.png, read.info, &read.width, &read.height, &read.bitDepth, &read.colourType, nullptr,
                 nullptr, nullptr);
    if (read.width > kLargestPngSide || read.height > kLargestPngSide)
    {
        destroy(read);
        return Header::TooLarge;
    }
    if (read.wanted == Wanted::Indices)
    {
        if (read.colourType != PNG_COLOR_TYPE_PALETTE)
        {
            destroy(read);
            return Header::NotIndexed;
        }
        png_set_packing(read.png); // 1, 2 and 4-bit indices become one byte each, unscaled
    }
    else
        chooseRgbaTransforms(read);
    read.passes = png_set_interlace_handling(read.png);
    png_read_update_info(read.png, read.info);
    const std::size_t pixelBytes = read.wanted == Wanted::Indices ? 1 : kRgbaBytesPerPixel;
    if (png_get_rowbytes(read.png, read.info) != std::size_t{read.width} * pixelBytes)
        png_error(read.png, "rows of an unexpected size after the conversion");
    return Header::Ready;
}

// Each pass of an interlaced picture fills in its rows over the earlier
// passes' ones.
void readRows(PngRead& read, uint8_t* pixels, std::size_t rowBytes)
{
    for (int pass = 0; pass < read.passes; ++pass)
        for (png_uint_32 y = 0; y < read.height; ++y)
            png_read_row(read.png, pixels + y * rowBytes, nullptr);
}

// Decodes the rows into `pixels`, which has room for them all, and checks
// the rest of the file; the read struct is released either way.
bool readPixels(PngRead& read, uint8_t* pixels, std::size_t rowBytes)
{
    if (setjmp(read.jump) != 0)
    {
        destroy(read);
        return false;
    }
    readRows(read, pixels, rowBytes);
    png_read_end(read.png, nullptr);
    destroy(read);
    return true;
}

std::string tooLargeReason(const PngRead& read)
{
    return groupedNumber(read.width) + " x " + groupedNumber(read.height) +
           " pixels, beyond the largest side of " + groupedNumber(kLargestPngSide);
}

// Header, room for the pixels, the pixels. `reason` is set on every failure.
Header decode(PngRead& read, std::vector<uint8_t>& pixels, std::string& reason)
{
    const Header header = readHeader(read);
    if (header == Header::Failed)
        reason = read.message;
    else if (header == Header::TooLarge)
        reason = tooLargeReason(read);
    if (header != Header::Ready)
        return header;
    const std::size_t rowBytes = png_get_rowbytes(read.png, read.info);
    try
    {
        pixels.assign(rowBytes * read.height, 0);
    }
    catch (const std::bad_alloc&)
    {
        destroy(read);
        reason = formatText("out of memory for %u x %u pixels", read.width, read.height);
        return Header::Failed;
    }
    if (readPixels(read, pixels.data(), rowBytes))
        return Header::Ready;
    pixels.clear();
    reason = read.message;
    return Header::Failed;
}

} // namespace

int DecodePng(RgbaImage& image, const uint8_t* fileBytes, std::size_t fileLength, std::string& reason)
{
    image = RgbaImage{};
    reason.clear();
    PngRead read;
    read.bytes = fileBytes;
    read.length = fileBytes != nullptr ? fileLength : 0;
    std::vector<uint8_t> pixels;
    if (decode(read, pixels, reason) != Header::Ready)
        return 0;
    image.Width = static_cast<int32_t>(read.width);
    image.Height = static_cast<int32_t>(read.height);
    image.pixels = std::move(pixels);
    return 1;
}

PngIndexResult DecodePngIndices(IndexedPicture& picture, const uint8_t* fileBytes, std::size_t fileLength,
                                std::string& reason)
{
    picture = IndexedPicture{};
    reason.clear();
    PngRead read;
    read.bytes = fileBytes;
    read.length = fileBytes != nullptr ? fileLength : 0;
    read.wanted = Wanted::Indices;
    std::vector<uint8_t> indices;
    switch (decode(read, indices, reason))
    {
    case Header::Ready:
        picture = {read.width, read.height, std::move(indices)};
        return PngIndexResult::Decoded;
    case Header::NotIndexed:
        return PngIndexResult::NotIndexed;
    default:
        return PngIndexResult::Failed;
    }
}

PictureFile LoadPngFile(RunFiles& files, std::string_view path, Presence presence)
{
    return LoadPictureFile(files, path, presence, DecodePng, "PNG");
}
