#pragma once

// Inputs for runs of texelo and tbkinfo.

#include "PngWriter.h"
#include "ProgramRun.h"
#include "TempFolder.h"
#include "TgaWriter.h"

#include <string>
#include <vector>

// Colour k of the generated textures in 5-bit channels, colour 0 black. Every
// pair of colours differs.
inline tgawriter::Rgba psxColour(int k)
{
    return k == 0 ? tgawriter::Rgba{0, 0, 0, 255}
                  : tgawriter::Rgba{static_cast<uint8_t>(k % 32), static_cast<uint8_t>(k / 32 % 32),
                                    static_cast<uint8_t>(k * 5 % 32), 255};
}

// A 24-bit Targa file whose pixel p is colour (p % colours), each channel
// stored 3 below its 8-bit place: only rounding to nearest gives the 5-bit
// value back.
inline Bytes texture(int width, int height, int colours)
{
    const auto stored = [](uint8_t c5) { return static_cast<uint8_t>(c5 == 0 ? 0 : c5 * 8 - 3); };
    std::vector<tgawriter::Rgba> pixels;
    for (int p = 0; p < width * height; ++p)
    {
        const tgawriter::Rgba c = psxColour(p % colours);
        pixels.push_back({stored(c.r), stored(c.g), stored(c.b), 255});
    }
    return tgawriter::encodeTga(tgawriter::fromColours(width, height, pixels, 24));
}

inline RunOptions within(const std::string& folder, rlim_t fileSizeLimit = RLIM_INFINITY)
{
    RunOptions options;
    options.workingFolder = folder;
    options.fileSizeLimit = fileSizeLimit;
    return options;
}

inline ProgramRun texelo(std::vector<std::string> args, const std::string& folder,
                         rlim_t fileSizeLimit = RLIM_INFINITY)
{
    args.insert(args.begin(), TEXELO_EXECUTABLE);
    return runProgram(args, within(folder, fileSizeLimit));
}
