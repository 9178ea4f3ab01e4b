#include "backdrop/ActPalette.h"

#include "files/PathLookup.h"
#include "image/Memory.h"
#include "report/TexeloAssert.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr std::size_t kActBytes = kActColours * 3;
} // namespace

bool ReadAct16(RunFiles& files, std::string_view path, Act16Palette& palette)
{
    const std::optional<std::vector<uint8_t>> file = files.readWholeFile(path);
    if (!file)
        return false;
    const MemBuffer t_pData = AllocateBuffer(kActBytes);
    TEXELO_ASSERT(t_pData != nullptr, "t_pData", kUtilsModule);
    std::memset(t_pData.get(), 0, kActBytes);
    // A short file leaves the rest of the triplets 0.
    std::copy_n(file->begin(), std::min(file->size(), kActBytes), t_pData.get());
    for (std::size_t i = 0; i < kActColours; ++i)
    {
        const uint8_t* rgb = t_pData.get() + i * 3;
        palette[i] = actColour(rgb[0], rgb[1], rgb[2]);
    }
    return true;
}
