#pragma once

#include "convert/TimImage.h"
#include "vram/VramGeometry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
    // The converted texture; none for a NULL placeholder. Held apart, so that
    // placement's many walks over the records stay in cache.
    std::unique_ptr<TimImage> TimData;
    uint32_t Id = 0;         // number within the bank, counted from 0
    uint32_t TimSize = 0;    // bytes of TimData as a TIM image
    std::string Name;        // file name as loaded, ".tga" appended when missing
    unsigned ScriptLine = 0; // the script line that loaded it
    std::string NameAsWritten; // as the script line gave it
    std::string SourcePath;    // the file it was read from
    uint32_t ColourCount = 0;  // distinct colours after reduction to 5 bits a channel
    uint8_t Kind = 0;        // TimKind
    uint8_t SemiTrans = 0;   // 0, or 0x80 | transparency mode
    uint16_t Width = 0;      // VRAM words
    uint16_t Height = 0;     // lines
    uint16_t PixelWidth = 0; // texels
    uint16_t X = 0, Y = 0;   // inside the page group
    uint16_t GroupX = 0, GroupY = 0;
    uint8_t HasClut = 0;
    uint16_t ClutWidth = 0;     // entries per CLUT row, a multiple of 16
    uint16_t ClutExtraRows = 0; // CLUT rows minus 1
    std::vector<uint16_t> ClutData;
    uint16_t ClutX = 0, ClutY = 0; // in the page group, or in the separate CLUT area
    // The VRAM origin ClutX, ClutY count from: the group's, or the area's.
    uint16_t ClutGroupX = 0, ClutGroupY = 0;
    uint8_t ClutCopies = 0; // CLUTs made by remapping or duplication; 0 for one
    std::optional<uint32_t> ClutSharedWith; // Id of the texture whose identical CLUT it uses
    uint8_t Group = 0;      // page group from 1; 0 = not placed
    uint8_t Tiled = 0;
    uint8_t PaletteOnly = 0;
    uint8_t HomeAway = 0; // HomeAwayKind
};

using TextureList = std::vector<std::unique_ptr<TextureRecord>>;

inline constexpr std::size_t kGroupTableSize = 32;
using GroupWidthTable = std::array<uint8_t, kGroupTableSize>; // page columns of each group, 0 after the last

// The bank being built: its records, and what placement decided for them.
struct TextureBank
{
    TextureList PendingList;   // in load order until sorted
    uint32_t TextureCount = 0; // texture files opened for the bank; gives each record its Id
    // The bank's records in load order, made just before placement.
    std::optional<std::vector<TextureRecord*>> OriginalList;
    GroupWidthTable GroupWidths{};
    uint16_t ClutRow = 0; // last row of the separate CLUT area in use
};

// The per-bank options the script set before FIT.
struct BankOptions
{
    std::string BankName;
    bool MatchCluts = true;
    bool SortTextures = true;
    int EdgeClear = 0;              // columns kept free at a group's right edge
    bool BankSeparateCluts = false; // CLUTs in their own area instead of beside the images
};
