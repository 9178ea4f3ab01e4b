#pragma once

#include "Canvas.h"
#include "RlfItems.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One gadget of a render list as the picture needs it, whether read from a
// file or converted in memory: the same values either way.
struct PictureGadget
{
    RlfRect box{};
    std::vector<RlfRect> childAreas{};
    std::vector<RlfHotspot> hotspots{};
    std::vector<RlfRenderEntry> entries{};
};

// The screen the gadget boxes are measured against.
inline constexpr int32_t kScreenWidth = kEmptyRlfBounds.minX;
inline constexpr int32_t kScreenHeight = kEmptyRlfBounds.minY;
// Larger than any screen the game had, small enough to stay in memory.
inline constexpr int32_t kLargestCanvasSide = 4096;

struct PictureOptions
{
    int32_t width = kScreenWidth;
    int32_t height = kScreenHeight;
    // Gadget boxes, child areas and hotspots drawn over the render entries.
    bool overlays = true;
};

// The overlays' colours; the background is black.
inline constexpr Rgb kBoxColour = rgb(255, 255, 0);
inline constexpr Rgb kChildAreaColour = rgb(0, 255, 255);
inline constexpr Rgb kHotspotColour = rgb(255, 0, 255);

struct LayoutPicture
{
    Canvas canvas{0, 0};
    // What the user should know about the picture, one sentence each without
    // the program's name: the gadgets whose boxes reach outside the canvas.
    std::vector<std::string> notes;
};

// Draws every gadget's render entries in file order as the console would,
// then, with overlays, each gadget's child areas (dashed), hotspots
// (crosshatched squares), box (a solid outline) and its number (its index)
// inside the box's top-left corner. A textured entry is a checker in its
// texture's colour (textureColour), tinted by its corner colours and
// labelled with its texture number at the centre of its corners' extent.
[[nodiscard]] LayoutPicture drawLayout(const std::vector<PictureGadget>& gadgets,
                                       const PictureOptions& options);

// The lighter checker colour of a texture number; the darker is half of it.
// No texture (-1) is grey, the others one of eight colours by number.
[[nodiscard]] Rgb textureColour(int16_t textureId);

// "WxH" with each side 1 to kLargestCanvasSide, in decimal digits only.
[[nodiscard]] std::optional<PictureOptions> parseCanvasSize(std::string_view text, PictureOptions options);
