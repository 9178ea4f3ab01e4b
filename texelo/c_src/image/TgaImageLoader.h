#pragma once

#include "image/TgaHeader.h"
#include "files/RunFiles.h"
#include "image/ImageLoader.h"
#include "image/Memory.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

// The image library's Targa reader. Unlike the texture decoder it keeps the
// stored values: an 8-bit colour-mapped file becomes an 8-bit indexed Bitmap
// whose palette is the file's colour map (256 entries, missing ones 0), its
// rows in file order. True-colour files get a format but are not decoded.
class TgaImageLoader final : public ImageLoader
{
public:
    // Reads one stored pixel value at `cursor`, moving past it; false when
    // the value is missing.
    using ReadIndexFunction = bool (*)(const uint8_t*& cursor, const uint8_t* end, uint32_t& value);

    // Takes the whole file. A file too short for its header, ID and colour
    // map gives a loader without a format, which decodes nothing.
    TgaImageLoader(MemBuffer fileData, std::size_t fileLength);

    // The loader, or null when the file is too short for its header, ID and
    // colour map (or memory runs out).
    [[nodiscard]] static std::unique_ptr<TgaImageLoader> FromFileData(MemBuffer fileData,
                                                                      std::size_t fileLength);

    [[nodiscard]] uint16_t Width() const override { return Header.ImageWidth; }
    [[nodiscard]] uint16_t Height() const override { return Header.ImageHeight; }
    [[nodiscard]] const PixelFormat* Format() const override { return LoaderFormat.get(); }
    // Fails at once, writing nothing, without an index reader (true colour,
    // unsupported depth); fails when the data ends early or a run-length
    // packet crosses the end of a row.
    [[nodiscard]] int Decode(Bitmap& bitmap) override;

    [[nodiscard]] bool HasIndexReader() const { return ReadIndexFn != nullptr; }

private:
    void chooseFormat();
    [[nodiscard]] bool decodeRow(uint8_t* row, const PixelFormat& target, std::size_t bytesPerPixel,
                                 const uint8_t*& cursor, const uint8_t* end) const;

    TgaHeader Header;

    MemBuffer FileData;
    std::size_t FileLength = 0;             // so that nothing is read past the file
    const uint8_t* PixelData = nullptr;     // null when the file is too short for what precedes it
    const uint8_t* ColourMapData = nullptr; // null without a colour map
    std::unique_ptr<PixelFormat> LoaderFormat;
    ReadIndexFunction ReadIndexFn = nullptr;
};

// Reads a Targa file named as a script names it into a loader. Null, without
// a message, when it cannot be opened or read, or is too short for its
// header, ID and colour map.
[[nodiscard]] std::unique_ptr<TgaImageLoader> LoadTgaImage(RunFiles& files, std::string_view path);
