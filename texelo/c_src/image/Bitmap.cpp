#include "image/Bitmap.h"

#include "image/Memory.h"

#include <cstring>
#include <limits>

namespace
{
constexpr uint64_t kPitchAlignment = 4;
constexpr int32_t kBitsPerByte = 8;
} // namespace

uint32_t ComputePitch(uint32_t width, int32_t bitsPerPixel)
{
    if (bitsPerPixel <= 0)
        return 0;
    const uint64_t bytes =
        (uint64_t{width} * static_cast<uint64_t>(bitsPerPixel) + kBitsPerByte - 1) / kBitsPerByte;
    const uint64_t aligned = (bytes + kPitchAlignment - 1) / kPitchAlignment * kPitchAlignment;
    return aligned > std::numeric_limits<uint32_t>::max() ? 0 : static_cast<uint32_t>(aligned);
}

std::unique_ptr<PixelStore> PixelStore::Create(uint32_t width, uint32_t height,
                                               std::unique_ptr<PixelFormat> format, uint32_t pitch,
                                               const uint8_t* source)
{
    if (!format)
        return nullptr;
    if (pitch == 0)
    {
        pitch = ComputePitch(width, format->BitsPerPixel());
        if (pitch == 0 && width != 0 && format->BitsPerPixel() > 0)
            return nullptr; // a row longer than 32 bits can count
    }
    const uint64_t byteCount = uint64_t{pitch} * height;
    if (byteCount > std::numeric_limits<std::size_t>::max())
        return nullptr;

    std::unique_ptr<PixelStore> store = makeUniqueOrNull<PixelStore>();
    if (!store)
        return nullptr;
    if (byteCount != 0)
    {
        // calloc, so that a large picture costs no time before it is written.
        store->Data.reset(static_cast<uint8_t*>(std::calloc(static_cast<std::size_t>(byteCount), 1)));
        if (!store->Data)
            return nullptr;
        if (source != nullptr)
            std::memcpy(store->Data.get(), source, static_cast<std::size_t>(byteCount));
    }
    store->Width = width;
    store->Height = height;
    store->Pitch = pitch;
    store->Format = std::move(format);
    return store;
}

Bitmap::Bitmap(uint32_t width, uint32_t height, std::unique_ptr<PixelFormat> format)
    : m_pStore(PixelStore::Create(width, height, std::move(format), 0, nullptr).release())
{
}

Bitmap::Bitmap(const Bitmap& other) : m_pStore(other.m_pStore)
{
    if (m_pStore)
        ++m_pStore->RefCount;
}

// The source's count goes up before our own store is released, so assigning
// a Bitmap to itself never frees the store it keeps.
Bitmap& Bitmap::operator=(const Bitmap& other)
{
    PixelStore* incoming = other.m_pStore;
    if (incoming)
        ++incoming->RefCount;
    release();
    m_pStore = incoming;
    return *this;
}

Bitmap::~Bitmap()
{
    release();
}

void Bitmap::release()
{
    if (m_pStore && --m_pStore->RefCount == 0)
        delete m_pStore; // the last handle owns the store
    m_pStore = nullptr;
}

uint8_t* Bitmap::addressIn(uint8_t* data, uint32_t x, uint32_t y) const
{
    if (data == nullptr || x >= m_pStore->Width || y >= m_pStore->Height)
        return nullptr;
    const auto bytesPerPixel = static_cast<std::size_t>(m_pStore->Format->BitsPerPixel() / kBitsPerByte);
    return data + std::size_t{y} * m_pStore->Pitch + x * bytesPerPixel;
}

const uint8_t* Bitmap::PixelAddress(uint32_t x, uint32_t y) const
{
    return m_pStore ? addressIn(m_pStore->Data.get(), x, y) : nullptr;
}

bool Bitmap::makeStorePrivate()
{
    if (!m_pStore)
        return false;
    if (m_pStore->RefCount == 1)
        return true;
    std::unique_ptr<PixelFormat> format = m_pStore->Format->Clone();
    if (!format)
        return false;
    std::unique_ptr<PixelStore> copy = PixelStore::Create(
        m_pStore->Width, m_pStore->Height, std::move(format), m_pStore->Pitch, m_pStore->Data.get());
    if (!copy)
        return false;
    release();
    m_pStore = copy.release();
    return true;
}

uint8_t* Bitmap::WritableData()
{
    return makeStorePrivate() ? m_pStore->Data.get() : nullptr;
}

uint8_t* Bitmap::WritablePixelAddress(uint32_t x, uint32_t y)
{
    return makeStorePrivate() ? addressIn(m_pStore->Data.get(), x, y) : nullptr;
}
