#include "PngWriter.h"

#include <png.h>

#include <csetjmp>

namespace pngwriter
{
namespace
{

void append(png_structp png, png_bytep data, std::size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// libpng's errors jump back here, past nothing with a destructor.
bool write(png_structp png, png_infop info, const PngImage& image, png_bytepp rows, png_bytep alphas,
           Bytes* out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, append, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
                 image.bitDepth, image.colourType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!image.palette.empty())
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(image.palette.data()),
                     static_cast<int>(image.palette.size()));
    png_color_16 key{};
    if (image.colourType == PNG_COLOR_TYPE_GRAY && !image.transparent.empty())
        key.gray = image.transparent[0];
    else if (image.colourType == PNG_COLOR_TYPE_RGB && image.transparent.size() == 3)
        key = {0, image.transparent[0], image.transparent[1], image.transparent[2], 0};
    if (!image.transparent.empty())
        png_set_tRNS(png, info, image.colourType == PNG_COLOR_TYPE_PALETTE ? alphas : nullptr,
                     static_cast<int>(image.transparent.size()), &key);
    png_write_info(png, info);
    if (image.bitDepth < 8)
        png_set_packing(png); // one byte a sample in, packed in the file
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

Bytes encodePng(const PngImage& image)
{
    const std::size_t channels = image.colourType == 2   ? 3
                                 : image.colourType == 4 ? 2
                                 : image.colourType == 6 ? 4
                                                         : 1;
    const std::size_t rowSamples = static_cast<std::size_t>(image.width) * channels;
    Bytes data;
    for (const uint16_t sample : image.samples)
    {
        if (image.bitDepth == 16)
            data.push_back(static_cast<uint8_t>(sample >> 8)); // most significant byte first
        data.push_back(static_cast<uint8_t>(sample));
    }
    std::vector<png_bytep> rows;
    for (int y = 0; y < image.height; ++y)
        rows.push_back(data.data() + y * rowSamples * (image.bitDepth == 16 ? 2 : 1));
    Bytes alphas(image.transparent.begin(), image.transparent.end());
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (!write(png, info, image, rows.data(), alphas.data(), &out))
        out.clear();
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace pngwriter
