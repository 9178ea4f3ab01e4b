#pragma once

// The script room owns a script run: the line reader, the options a script
// sets, both dialects, texture loading and the program's entry into a run.

#include "convert/ColourReduction.h"
#include "convert/ColourTable.h"
#include "convert/PaletteSet.h"
#include "files/RunFiles.h"
#include "report/TexeloReporter.h"
#include "vram/BankSummary.h"
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
    // The mode of the last texture line; a palette-only line keeps it.
    int8_t SemiTransMode = 0; // SemiTransModeValue
    uint16_t ClutSize8 = 256; // for the next texture line alone
    ReductionSettings Reduction{};
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
    unsigned linesOfNoForm = 0; // lines that are neither keywords nor cell lines
};

// A texture of the bank shown that found no place: where it was last tried,
// in VRAM words and lines, so the map can outline it.
struct VramOutline
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Everything a texture line asks of its one texture, as values: the loader
// reads no script state for it.
struct TextureRequest
{
    uint8_t TileFlag = 0;
    uint8_t PaletteOnly = 0; // only the CLUT is used
    uint8_t HomeAway = 0;    // HomeAwayKind
    int8_t SemiTransMode = static_cast<int8_t>(SemiTransModeValue::None);
    uint16_t ClutSize8 = 256;
    uint16_t IndexOffset = 0; // added to every 8-bit texel
    ReductionSettings Reduction{};
};

// Everything one script run works on, owned by the entry. The stages below
// the script get from it what they need, never the whole of it.
struct TexeloContext
{
    explicit TexeloContext(TexeloReporter& reporterSink) : reporter(reporterSink) {}

    TexeloReporter& reporter;
    ScriptState state;
    LayoutState layout;
    PaletteSet palettes; // read when a PALETTES line names them
    RunFiles files;      // what the run reads and writes

    TextureBank bank;                        // the bank being built
    TextureList ShownList;                   // the last bank written, or the one that did not fit
    std::optional<VramOutline> ShownFailure; // in the bank that did not fit
    std::string ShownBankName;               // as its FIT line named it
    unsigned FitLines = 0;                   // FIT lines run
    std::vector<BankSummary> WrittenBanks;   // every bank written, for the run's report
    ColourTable colours; // of the image counted last; palette-only textures take theirs from it
    // The second place a texture is looked for, when TexturePath does not
    // hold it.
    std::string TextureFolder = "t:\\Varnok\\Textures\\PSX\\TGAS\\Objects\\Global\\";
    int TargetDepth = 4;
    int FallbackDepth = 8;
};
