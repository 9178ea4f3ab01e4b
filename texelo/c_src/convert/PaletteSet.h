#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "files/RunFiles.h"
#include "report/TexeloReporter.h"

#include <string>

// A palette set gives one indexed texture several colour schemes: each colour
// of the texture's CLUT is found in a reference palette, and the colour at the
// same index of every set palette replaces it, one CLUT per set palette.

inline constexpr std::size_t kPaletteColourCount = 256;
// Red, green, blue (0-255 each) for 256 colours.
inline constexpr std::size_t kPaletteImageSize = kPaletteColourCount * 3;
using PaletteImage = std::array<uint8_t, kPaletteImageSize>;

// Reads a palette file in any of the three formats, decided by content (a
// RIFF palette, a JASC-PAL text palette, otherwise raw triplets), whatever
// its extension. Colours the file does not supply are black. Nothing when
// the file cannot be opened or read.
[[nodiscard]] std::optional<PaletteImage> ReadPaletteFile(RunFiles& files, std::string_view path,
                                                          Presence presence = Presence::Required);

// A palette folder as a PALETTES line names it, read once: the reference
// palette "Default.PAL" (or "Default.ACT"), then "Pal0", "Pal1", ... with the
// reference's extension. Files that could not be read are kept as failures,
// to be reported where a texture needs them.
struct PaletteSet
{
    struct Member
    {
        std::string path;
        std::optional<PaletteImage> colours;
    };
    std::string referencePath;             // the last reference tried
    std::optional<PaletteImage> reference; // without it no set palette is read
    std::vector<Member> palettes;
};

[[nodiscard]] PaletteSet ReadPaletteSet(RunFiles& files, std::string_view folder, uint32_t paletteCount);

// Translates `entryCount` PSX colours of `source` through `reference` into
// the colours of `setPalette` at the same indices, reporting every colour
// without an exact counterpart. Returns the position after the last colour
// written.
uint16_t* MatchColours(TexeloReporter& reporter, const uint16_t* source, uint16_t* destination,
                       int entryCount, const PaletteImage& reference, const PaletteImage& setPalette);

// Writes `paletteCount` CLUTs of `entryCount` colours one after another into
// `destination`, one per palette of the set. A set palette that could not be
// read is reported and skipped, so later CLUTs move up; slots left over (and
// all of them when the reference palette is missing) hold the texture's own
// CLUT. `destination` is grown to at least paletteCount x entryCount entries
// when smaller, never shrunk; entries past the CLUTs are left alone.
// `sourceClut` may point into `destination`.
void RemapToPaletteSet(const PaletteSet& set, uint32_t paletteCount, TexeloReporter& reporter,
                       const uint16_t* sourceClut, std::vector<uint16_t>& destination, int entryCount);
