// make_palette_seeds OUTDIR: writes the seed corpus of palette_reader_fuzz,
// palettes of each format made by the test writers, full, short and odd.
#include "PaletteFileWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace
{

using namespace palettewriter;

bool writeSeed(const std::filesystem::path& folder, const std::string& name,
               const std::vector<uint8_t>& bytes)
{
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_palette_seeds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
    {
        std::fprintf(stderr, "make_palette_seeds: cannot create %s\n", argv[1]);
        return 1;
    }

    const std::vector<Rgb> full = distinctColours();
    const std::vector<Rgb> sixteen = distinctColours(16);
    std::vector<uint8_t> cutRiff = riffPalette(full, 256);
    cutRiff.resize(100);
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> seeds = {
        {"riff_256", riffPalette(full, 256, 0)},
        {"riff_declares_16", riffPalette(sixteen, 16, 1)},
        {"riff_cut", cutRiff},
        {"jasc_256", bytesOf(jascPalette(full, "256"))},
        {"jasc_16", bytesOf(jascPalette(sixteen, "16"))},
        {"jasc_odd_numbers", bytesOf("JASC-PAL\n0100\n256\n300 -1 65537\t7,8;9\n")},
        {"jasc_header_only", bytesOf("JASC-PAL\r\n")},
        {"raw_256", rawPalette(full)},
        {"raw_short", rawPalette(sixteen)},
    };
    bool ok = true;
    for (const auto& [name, bytes] : seeds)
        ok = writeSeed(folder, name, bytes) && ok;
    if (!ok)
        std::fprintf(stderr, "make_palette_seeds: cannot write into %s\n", argv[1]);
    return ok ? 0 : 1;
}
