#include "PngFile.h"

#include "AtomicOutputFile.h"

#include <png.h>

#include <cerrno>
#include <cstring>

std::optional<std::vector<uint8_t>> encodePng(const RgbaPicture& picture, std::string& error)
{
    constexpr uint64_t kBytesPerPixel = 4;
    if (picture.width == 0 || picture.height == 0)
    {
        error = "a picture without pixels has no PNG form";
        return std::nullopt;
    }
    if (picture.rgba.size() != uint64_t{picture.width} * picture.height * kBytesPerPixel)
    {
        error = "the picture's bytes do not match its size";
        return std::nullopt;
    }
    // The simplified interface reports failures through its result instead
    // of a long jump, which would skip C++ destructors.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = picture.width;
    image.height = picture.height;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, picture.rgba.data(), 0, nullptr))
    {
        error = image.message;
        png_image_free(&image);
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, picture.rgba.data(), 0, nullptr))
    {
        error = image.message;
        png_image_free(&image);
        return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}

bool writePngFile(const std::string& path, const RgbaPicture& picture, std::string& error)
{
    const std::optional<std::vector<uint8_t>> png = encodePng(picture, error);
    if (!png)
        return false;
    AtomicOutputFile output;
    if (output.open(path) && output.write(png->data(), png->size()) && output.commit())
        return true;
    error = std::strerror(output.error() != 0 ? output.error() : EIO);
    output.discard();
    return false;
}
