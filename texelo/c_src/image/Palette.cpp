#include "image/Palette.h"

#include "image/Memory.h"

#include <algorithm>

namespace
{
constexpr int32_t kBitsPerByte = 8;
}

Palette::Palette(const uint8_t* source, int32_t count, std::shared_ptr<const PixelFormat> entryFormat)
    : m_Count(std::max(count, 0)),
      m_EntrySize(entryFormat ? std::max(entryFormat->BitsPerPixel(), 0) / kBitsPerByte : 0),
      m_EntryFormat(std::move(entryFormat))
{
    m_Entries.resize(static_cast<std::size_t>(m_Count) * static_cast<std::size_t>(m_EntrySize));
    if (source != nullptr)
        std::copy_n(source, m_Entries.size(), m_Entries.begin());
}

std::unique_ptr<Palette> Palette::Clone() const
{
    return makeUniqueOrNull<Palette>(*this);
}

uint32_t Palette::GetColour(int32_t index) const
{
    if (index < 0 || index >= m_Count || !m_EntryFormat || m_EntrySize == 0)
        return 0;
    return m_EntryFormat->ReadColour(m_Entries.data() + static_cast<std::size_t>(index) * m_EntrySize);
}

uint32_t Palette::FindNearest(uint8_t /*a*/, uint8_t /*r*/, uint8_t /*g*/, uint8_t /*b*/) const
{
    return 0;
}
