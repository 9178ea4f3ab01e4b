// make_tga_seeds OUTDIR: writes the seed corpus of tga_decoder_fuzz.
//
// Small images made by our own Targa writer: every depth, plain and
// run-length, colour maps of every entry size, ID bytes, both row orders,
// and a few refused files so the fuzzer starts from every refusal as well.
// The output is deterministic.
#include "TgaWriter.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace
{

namespace fs = std::filesystem;
using namespace tgawriter;

constexpr int kWidth = 20; // wider than one raw packet of mixed pixels, small enough to mutate fast
constexpr int kHeight = 6;

std::vector<Rgba> picture()
{
    std::vector<Rgba> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(x < 8 ? Rgba{200, 40, 40, 255}
                                   : Rgba{static_cast<uint8_t>(x * 12), static_cast<uint8_t>(y * 40),
                                          static_cast<uint8_t>(x ^ y), static_cast<uint8_t>(x * y)});
    return pixels;
}

std::vector<uint8_t> indices()
{
    std::vector<uint8_t> values;
    for (int i = 0; i < kWidth * kHeight; ++i)
        values.push_back(static_cast<uint8_t>(i % 17 < 6 ? 3 : i % 12));
    return values;
}

std::vector<Rgba> palette()
{
    std::vector<Rgba> colours;
    for (int i = 0; i < 10; ++i) // fewer entries than indices: some fall outside the map
        colours.push_back({static_cast<uint8_t>(i * 25), static_cast<uint8_t>(255 - i * 20), 77,
                           static_cast<uint8_t>(i * 9)});
    return colours;
}

bool write(const fs::path& folder, const std::string& name, const Bytes& bytes)
{
    if (writeTgaFile((folder / name).string(), bytes))
        return true;
    std::fprintf(stderr, "make_tga_seeds: cannot write %s\n", (folder / name).c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_tga_seeds OUTDIR\n");
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
    {
        std::fprintf(stderr, "make_tga_seeds: cannot create %s\n", folder.c_str());
        return 1;
    }

    bool ok = true;
    for (bool rle : {false, true})
    {
        const std::string kind = rle ? "rle" : "plain";
        for (uint8_t depth : {15, 16, 24, 32})
        {
            TgaImage tga = fromColours(kWidth, kHeight, picture(), depth);
            tga.rle = rle;
            tga.topDown = depth == 16;
            ok &= write(folder, kind + "_direct" + std::to_string(depth) + ".tga", encodeTga(tga));
        }
        for (uint8_t entryBits : {15, 16, 24, 32})
        {
            TgaImage tga = indexedImage(kWidth, kHeight, indices(), palette(), entryBits);
            tga.rle = rle;
            tga.colourMap->first = entryBits == 24 ? 2 : 0;
            tga.id = {'s', 'e', 'e', 'd'};
            ok &= write(folder, kind + "_mapped" + std::to_string(entryBits) + ".tga", encodeTga(tga));
        }
        TgaImage grey{.width = 4, .height = 2, .depth = 8, .values = {1, 1, 1, 2, 3, 3, 4, 5}, .rle = rle};
        ok &= write(folder, kind + "_grey.tga", encodeTga(grey));
    }

    // Refusals: odd depth, undecodable map entries, a packet past the row end, an empty image.
    TgaImage oddDepth = fromColours(2, 2, {{}, {}, {}, {}}, 24);
    oddDepth.depth = 12;
    ok &= write(folder, "bad_depth.tga", encodeTga(oddDepth));
    TgaImage oddMap = indexedImage(2, 1, {0, 1}, {{}, {}}, 24);
    oddMap.colourMap->entryBits = 12;
    ok &= write(folder, "bad_map_entry.tga", encodeTga(oddMap));
    TgaImage crossing{.width = 3, .height = 1, .depth = 24, .rle = true};
    crossing.pixelData = Bytes{0x83, 1, 2, 3};
    ok &= write(folder, "bad_packet.tga", encodeTga(crossing));
    ok &= write(folder, "empty.tga", encodeTga(TgaImage{}));
    return ok ? 0 : 1;
}
