// Writes the batch level: 500 Targa files of 96 x 88 true-colour pixels
// (12.7 MB) in FOLDER/tex and FOLDER/level.fit, which makes 477 banks of one
// texture each, B000.TBK to B476.TBK in the working folder. Two more scripts
// make the same banks when run in FOLDER/tex: FOLDER/beside.fit writes them
// there, beside the textures, and FOLDER/apart.fit into FOLDER. (Bank names
// are upper-cased and used as written, so ".." names the other folder.)
//   make_batch_level FOLDER
#include "TgaWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
constexpr int kTextures = 500;
constexpr int kBanks = 477;
constexpr int kWidth = 96;
constexpr int kHeight = 88;
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs("usage: make_batch_level FOLDER\n", stderr);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder / "tex", error);
    std::ofstream script(folder / "level.fit");
    std::ofstream beside(folder / "beside.fit");
    std::ofstream apart(folder / "apart.fit");
    script << "PATH:TEX\\\n";
    char name[16];
    for (int i = 0; i < kTextures; ++i)
    {
        // Twelve colours in bands, shifted per texture: a 4-bit texture each.
        std::vector<tgawriter::Rgba> pixels;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                const int band = (x / 8 + y / 8 + i) % 12;
                pixels.push_back(
                    {static_cast<uint8_t>(band * 20), static_cast<uint8_t>(i % 32 * 8), 90, 255});
            }
        std::snprintf(name, sizeof name, "t%03d.tga", i);
        if (!tgawriter::writeTgaFile(
                (folder / "tex" / name).string(),
                tgawriter::encodeTga(tgawriter::fromColours(kWidth, kHeight, pixels, 24))))
        {
            std::fprintf(stderr, "make_batch_level: cannot write %s\n", name);
            return 1;
        }
        if (i < kBanks)
        {
            const std::string number(name + 1, 3);
            script << "T" << (name + 1) << "\nFIT: B" << number << "\n";
            beside << "T" << (name + 1) << "\nFIT: B" << number << "\n";
            apart << "T" << (name + 1) << "\nFIT: ..\\B" << number << "\n";
        }
    }
    script.close();
    beside.close();
    apart.close();
    return script && beside && apart ? 0 : 1;
}
