// make_tga_image_seeds OUTDIR: writes the seed corpus of
// tga_image_loader_fuzz.
//
// Small pictures made by our own Targa writer: colour-mapped with every map
// entry size, plain and run-length, with ID bytes and both row orders, the
// true-colour depths the loader refuses to decode, and a few broken files.
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

constexpr int kWidth = 24; // more than one raw packet's worth of mixed indices, still quick to mutate
constexpr int kHeight = 5;

std::vector<uint8_t> indices()
{
    std::vector<uint8_t> values;
    for (int i = 0; i < kWidth * kHeight; ++i)
        values.push_back(static_cast<uint8_t>(i % 13 < 5 ? 2 : i % 16));
    return values;
}

std::vector<Rgba> palette(int count)
{
    std::vector<Rgba> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back({static_cast<uint8_t>(i * 15), static_cast<uint8_t>(250 - i * 9),
                           static_cast<uint8_t>(i * 31), static_cast<uint8_t>(i * 16)});
    return colours;
}

bool write(const fs::path& folder, const std::string& name, const Bytes& bytes)
{
    if (writeTgaFile((folder / name).string(), bytes))
        return true;
    std::fprintf(stderr, "make_tga_image_seeds: cannot write %s\n", (folder / name).c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_tga_image_seeds OUTDIR\n");
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
    {
        std::fprintf(stderr, "make_tga_image_seeds: cannot create %s\n", folder.c_str());
        return 1;
    }

    bool ok = true;
    for (bool rle : {false, true})
    {
        const std::string kind = rle ? "rle" : "plain";
        for (uint8_t entryBits : {15, 16, 24, 32})
        {
            TgaImage tga = indexedImage(kWidth, kHeight, indices(), palette(16), entryBits);
            tga.rle = rle;
            tga.topDown = entryBits == 24;
            tga.colourMap->first = entryBits == 32 ? 4 : 0;
            tga.id = {'s', 'e', 'e', 'd'};
            ok &= write(folder, kind + "_mapped" + std::to_string(entryBits) + ".tga", encodeTga(tga));
        }
        for (uint8_t depth : {16, 24, 32})
        {
            TgaImage tga = fromColours(4, 2, palette(8), depth);
            tga.rle = rle;
            ok &= write(folder, kind + "_direct" + std::to_string(depth) + ".tga", encodeTga(tga));
        }
    }
    // A map larger than the palette, a grey picture without a map, an
    // unusable entry size, a packet past the row end, and pixels cut short.
    ok &= write(folder, "map300.tga", encodeTga(indexedImage(3, 1, {0, 255, 17}, palette(300), 24)));
    ok &= write(folder, "grey.tga",
                encodeTga(TgaImage{.width = 3, .height = 1, .depth = 8, .values = {1, 2, 3}}));
    TgaImage oddMap = indexedImage(2, 1, {0, 1}, palette(2), 24);
    oddMap.colourMap->entryBits = 12;
    ok &= write(folder, "bad_map_entry.tga", encodeTga(oddMap));
    TgaImage crossing = indexedImage(3, 1, {}, palette(4), 16);
    crossing.rle = true;
    crossing.pixelData = Bytes{0x83, 1};
    ok &= write(folder, "bad_packet.tga", encodeTga(crossing));
    Bytes cut = encodeTga(indexedImage(kWidth, kHeight, indices(), palette(16), 24));
    cut.resize(cut.size() - 7);
    ok &= write(folder, "cut.tga", cut);
    return ok ? 0 : 1;
}
