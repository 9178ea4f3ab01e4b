// Bitmaps sharing pixel stores, copy-on-write, the accessors, building a
// Bitmap from a loader, and the checked allocation functions.
#include "image/Bitmap.h"
#include "image/CreatePixelFormat.h"
#include "image/ImageLoader.h"
#include "image/Memory.h"

#include <gtest/gtest.h>

#include <memory>

TEST(Bitmap, RowsArePaddedToAMultipleOfFourBytes)
{
    EXPECT_EQ(Bitmap(3, 2, CreatePixelFormat(30)).Pitch(), 4u);
    EXPECT_EQ(Bitmap(3, 2, CreatePixelFormat(11)).Pitch(), 12u);
    EXPECT_EQ(Bitmap(3, 2, CreatePixelFormat(21)).Pitch(), 8u);
    EXPECT_EQ(Bitmap(4, 2, CreatePixelFormat(1)).Pitch(), 16u);
}

TEST(Bitmap, NewPixelsAreZeroAndAddressedByRowAndColumn)
{
    Bitmap bitmap(3, 2, CreatePixelFormat(11));
    EXPECT_EQ(bitmap.RefCount(), 1);
    EXPECT_EQ(bitmap.BitsPerPixel(), 24);
    for (uint32_t i = 0; i < bitmap.Pitch() * 2; ++i)
        EXPECT_EQ(bitmap.Data()[i], 0);
    EXPECT_EQ(bitmap.PixelAddress(2, 1), bitmap.Data() + 12 + 6);
    EXPECT_EQ(bitmap.PixelAddress(3, 0), nullptr);
    EXPECT_EQ(bitmap.PixelAddress(0, 2), nullptr);
}

TEST(Bitmap, WithoutAStoreEveryAccessorGivesZeroOrNull)
{
    Bitmap none;
    Bitmap noFormat(4, 4, nullptr);
    for (Bitmap* bitmap : {&none, &noFormat})
    {
        EXPECT_FALSE(bitmap->HasStore());
        EXPECT_EQ(bitmap->Width(), 0u);
        EXPECT_EQ(bitmap->Height(), 0u);
        EXPECT_EQ(bitmap->Pitch(), 0u);
        EXPECT_EQ(bitmap->Format(), nullptr);
        EXPECT_EQ(bitmap->BitsPerPixel(), 0);
        EXPECT_EQ(bitmap->Data(), nullptr);
        EXPECT_EQ(bitmap->PixelAddress(0, 0), nullptr);
        EXPECT_EQ(bitmap->WritableData(), nullptr);
        EXPECT_EQ(bitmap->WritablePixelAddress(0, 0), nullptr);
    }
}

TEST(Bitmap, CopiesShareTheStoreAndCountIt)
{
    Bitmap first(2, 2, CreatePixelFormat(30));
    {
        const Bitmap second(first);
        EXPECT_EQ(second.Data(), first.Data());
        EXPECT_EQ(first.RefCount(), 2);
        Bitmap third;
        third = second;
        EXPECT_EQ(first.RefCount(), 3);
    }
    EXPECT_EQ(first.RefCount(), 1);
}

TEST(Bitmap, AssignmentReleasesTheOldStoreAndSelfAssignmentKeepsTheStore)
{
    Bitmap target(2, 2, CreatePixelFormat(30));
    const Bitmap source(5, 1, CreatePixelFormat(1));
    target = source;
    EXPECT_EQ(target.Width(), 5u);
    EXPECT_EQ(source.RefCount(), 2);

    Bitmap alone(2, 2, CreatePixelFormat(30));
    alone.WritableData()[0] = 7;
    Bitmap& same = alone;
    alone = same;
    EXPECT_EQ(alone.RefCount(), 1);
    EXPECT_EQ(alone.Data()[0], 7);
}

