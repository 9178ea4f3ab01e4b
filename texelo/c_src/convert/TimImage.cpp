#include "convert/TimImage.h"

namespace tim
{

uint16_t read16(const std::vector<uint8_t>& bytes, std::size_t offset)
{
    return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

uint32_t read32(const std::vector<uint8_t>& bytes, std::size_t offset)
{
    return static_cast<uint32_t>(read16(bytes, offset)) | static_cast<uint32_t>(read16(bytes, offset + 2)) << 16;
}

void write16(std::vector<uint8_t>& bytes, std::size_t offset, uint16_t value)
{
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

std::optional<Layout> parse(const std::vector<uint8_t>& image)
{
    if (image.size() < kFirstBlock + kBlockHeaderBytes)
        return std::nullopt;
    Layout layout;
    layout.flags = read32(image, kFlagsOffset);
    layout.hasClut = (layout.flags & kFlagHasClut) != 0;
    std::size_t pixelBlock = kFirstBlock;
    if (layout.hasClut)
    {
        layout.clutBlock = kFirstBlock;
        layout.clutLength = read32(image, kFirstBlock);
        if (layout.clutLength < kBlockHeaderBytes || layout.clutLength > image.size() - kFirstBlock)
            return std::nullopt;
        pixelBlock += layout.clutLength;
    }
    if (image.size() - pixelBlock < kBlockHeaderBytes)
        return std::nullopt;
    layout.pixelBlock = pixelBlock;
    layout.pixelWidth = read16(image, pixelBlock + kBlockW);
    layout.pixelHeight = read16(image, pixelBlock + kBlockH);
    return layout;
}

} // namespace tim
