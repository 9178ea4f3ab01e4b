#pragma once

#include "image/PixelFormat.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

// Pixel memory that Bitmaps share: Pitch x Height bytes, row 0 first, read
// and written through Format. RefCount is the number of Bitmaps using it.
struct PixelStore
{
    struct FreeDeleter
    {
        void operator()(uint8_t* bytes) const { std::free(bytes); }
    };

    // A store of `pitch` bytes a row (0: computed from the width) holding a
    // copy of `source` (Pitch x Height bytes), or zeros when it is null. Null
    // when the format is missing, the size is beyond memory, or memory runs
    // out.
    [[nodiscard]] static std::unique_ptr<PixelStore> Create(uint32_t width, uint32_t height,
                                                            std::unique_ptr<PixelFormat> format,
                                                            uint32_t pitch, const uint8_t* source);

    int32_t RefCount = 1;
    std::unique_ptr<uint8_t, FreeDeleter> Data; // null when the picture has no bytes
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t Pitch = 0;
    std::unique_ptr<PixelFormat> Format;
};

// Bytes a row takes at `bitsPerPixel`, rounded up to a multiple of 4; 0 when
// that does not fit in 32 bits.
[[nodiscard]] uint32_t ComputePitch(uint32_t width, int32_t bitsPerPixel);

// A handle to a PixelStore, or to none. Copies share the store; the first
// request for writable memory gives a Bitmap whose store is shared a private
// copy (copy-on-write). Without a store every read accessor gives 0 or null.
class Bitmap
{
public:
    Bitmap() = default;
    // A zero-filled picture that owns `format`; without a store when the
    // format is null or memory runs out.
    Bitmap(uint32_t width, uint32_t height, std::unique_ptr<PixelFormat> format);
    Bitmap(const Bitmap& other);
    Bitmap& operator=(const Bitmap& other);
    virtual ~Bitmap();

    [[nodiscard]] bool HasStore() const { return m_pStore != nullptr; }
    [[nodiscard]] int32_t RefCount() const { return m_pStore ? m_pStore->RefCount : 0; }

    [[nodiscard]] uint32_t Width() const { return m_pStore ? m_pStore->Width : 0; }
    [[nodiscard]] uint32_t Height() const { return m_pStore ? m_pStore->Height : 0; }
    [[nodiscard]] uint32_t Pitch() const { return m_pStore ? m_pStore->Pitch : 0; }
    [[nodiscard]] const PixelFormat* Format() const { return m_pStore ? m_pStore->Format.get() : nullptr; }
    [[nodiscard]] int32_t BitsPerPixel() const { return m_pStore ? m_pStore->Format->BitsPerPixel() : 0; }
    [[nodiscard]] const uint8_t* Data() const { return m_pStore ? m_pStore->Data.get() : nullptr; }
    // Null as well for a pixel outside the picture.
    [[nodiscard]] const uint8_t* PixelAddress(uint32_t x, uint32_t y) const;

    // As Data and PixelAddress, after making the store private; null when
    // there is no store or the private copy cannot be made.
    [[nodiscard]] uint8_t* WritableData();
    [[nodiscard]] uint8_t* WritablePixelAddress(uint32_t x, uint32_t y);

private:
    [[nodiscard]] bool makeStorePrivate();
    // The pixel's address in the store's bytes `data`; null outside the picture.
    [[nodiscard]] uint8_t* addressIn(uint8_t* data, uint32_t x, uint32_t y) const;
    void release();

    PixelStore* m_pStore = nullptr; // owned together with the other Bitmaps counted in RefCount
};