TEST(Bitmap, WritingToASharedStoreLeavesTheOtherBitmapUnchanged)
{
    Bitmap original(3, 2, CreatePixelFormat(21));
    original.WritablePixelAddress(1, 1)[0] = 0x42;
    Bitmap copy(original);
    const uint8_t* sharedBytes = original.Data();

    uint8_t* pixel = copy.WritablePixelAddress(1, 1);
    ASSERT_NE(pixel, nullptr);
    pixel[0] = 0x99;

    EXPECT_EQ(original.RefCount(), 1);
    EXPECT_EQ(copy.RefCount(), 1);
    EXPECT_EQ(original.Data(), sharedBytes);
    EXPECT_EQ(original.PixelAddress(1, 1)[0], 0x42);
    EXPECT_EQ(copy.PixelAddress(1, 1)[0], 0x99);
    EXPECT_EQ(copy.Pitch(), original.Pitch());
    EXPECT_NE(copy.Format(), original.Format());
    EXPECT_EQ(copy.Format()->FormatId(), 21);
}

namespace
{

// A loader that writes its pixel values as they are and counts its decodes.
class FakeLoader : public ImageLoader
{
public:
    FakeLoader(uint16_t width, uint16_t height, int32_t formatId)
        : m_width(width), m_height(height), m_format(CreatePixelFormat(formatId))
    {
    }
    [[nodiscard]] uint16_t Width() const override { return m_width; }
    [[nodiscard]] uint16_t Height() const override { return m_height; }
    [[nodiscard]] const PixelFormat* Format() const override { return m_format.get(); }
    [[nodiscard]] int Decode(Bitmap& bitmap) override
    {
        ++decodes;
        if (bitmap.WritableData() == nullptr)
            return kDecodeFailed;
        bitmap.WritableData()[0] = 0x5A;
        return result;
    }

    int decodes = 0;
    int result = kDecodeSucceeded;

private:
    uint16_t m_width;
    uint16_t m_height;
    std::unique_ptr<PixelFormat> m_format;
};

} // namespace

TEST(CreateBitmapFromLoader, ClonesTheLoadersFormatOrBuildsTheOneAskedFor)
{
    FakeLoader loader(3, 2, 30);
    const std::unique_ptr<Bitmap> own = CreateBitmapFromLoader(loader, 0);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->Width(), 3u);
    EXPECT_EQ(own->Height(), 2u);
    EXPECT_EQ(own->Format()->FormatId(), 30);
    EXPECT_NE(own->Format(), loader.Format());
    EXPECT_EQ(own->Data()[0], 0x5A);

    const std::unique_ptr<Bitmap> asked = CreateBitmapFromLoader(loader, 1);
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked->Format()->FormatId(), 1);
    EXPECT_EQ(asked->Pitch(), 12u);
    EXPECT_EQ(loader.decodes, 2);
}

TEST(CreateBitmapFromLoader, PassesTheDecodeResultOnWithoutActingOnIt)
{
    FakeLoader loader(1, 1, 30);
    loader.result = kDecodeFailed;
    int result = kDecodeSucceeded;
    const std::unique_ptr<Bitmap> bitmap = CreateBitmapFromLoader(loader, 0, &result);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(result, kDecodeFailed);

    // No format to build in: a Bitmap without a store, still decoded (and failing).
    FakeLoader noFormat(1, 1, 0);
    const std::unique_ptr<Bitmap> empty = CreateBitmapFromLoader(noFormat, 0, &result);
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->HasStore());
    EXPECT_EQ(result, kDecodeFailed);
}

TEST(MemoryDeathTest, AskingForNoBytesOrFreeingNullStopsNamingTheObligation)
{
    EXPECT_DEATH(static_cast<void>(MemAlloc(0, 0)),
                 "Assertion failed: NumBytes, file c_src/memory, line [0-9]+");
    EXPECT_DEATH(MemFree(0, nullptr), "Assertion failed: pBuffer, file c_src/memory, line [0-9]+");
    void* block = MemAlloc(0, 16);
    EXPECT_NE(block, nullptr);
    MemFree(0, block);
}
