// Writes small 24-bit Targa textures, each in its own colours:
//   make_textures FOLDER NAME.tga...
#include "TgaWriter.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fputs("usage: make_textures FOLDER NAME.tga...\n", stderr);
        return 2;
    }
    for (int i = 2; i < argc; ++i)
    {
        const auto shade = static_cast<uint8_t>(i * 40);
        const std::vector<tgawriter::Rgba> pixels(64, tgawriter::Rgba{shade, 0, 255, 255});
        if (!tgawriter::writeTgaFile(std::string(argv[1]) + "/" + argv[i],
                                     tgawriter::encodeTga(tgawriter::fromColours(8, 8, pixels, 24))))
        {
            std::fprintf(stderr, "make_textures: cannot write %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
