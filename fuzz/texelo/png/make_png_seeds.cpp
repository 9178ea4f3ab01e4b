// make_png_seeds OUTDIR: writes the seed corpus of png_decoder_fuzz.
//
// Small pictures made by our own PNG writer: every colour type at every bit
// depth it allows, plain and interlaced, palettes with and without tRNS,
// colour keys, and a few refused files so the fuzzer starts from every
// refusal as well. The output is deterministic.
#include "PngWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace
{

namespace fs = std::filesystem;
using namespace pngwriter;

constexpr int kWidth = 13; // odd, so that packed rows end inside a byte
constexpr int kHeight = 9; // tall enough for every interlace pass

PngImage picture(int colourType, int bitDepth, bool interlaced)
{
    const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    const int top = colourType == 3 ? 11 : (1 << bitDepth) - 1; // the palette has 12 entries
    PngImage png{.width = kWidth,
                 .height = kHeight,
                 .colourType = colourType,
                 .bitDepth = bitDepth,
                 .interlaced = interlaced};
    for (int i = 0; i < kWidth * kHeight * channels; ++i)
        png.samples.push_back(static_cast<uint16_t>((i * 7919) % (top + 1)));
    if (colourType == 3)
        for (int k = 0; k < 12; ++k)
            png.palette.push_back({static_cast<uint8_t>(k * 20), static_cast<uint8_t>(255 - k * 9), 60});
    return png;
}

bool write(const fs::path& folder, const std::string& name, const Bytes& bytes)
{
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!bytes.empty() && out.good())
        return true;
    std::fprintf(stderr, "make_png_seeds: cannot write %s\n", (folder / name).c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_png_seeds OUTDIR\n");
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
    {
        std::fprintf(stderr, "make_png_seeds: cannot create %s\n", folder.c_str());
        return 1;
    }

    const std::pair<int, std::vector<int>> kinds[] = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    bool ok = true;
    for (const bool interlaced : {false, true})
        for (const auto& [colourType, depths] : kinds)
            for (const int depth : depths)
                ok &= write(folder,
                            "type" + std::to_string(colourType) + "_" + std::to_string(depth) +
                                (interlaced ? "_adam7.png" : ".png"),
                            encodePng(picture(colourType, depth, interlaced)));

    PngImage keyed = picture(3, 8, false);
    keyed.transparent = {0, 128, 255};
    ok &= write(folder, "palette_trns.png", encodePng(keyed));
    PngImage greyKey = picture(0, 16, false);
    greyKey.transparent = {5};
    ok &= write(folder, "grey_key.png", encodePng(greyKey));
    PngImage rgbKey = picture(2, 8, true);
    rgbKey.transparent = {1, 2, 3};
    ok &= write(folder, "rgb_key.png", encodePng(rgbKey));

    // Refusals: cut inside the pixel data, a damaged header checksum, a
    // picture wider than the decoder takes.
    Bytes cut = encodePng(picture(6, 8, false));
    cut.resize(cut.size() - 30);
    ok &= write(folder, "cut.png", cut);
    Bytes badCrc = encodePng(picture(2, 8, false));
    badCrc[29] ^= 0xFF;
    ok &= write(folder, "bad_crc.png", badCrc);
    PngImage wide{.width = 5000, .height = 1, .colourType = 0, .bitDepth = 1};
    wide.samples.assign(5000, 1);
    ok &= write(folder, "too_wide.png", encodePng(wide));
    return ok ? 0 : 1;
}
