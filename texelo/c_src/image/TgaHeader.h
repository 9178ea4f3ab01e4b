#pragma once

#include "ByteReader.h"

#include <cstddef>
#include <cstdint>

// The 18-byte header every Targa file starts with, little-endian; both the
// texture decoder and the image library's loader read it here.
struct TgaHeader
{
    static constexpr std::size_t kSize = 18;
    static constexpr uint8_t kLastPlainImageType = 3; // types above this are run-length encoded

    uint8_t IdLength = 0;
    uint8_t ColourMapType = 0;
    uint8_t ImageType = 0;
    uint16_t ColourMapFirst = 0;
    uint16_t ColourMapLength = 0;
    uint8_t ColourMapEntrySize = 0;
    uint16_t XOrigin = 0; // read but never used
    uint16_t YOrigin = 0;
    uint16_t ImageWidth = 0;
    uint16_t ImageHeight = 0;
    uint8_t PixelDepth = 0;
    uint8_t ImageDescriptor = 0; // the origin bits are ignored: rows are always bottom-up

    [[nodiscard]] bool runLength() const { return ImageType > kLastPlainImageType; }
};

// Reads the header at the reader's position; the reader fails when the file
// is shorter than a header.
[[nodiscard]] inline TgaHeader readTgaHeader(ByteReader& file)
{
    TgaHeader header;
    header.IdLength = file.u8();
    header.ColourMapType = file.u8();
    header.ImageType = file.u8();
    header.ColourMapFirst = file.u16();
    header.ColourMapLength = file.u16();
    header.ColourMapEntrySize = file.u8();
    header.XOrigin = file.u16();
    header.YOrigin = file.u16();
    header.ImageWidth = file.u16();
    header.ImageHeight = file.u16();
    header.PixelDepth = file.u8();
    header.ImageDescriptor = file.u8();
    return header;
}
