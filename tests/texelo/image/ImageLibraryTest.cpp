// The image library's Targa loader where it differs from the texture
// decoder: it keeps the stored indices and the file's row order, its palette
// is the colour map from the first stored entry on, and it decodes nothing
// but 8-bit colour-mapped files. The backdrop tests cover the rest.
#include "TempFolder.h"
#include "TgaWriter.h"
#include "image/IndexedPixelFormat.h"
#include "image/Palette.h"
#include "image/TgaImageLoader.h"

#include <gtest/gtest.h>

namespace
{

using tgawriter::encodeTga;

TEST(TgaImageLoader, KeepsIndicesRowOrderAndTheMapAsPalette)
{
    TempFolder folder;
    RunFiles files;
    tgawriter::TgaImage tga = tgawriter::indexedImage(3, 2, {1, 2, 2, 0, 0, 3},
                                                      {{8, 16, 24, 0}, {248, 0, 0, 0}, {0, 248, 0, 0}}, 16);
    tga.colourMap->first = 7;
    tga.rle = true;
    folder.write("art/pic.tga", encodeTga(tga));
    folder.write("art/colour.tga", encodeTga(tgawriter::fromColours(1, 1, {{1, 2, 3, 0}}, 24)));
    folder.write("art/stub.tga", Bytes(17, 0));

    const std::unique_ptr<TgaImageLoader> loader = LoadTgaImage(files, folder.path() + "\\ART\\PIC.TGA");
    ASSERT_NE(loader, nullptr);
    int result = kDecodeFailed;
    const std::unique_ptr<Bitmap> bitmap = CreateBitmapFromLoader(*loader, 0, &result);
    ASSERT_EQ(result, kDecodeSucceeded);
    std::vector<uint8_t> stored;
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 3; ++x)
            stored.push_back(*bitmap->PixelAddress(x, y));
    EXPECT_EQ(stored, (std::vector<uint8_t>{0, 0, 3, 1, 2, 2})) << "the bottom row comes first, as stored";
    const Palette& palette = *static_cast<const IndexedPixelFormat*>(bitmap->Format())->GetPalette();
    EXPECT_EQ(palette.Count(), 256);
    const std::vector<uint32_t> colours = {palette.GetColour(0), palette.GetColour(1), palette.GetColour(2),
                                           palette.GetColour(3), palette.GetColour(255)};
    EXPECT_EQ(colours, (std::vector<uint32_t>{0x081018, 0xF80000, 0x00F800, 0, 0}));

    const std::unique_ptr<TgaImageLoader> trueColour = LoadTgaImage(files, folder.path() + "/art/colour.tga");
    ASSERT_NE(trueColour, nullptr);
    EXPECT_NE(CreateBitmapFromLoader(*trueColour, 0, &result), nullptr);
    EXPECT_EQ(result, kDecodeFailed);
    EXPECT_EQ(LoadTgaImage(files, folder.path() + "/art/stub.tga"), nullptr);
    EXPECT_EQ(LoadTgaImage(files, folder.path() + "/art/none.tga"), nullptr);
}

} // namespace
