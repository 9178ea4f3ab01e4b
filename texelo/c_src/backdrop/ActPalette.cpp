#include "backdrop/ActPalette.h"

#include "image/Memory.h"
#include "files/PathLookup.h"
#include "report/TexeloAssert.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace
{
constexpr std::size_t kActBytes = kActColours * 3;

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
} // namespace

bool ReadAct16(RunFiles& files, std::string_view path, Act16Palette& palette)
{
    std::unique_ptr<std::FILE, FileCloser> file(files.openForReading(path, "rb"));
    if (!file)
        return false;
    const MemBuffer t_pData = AllocateBuffer(kActBytes);
    TEXELO_ASSERT(t_pData != nullptr, "t_pData", kUtilsModule);
    std::memset(t_pData.get(), 0, kActBytes);
    // A short file leaves the rest of the triplets 0.
    static_cast<void>(std::fread(t_pData.get(), 1, kActBytes, file.get()));
    for (std::size_t i = 0; i < kActColours; ++i)
    {
        const uint8_t* rgb = t_pData.get() + i * 3;
        palette[i] = actColour(rgb[0], rgb[1], rgb[2]);
    }
    return true;
}
