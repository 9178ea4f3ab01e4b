#pragma once

#include "vram/TextureRecord.h"

#include <optional>
#include <vector>

// Why a texture was refused where it was last tried.
enum class Refusal : uint8_t
{
    None = 0,
    NoGroup,      // the band had no room left to open a page group for it
    Tile,         // a tiled texture could not be aligned there
    GroupEdge,    // it would reach past its group's right edge (or the kept edge column)
    PageCrossing, // it would cross more page columns than its depth allows
    Height,       // its image would reach into the CLUTs or past the band
    Flatness,     // the columns below it are not level
    Clut,         // its CLUT found no place
};

// Something placement has to say, in the order it happened.
struct PlacementNote
{
    enum class Kind : uint8_t
    {
        TiledTexture, // a tiled texture was placed
        ClutTooWide,  // a CLUT wider than the separate CLUT area
    };
    Kind kind;
    const TextureRecord* record;
};

// The texture that found no place: the first of the bank's unplaced ones in
// placement order, how it was refused (Clut when its CLUT ever was), and
// where in VRAM it was first refused.
struct PlacementFailure
{
    const TextureRecord* record = nullptr;
    Refusal refusal = Refusal::None;
    int x = 0; // VRAM words
    int y = 0; // VRAM lines
};

// What placement did. Every placed record holds its place in its fields.
struct PlacementResult
{
    uint16_t uniqueCluts = 0;
    uint32_t imageWords = 0; // of VRAM covered by the placed images
    uint32_t clutWords = 0;  // and by the CLUTs placed (shared ones once)
    std::vector<PlacementNote> notes;
    std::optional<PlacementFailure> failure; // none when every texture was placed

    [[nodiscard]] bool placed() const { return !failure; }
};

// Gives every record of PendingList a page group and a position in it, and
// its CLUT a place; the result names the texture the two VRAM bands could
// not hold. Groups are strips of whole 64-word page columns, filled left to
// right in the top band (lines 0-255), then the bottom band; inside a group
// each texture drops onto the skyline of the columns below it. Fills the
// bank's GroupWidths and, with separate CLUTs, its ClutRow.
[[nodiscard]] PlacementResult PlaceTextures(TextureBank& bank, const BankOptions& options);
