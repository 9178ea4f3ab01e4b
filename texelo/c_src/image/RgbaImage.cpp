#include "image/RgbaImage.h"

PictureFile LoadPictureFile(RunFiles& files, std::string_view path, Presence presence, PictureDecoder decode,
                            std::string_view format)
{
    PictureFile result;
    FileRead read = files.read(path, presence);
    result.path = std::move(read.path);
    result.found = read.found;
    if (!read.bytes)
    {
        result.failure = "cannot be read: " + read.failure;
        return result;
    }
    auto image = std::make_unique<RgbaImage>();
    std::string reason;
    if (decode(*image, read.bytes->data(), read.bytes->size(), reason))
        result.image = std::move(image);
    else
        result.failure = "does not decode as a " + std::string(format) + " file: " + reason;
    return result;
}
