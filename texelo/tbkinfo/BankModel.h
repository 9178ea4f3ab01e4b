#pragma once

// What a texture bank holds, as plain data: the header, each page group with
// its records, and the placement warnings found while reading. Positions are
// the ones stored in the file (relative to the record's group, or to the
// separate CLUT area); offsets are bytes from the start of the file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tbk
{

enum class RecordForm : uint8_t
{
    Texture = 0,      // an image with at most one CLUT
    Palette = 1,      // a CLUT alone, tagged
    SeveralCluts = 2, // an image whose CLUT block holds more than one CLUT
};

enum class PaletteTag : uint8_t
{
    None = 0, // not a palette record
    Pal = 1,
    HomePal = 2,
    AwayPal = 3,
};

// Image flags bits 0-2.
enum class PixelMode : uint8_t
{
    Indexed4 = 0,
    Indexed8 = 1,
    Direct16 = 2,
};

enum class Transparency : uint8_t
{
    None = 0,
    Trans = 1,
    Alpha = 2,
    Sub = 3,
};

struct PixelArea
{
    uint64_t offset = 0; // of the DX field
    uint16_t dx = 0;
    uint16_t dy = 0;
    uint16_t widthPixels = 0;
    uint16_t widthWords = 0; // VRAM words (16 bits) per line
    uint16_t height = 0;
};

struct ClutArea
{
    uint64_t offset = 0; // of the DX field
    uint16_t dx = 0;
    uint16_t dy = 0;
    uint16_t w = 0;
    uint16_t h = 0;
    uint32_t count = 1;   // CLUTs the block holds for the pixel mode
    uint32_t entries = 0; // colours stored in the file for this area
};

struct BankRecord
{
    uint64_t offset = 0;
    RecordForm form = RecordForm::Texture;
    PaletteTag tag = PaletteTag::None;
    uint32_t id = 0;
    uint32_t size = 0;             // bytes after the Id, without a palette record's tag
    std::optional<PixelMode> mode; // none for a palette record
    Transparency transparency = Transparency::None;
    std::optional<PixelArea> pixels; // none for a palette record
    std::optional<ClutArea> clut;    // none for a 16-bit image
};

struct BankGroup
{
    uint64_t offset = 0;
    uint32_t columns = 0; // 64-word texture-page columns
    uint32_t lines = 0;
    std::vector<BankRecord> records;
};

// Something a reader can still show but that will not load as the bank
// expects, such as an image reaching past its group.
struct BankWarning
{
    uint64_t offset = 0;
    std::string what;
};

struct Bank
{
    uint64_t bytes = 0;
    uint32_t textureTotal = 0;
    uint32_t separateRows = 0;
    std::vector<BankGroup> groups;
    std::vector<BankWarning> warnings;
};

// Where and why a file stops being a bank.
struct BankDamage
{
    uint64_t offset = 0;
    std::string what;
};

[[nodiscard]] uint64_t recordCount(const Bank& bank);
// Texture area (words x lines of every image) over the group's area, in
// tenths of a percent, rounded to nearest.
[[nodiscard]] uint32_t occupancyTenths(const BankGroup& group);

[[nodiscard]] std::string_view formName(RecordForm form);
[[nodiscard]] std::string_view tagName(PaletteTag tag);
[[nodiscard]] std::string_view modeName(PixelMode mode);
[[nodiscard]] std::string_view transparencyName(Transparency transparency);

} // namespace tbk
