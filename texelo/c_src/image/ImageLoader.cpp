#include "image/ImageLoader.h"

#include "image/CreatePixelFormat.h"
#include "image/Memory.h"

std::unique_ptr<Bitmap> CreateBitmapFromLoader(ImageLoader& loader, int32_t formatId, int* decodeResult)
{
    std::unique_ptr<PixelFormat> format;
    if (formatId != 0)
        format = CreatePixelFormat(formatId);
    else if (const PixelFormat* own = loader.Format())
    {
        format = own->Clone();
        if (!format)
            return nullptr;
    }
    const bool hasFormat = format != nullptr;
    std::unique_ptr<Bitmap> bitmap =
        makeUniqueOrNull<Bitmap>(loader.Width(), loader.Height(), std::move(format));
    if (!bitmap || (hasFormat && !bitmap->HasStore()))
        return nullptr;
    const int result = loader.Decode(*bitmap);
    if (decodeResult != nullptr)
        *decodeResult = result;
    return bitmap;
}
