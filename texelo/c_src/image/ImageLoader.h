#pragma once

#include "image/Bitmap.h"
#include "image/PixelFormat.h"

#include <cstdint>
#include <memory>

inline constexpr int kDecodeSucceeded = 0;
inline constexpr int kDecodeFailed = 1;

// A source of one image that decodes into a Bitmap of its size.
class ImageLoader
{
public:
    ImageLoader() = default;
    ImageLoader(const ImageLoader&) = delete;
    ImageLoader& operator=(const ImageLoader&) = delete;
    virtual ~ImageLoader() = default;

    [[nodiscard]] virtual uint16_t Width() const = 0;
    [[nodiscard]] virtual uint16_t Height() const = 0;
    // The loader's own format, owned by the loader; null when it has none.
    [[nodiscard]] virtual const PixelFormat* Format() const = 0;
    // Fills `bitmap`, which has the loader's size: kDecodeSucceeded or
    // kDecodeFailed.
    [[nodiscard]] virtual int Decode(Bitmap& bitmap) = 0;
};

// A Bitmap of the loader's size in the format `formatId` (0: a clone of the
// loader's own format), filled by the loader's Decode, whose result goes to
// `decodeResult` when given. Null only when memory runs out; a Bitmap
// without a store when there is no format to build it in. The loader stays
// with the caller.
[[nodiscard]] std::unique_ptr<Bitmap> CreateBitmapFromLoader(ImageLoader& loader, int32_t formatId,
                                                             int* decodeResult = nullptr);
