// Builds MDF screen-layout files byte by byte from plain descriptions.
//
// This writer is deliberately independent of the Lumarc reader: tests use it
// to construct inputs the reader has never seen, so it shares no code with it.
// All integers are little-endian; bodies follow each other without padding.
// Every size and count in a directory or element table is computed here,
// unless a test overrides it on purpose (declaredSize) to build bad input.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mdfwriter
{

using Bytes = std::vector<uint8_t>;

// Chunk tags that occur in files.
namespace tag
{
inline constexpr std::string_view kStringBank0 = "MDFDSB00";
inline constexpr std::string_view kStringBank1 = "MDFDSB01";
inline constexpr std::string_view kGadgetTable = "MDFTGDG0";
inline constexpr std::string_view kFontTable = "MDFFTAB0";
inline constexpr std::string_view kPrimSet = "MDFSVPI0";
inline constexpr std::string_view kHotspotTable = "MDFTVHS0";
inline constexpr std::string_view kHotspotVector = "MDFVHSP0";
inline constexpr std::string_view kRectTable = "MDFTVRE0";
inline constexpr std::string_view kRectVector = "MDFVREC0";
inline constexpr std::string_view kGadgetOptions = "MDFGPDO0";
inline constexpr std::string_view kFontArray = "MDFLFTA0";
inline constexpr std::string_view kFont = "MDFLFNT0";
// Known to the format but carried by no reader class: always skipped.
inline constexpr std::string_view kUnknownVpbi = "MDFVPBI0";
} // namespace tag

// Primitive type codes (header byte 0). Any other value ends a list.
inline constexpr uint8_t kPrimF4 = 5;  // flat colour, untextured
inline constexpr uint8_t kPrimG4 = 6;  // colour per vertex, untextured
inline constexpr uint8_t kPrimFT4 = 7; // flat colour, textured
inline constexpr uint8_t kPrimGT4 = 8; // colour per vertex, textured

// ---- Fields ----------------------------------------------------------------

void put8(Bytes& out, uint8_t value);   // 1 byte
void put16(Bytes& out, uint16_t value); // 2 bytes LE (pass s16 values cast)
void put32(Bytes& out, uint32_t value); // 4 bytes LE
// Exactly 8 bytes: the first 8 characters, NUL-padded when shorter.
void putTag(Bytes& out, std::string_view tag8);
void putBytes(Bytes& out, const Bytes& bytes); // appended as they are

// ---- Generic containers ----------------------------------------------------

struct Child
{
    std::string tag{};
    Bytes body{};
    uint32_t spare = 0;
    std::optional<uint32_t> declaredSize{}; // replaces body.size() in the directory
};
// u32 N, N x (tag[8], u32 spare, u32 size), then the N bodies in directory order.
[[nodiscard]] Bytes recordBody(const std::vector<Child>& children);

struct Element
{
    Bytes body{};
    uint32_t spare = 0;
    std::optional<uint32_t> declaredSize{}; // replaces body.size() in the table
};
// tag[8], u32 N, N x (u32 spare, u32 size), then the N bodies.
[[nodiscard]] Bytes arrayBody(std::string_view arrayTag, const std::vector<Element>& elements);
// arrayBody with one plain element (spare 0, real size) per body.
[[nodiscard]] Bytes arrayOf(std::string_view arrayTag, const std::vector<Bytes>& bodies);

// ---- Leaves ----------------------------------------------------------------

// Text, one NUL, zero filler up to `size` bytes; size 0 means text length + 1.
// A nonzero size shorter than text + 1 truncates, leaving no NUL (bad input).
[[nodiscard]] Bytes stringBody(std::string_view text, uint32_t size = 0);
// 16 bytes: s16 aux0..aux3, left, top, right, bottom.
[[nodiscard]] Bytes rectBody(int16_t left, int16_t top, int16_t right, int16_t bottom,
                             std::array<int16_t, 4> aux = {});
// 12 bytes: s16 auxX, auxY, posX, posY, u8 flags, u8 code, 2 zero bytes.
[[nodiscard]] Bytes hotspotBody(int16_t posX, int16_t posY, uint8_t flags, uint8_t code = 0, int16_t auxX = 0,
                                int16_t auxY = 0);
// 32 bytes: u32 word, 28 zero bytes.
[[nodiscard]] Bytes optionsBody(uint32_t word);
// 4 bytes: u8 value0, u8 value1, 2 zero bytes.
[[nodiscard]] Bytes fontEntryBody(uint8_t value0, uint8_t value1);

// ---- Primitive lists -------------------------------------------------------

struct Vertex
{
    int16_t x = 0;
    int16_t y = 0;
};
struct Colour
{
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t pad = 0;
};
struct Prim
{
    uint8_t type = kPrimF4;
    uint8_t mode = 0;
    uint8_t cornerBits = 0;
    uint8_t aux = 0;
    uint16_t textureId = 0;  // types 7 and 8 only
    uint16_t textureAux = 0; // types 7 and 8 only
    std::array<Vertex, 4> vertices{};
    std::array<Colour, 4> colours{}; // types 5 and 7 write colours[0] only
};
// Header u8 type, mode, cornerBits, aux; then the body:
//   5: 4 x (s16 x, y), colour                         (20 bytes)
//   6: 4 x (s16 x, y), 4 x colour                     (32 bytes)
//   7: u16 textureId, u16 textureAux, vertices, colour (24 bytes)
//   8: u16 textureId, u16 textureAux, vertices, 4 x colour (36 bytes)
// colour = u8 r, g, b, pad. Any other type writes the header alone.
[[nodiscard]] Bytes primBody(const Prim& prim);

struct PrimList
{
    int16_t offsetX = 0;
    int16_t offsetY = 0;
    std::vector<Prim> prims{};
    uint32_t terminator = 0; // a header whose byte 0 is not 5..8 ends the list
};
// s16 offsetX, s16 offsetY, each primitive (header + body), u32 terminator.
[[nodiscard]] Bytes primListBody(const PrimList& list);
// u32 spare, u32 N, N list bodies back to back (no size table).
[[nodiscard]] Bytes primSetBody(const std::vector<PrimList>& lists, uint32_t spare = 0);

// ---- Whole files -----------------------------------------------------------

struct Rect
{
    int16_t left = 0;
    int16_t top = 0;
    int16_t right = 0;
    int16_t bottom = 0;
    std::array<int16_t, 4> aux{};
};
struct Hotspot
{
    int16_t posX = 0;
    int16_t posY = 0;
    uint8_t flags = 0; // bits 0-1 flagsB, bits 2-3 flagsA, bits 4-7 unused
    uint8_t code = 0;
    int16_t auxX = 0;
    int16_t auxY = 0;
};
struct Gadget
{
    std::string name{};                           // goes to the root's bank 0
    std::vector<std::vector<Rect>> rects{};       // rectangle table of vectors
    std::vector<std::vector<Hotspot>> hotspots{}; // hotspot table of vectors
    std::vector<PrimList> primLists{};
    std::optional<uint32_t> options{}; // no options chunk when empty
};
struct FontEntry
{
    uint8_t value0 = 0;
    uint8_t value1 = 0;
};
struct Layout
{
    std::vector<Gadget> gadgets{};
    std::vector<std::string> strings1{};         // the root's string bank 1
    std::vector<std::vector<FontEntry>> fonts{}; // in the font table
    // Written into the root directory right after the names bank, so known
    // chunks come both before and after them.
    std::vector<Child> extraRootChunks{};
};

// Gadget record children in this order: "MDFSVPI0", "MDFTVHS0", "MDFTVRE0",
// then "MDFGPDO0" when options are set. Empty tables are written with count 0.
[[nodiscard]] std::vector<Child> gadgetChildren(const Gadget& gadget);
// Root children: "MDFDSB00" (gadget names by index), the extra chunks,
// "MDFDSB01", "MDFTGDG0" (gadget record bodies), "MDFFTAB0" (a record of
// "MDFLFTA0" with the fonts, then empty "MDFDSB00" and "MDFDSB01").
[[nodiscard]] std::vector<Child> rootChildren(const Layout& layout);
// The file is the root record body: recordBody(rootChildren(layout)).
[[nodiscard]] Bytes mdfFile(const Layout& layout);

// Writes to a temporary file beside `path` and renames it into place, so an
// earlier file survives a failure. Returns false on any error.
[[nodiscard]] bool writeFile(const std::string& path, const Bytes& bytes);

} // namespace mdfwriter
