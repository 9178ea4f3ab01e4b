#pragma once

// What a bank written holds, texture by texture, for the run's report: where
// each texture and its CLUT landed, in the terms a game programmer needs.

#include "vram/TextureRecord.h"

#include <optional>
#include <string>
#include <vector>

struct PlacedClut
{
    uint16_t dx = 0, dy = 0; // as the bank stores them: in the page group, or in the separate area
    uint16_t width = 0;      // entries of a row
    uint16_t rows = 0;
    bool separate = false; // in the separate CLUT area
    int vramX = 0, vramY = 0;
    std::optional<uint32_t> sharedWith; // Id of the texture whose CLUT it uses
};

struct PlacedTexture
{
    uint32_t id = 0;
    std::string name;   // as the script wrote it
    std::string source; // the file read
    unsigned line = 0;
    uint32_t colours = 0;
    int depth = 4; // bits a texel
    uint8_t group = 0;
    uint16_t dx = 0, dy = 0; // in its page group, as the bank stores them
    uint16_t widthWords = 0, widthPixels = 0, height = 0;
    int vramX = 0, vramY = 0; // where it was placed
    std::optional<PlacedClut> clut;
    int semiTransparency = -1; // -1 none, 0 TRANS, 1 ALPHA, 2 SUB
    bool paletteOnly = false;
    bool tiled = false;
};

struct BankSummary
{
    std::string file;
    unsigned line = 0;                   // its FIT line
    uint64_t imageWords = 0;             // of VRAM its images cover
    uint64_t clutWords = 0;              // and its CLUTs, a shared one once
    std::vector<PlacedTexture> textures; // in Id order
};

// The summary of a bank as written to `file`: the records the file holds, in
// load order.
[[nodiscard]] BankSummary summariseBank(const TextureBank& bank, bool separateCluts, std::string file,
                                        unsigned line);
