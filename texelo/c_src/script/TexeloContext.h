#pragma once

#include "report/TexeloReporter.h"
#include "vram/TextureRecord.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Transparency modes a script can give a texture; None leaves the record
// without a mode.
enum class SemiTransModeValue : int8_t
{
    None = -1,
    Trans = 0,
    Alpha = 1,
    Sub = 2,
};

enum class RemapModeValue : uint32_t
{
    Off = 0,
    Across = 1, // remapped CLUTs side by side in one row
    Down = 2,   // one remapped CLUT per row
};

// The options a script sets; they stay in force until changed or, for the
// per-bank ones, until FIT.
struct ScriptState
{
    std::string TexturePath;
    std::string OutputPath = "./";
    std::string BankName;
    std::string PaletteDir;
    uint32_t PaletteCount = 0;
    uint32_t RemapMode = 0; // RemapModeValue
    uint32_t DuplicateCount = 0;
    int8_t SemiTransMode = 0; // SemiTransModeValue
    uint8_t PaletteOnly = 0;
    uint8_t HomeAway = 0;
    uint8_t TileFlag = 0;
    uint16_t ClutSize8 = 256;
    uint16_t IndexOffset = 0;
    uint8_t MatchCluts = 1;
    uint8_t SortTextures = 1;
    int16_t EdgeClear = 0;
    uint8_t SeparateCluts = 0;
    uint8_t BankSeparateCluts = 0;
    uint8_t MessagesOn = 0;
};

// Where the cell lines of a layout script put textures and CLUTs; set when
// the script opens and never reset by FIT.
struct LayoutState
{
    uint16_t cellXBase = 0;
    uint16_t cellYBase = 0;
    uint16_t clutColumn = 0;
    uint16_t clutRow = 255;
};

// One distinct colour of the current image after channel reduction.
struct UniqueColour
{
    uint8_t r = 0, g = 0, b = 0, a = 0;
    uint32_t FirstPixel = 0; // index of the first pixel with this colour
};

using TextureList = std::vector<std::unique_ptr<TextureRecord>>;

inline constexpr std::size_t kVramColumns = 1024;
inline constexpr std::size_t kGroupTableSize = 32;
inline constexpr std::size_t kUniqueColourCapacity = 256;

// Everything one script run works on, owned by the driver and passed down.
struct TexeloContext
{
    explicit TexeloContext(TexeloReporter& reporterSink) : reporter(reporterSink) {}

    TexeloReporter& reporter;
    ScriptState state;
    LayoutState layout;

    TextureList PendingList; // the bank being built, in load order until sorted
    TextureList ShownList;   // the last bank written
    uint32_t TextureCount = 0;
    // The bank's records in load order, made just before placement.
    std::optional<std::vector<TextureRecord*>> OriginalList;
    TextureRecord* lastLoaded = nullptr; // the record the last LoadTexture made

    std::array<uint16_t, kVramColumns> Skyline{};
    std::array<uint8_t, kGroupTableSize> GroupWidths{};
    uint16_t ClutRow = 0;

    std::vector<uint8_t> PsxSpriteData;          // the current texture as a TIM image
    std::vector<UniqueColour> UniqueColourTable; // first 256 kept; the count is exact
    uint32_t UniqueColourCount = 0;
    int TargetDepth = 4;
    int FallbackDepth = 8;
};
