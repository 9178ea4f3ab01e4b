#pragma once

#include <cstdint>
#include <string>
#include <vector>

// TIM pixel modes, as in the flags word of a TIM image.
enum class TimKind : uint8_t
{
    Indexed4 = 0,
    Indexed8 = 1,
    Direct16 = 2,
    Direct24 = 3, // decoded but refused: the console cannot place it
};

// What a palette-only record stands for; the bank writer tags it.
enum class HomeAwayKind : uint8_t
{
    None = 0,
    Home = 1, // HOMEPAL
    Away = 2, // AWAYPAL
};

// One texture of a bank: its TIM image, its size and position in VRAM units,
// its CLUT (or several copies of it) and the flags the script set for it.
struct TextureRecord
{
    std::vector<uint8_t> TimData; // the TIM image; empty for a NULL placeholder or once written
    uint32_t Id = 0;              // number within the bank, counted from 0
    uint32_t TimSize = 0;
    std::string Name;             // file name as loaded, ".tga" appended when missing
    uint8_t Kind = 0;             // TimKind
    uint8_t SemiTrans = 0;        // 0, or 0x80 | transparency mode
    uint16_t Width = 0;           // VRAM words
    uint16_t Height = 0;          // lines
    uint16_t PixelWidth = 0;      // texels
    uint16_t X = 0, Y = 0;        // inside the page group
    uint16_t GroupX = 0, GroupY = 0;
    uint8_t HasClut = 0;
    uint16_t ClutWidth = 0;       // entries per CLUT row, a multiple of 16
    uint16_t ClutExtraRows = 0;   // CLUT rows minus 1
    std::vector<uint16_t> ClutData;
    uint16_t ClutX = 0, ClutY = 0;
    uint16_t ClutGroupX = 0, ClutGroupY = 0;
    uint8_t ClutCopies = 0;       // CLUTs made by remapping or duplication; 0 for one
    uint8_t Group = 0;            // page group from 1; 0 = not placed
    uint8_t Tiled = 0;
    uint8_t PaletteOnly = 0;
    uint8_t HomeAway = 0;         // HomeAwayKind

    // Drops the image and CLUT data once the bank holds them.
    void releaseData()
    {
        TimData = {};
        ClutData = {};
    }
};
