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
    const std::vector<uint16_t>& t = image.transparent; // a grey key is its first value
    png_color_16 key{0, t.empty() ? uint16_t{0} : t[0], t.size() < 3 ? uint16_t{0} : t[1],
                     t.size() < 3 ? uint16_t{0} : t[2], t.empty() ? uint16_t{0} : t[0]};
    if (!t.empty())
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
    Bytes data;
    for (const uint16_t sample : image.samples)
    {
        if (image.bitDepth == 16)
            data.push_back(static_cast<uint8_t>(sample >> 8)); // most significant byte first
        data.push_back(static_cast<uint8_t>(sample));
    }
    std::vector<png_bytep> rows;
    for (int y = 0; y < image.height; ++y)
        rows.push_back(data.data() + static_cast<std::size_t>(y) * (data.size() / image.height));
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

Picture readPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return picture;
    image.format = PNG_FORMAT_RGBA;
    picture.pixels.resize(std::size_t{image.width} * image.height);
    if (png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr))
        picture = {int(image.width), int(image.height), picture.pixels};
    return picture;
}
