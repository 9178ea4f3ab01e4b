// Builds MDF screen-layout files from plain descriptions. It shares no code
// with the Lumarc reader, so the tests feed the reader files it never made.
// All integers are little-endian; bodies follow each other without padding.
// Sizes and counts are computed unless a test forges one (declaredSize).
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

namespace tag
{
inline constexpr std::string_view kStringBank0 = "MDFDSB00";
inline constexpr std::string_view kStringBank1 = "MDFDSB01";
// Known to the format but read by nothing: always skipped.
inline constexpr std::string_view kUnknownVpbi = "MDFVPBI0";
} // namespace tag

// Primitive types; any other value in a header ends a list.
inline constexpr uint8_t kPrimF4 = 5;  // flat colour
inline constexpr uint8_t kPrimG4 = 6;  // colour per vertex
inline constexpr uint8_t kPrimFT4 = 7; // flat colour, textured
inline constexpr uint8_t kPrimGT4 = 8; // colour per vertex, textured

void put16(Bytes& out, uint16_t value);
void put32(Bytes& out, uint32_t value);
void putTag(Bytes& out, std::string_view tag8); // 8 bytes, NUL-padded

// clang-format off
struct Child { std::string tag{}; Bytes body{}; uint32_t spare = 0; std::optional<uint32_t> declaredSize{}; };
// u32 N, N x (tag[8], u32 spare, u32 size), then the N bodies.
[[nodiscard]] Bytes recordBody(const std::vector<Child>& children);

struct Element { Bytes body{}; uint32_t spare = 0; std::optional<uint32_t> declaredSize{}; };
// tag[8], u32 N, N x (u32 spare, u32 size), then the N bodies.
[[nodiscard]] Bytes arrayBody(std::string_view arrayTag, const std::vector<Element>& elements);
[[nodiscard]] Bytes arrayOf(std::string_view arrayTag, const std::vector<Bytes>& bodies);

// Text, NUL, zero filler up to `size` (0: no filler); a shorter size cuts
// the text and leaves no NUL.
[[nodiscard]] Bytes stringBody(std::string_view text, uint32_t size = 0);

struct Vertex { int16_t x = 0, y = 0; };
struct Colour { uint8_t r = 0, g = 0, b = 0, pad = 0; };
// Header u8 type, mode, cornerBits, aux; textured types then u16 textureId,
// textureAux; then four s16 x, y and one colour (flat) or four.
struct Prim { uint8_t type = kPrimF4, mode = 0, cornerBits = 0, aux = 0;
             uint16_t textureId = 0, textureAux = 0; std::array<Vertex, 4> vertices{};
             std::array<Colour, 4> colours{}; };
// s16 offsetX, offsetY, the primitives, u32 terminator.
struct PrimList { int16_t offsetX = 0, offsetY = 0; std::vector<Prim> prims{}; uint32_t terminator = 0; };
// 16 bytes: s16 aux[4], left, top, right, bottom.
struct Rect { int16_t left = 0, top = 0, right = 0, bottom = 0; std::array<int16_t, 4> aux{}; };
// 12 bytes: s16 auxX, auxY, posX, posY, u8 flags, u8 code, 2 zero bytes.
struct Hotspot { int16_t posX = 0, posY = 0; uint8_t flags = 0, code = 0; int16_t auxX = 0, auxY = 0; };
// A record of "MDFSVPI0" (u32 spare, u32 N, N lists), "MDFTVHS0", "MDFTVRE0"
// (tables of vectors) and, with options, "MDFGPDO0" (u32 word, 28 zeros).
struct Gadget { std::string name{}; std::vector<std::vector<Rect>> rects{};
               std::vector<std::vector<Hotspot>> hotspots{}; std::vector<PrimList> primLists{};
               std::optional<uint32_t> options{}; };
struct FontEntry { uint8_t value0 = 0, value1 = 0; };
struct Layout
{
    std::vector<Gadget> gadgets{};
    std::vector<std::string> strings1{};
    std::vector<std::vector<FontEntry>> fonts{};
    std::vector<Child> extraRootChunks{}; // placed right after the names bank
};
// clang-format on

// "MDFDSB00" (gadget names), the extra chunks, "MDFDSB01", "MDFTGDG0" (the
// gadget records), "MDFFTAB0" (a record of the fonts and two empty banks).
[[nodiscard]] std::vector<Child> rootChildren(const Layout& layout);
[[nodiscard]] Bytes mdfFile(const Layout& layout); // recordBody(rootChildren)

// Writes beside `path` and renames into place; false on any error.
[[nodiscard]] bool writeFile(const std::string& path, const Bytes& bytes);

} // namespace mdfwriter
