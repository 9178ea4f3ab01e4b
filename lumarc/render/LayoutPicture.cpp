#include "LayoutPicture.h"

#include "Outlines.h"
#include "PixelFont.h"
#include "QuadFill.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <sstream>

namespace
{

constexpr Rgb kNoTextureColour = rgb(128, 128, 128);
constexpr std::array<Rgb, 8> kTextureColours{
    rgb(224, 64, 64),  rgb(64, 192, 64),  rgb(64, 96, 224),  rgb(224, 192, 64),
    rgb(192, 64, 192), rgb(64, 192, 192), rgb(224, 128, 64), rgb(144, 96, 224),
};

Rgb halved(Rgb colour)
{
    return (colour >> 1) & rgb(0x7F, 0x7F, 0x7F);
}

// The pixels of a stored box: from x up to x + w, the far edge left out as a
// quad's is; a box without width is one column. A negative extent reaches
// left or up from x, y.
PixelRect pixelsOf(const RlfRect& box)
{
    const auto span = [](int64_t start, int64_t extent, int64_t& first, int64_t& last)
    {
        first = std::min(start, start + extent);
        last = std::max(start, start + extent) - (extent == 0 ? 0 : 1);
    };
    PixelRect pixels;
    span(box.x, box.w, pixels.left, pixels.right);
    span(box.y, box.h, pixels.top, pixels.bottom);
    return pixels;
}

void drawEntry(Canvas& canvas, const RlfRenderEntry& entry)
{
    std::array<QuadVertex, 4> corners;
    for (std::size_t i = 0; i < corners.size(); ++i)
        corners[i] = QuadVertex{entry.points[i].x, entry.points[i].y, entry.colours[i] & 0xFFFFFF};
    if (entry.kind != RlfEntryKind::Textured)
    {
        fillQuad(canvas, corners, nullptr);
        return;
    }
    const Rgb colour = textureColour(entry.textureId);
    const CheckerTexture texture{corners[0].x, corners[0].y, colour, halved(colour)};
    fillQuad(canvas, corners, &texture);
    const auto [minX, maxX] = std::minmax({corners[0].x, corners[1].x, corners[2].x, corners[3].x});
    const auto [minY, maxY] = std::minmax({corners[0].y, corners[1].y, corners[2].y, corners[3].y});
    const std::string label = std::to_string(entry.textureId);
    // Shifts round down also for negative sums, so the label moves with the quad.
    drawLabel(canvas, ((int64_t{minX} + maxX) >> 1) - labelWidth(label) / 2,
              ((int64_t{minY} + maxY) >> 1) - kLabelHeight / 2, label);
}

bool holdsAnything(const PictureGadget& gadget)
{
    return !gadget.childAreas.empty() || !gadget.hotspots.empty() || !gadget.entries.empty();
}

void drawOverlays(Canvas& canvas, const PictureGadget& gadget, std::size_t index)
{
    for (const RlfRect& area : gadget.childAreas)
        outlineRect(canvas, pixelsOf(area), kChildAreaColour, LineStyle::Dashed);
    for (const RlfHotspot& hotspot : gadget.hotspots)
        drawHatchedMarker(canvas, hotspot.x, hotspot.y, kHotspotColour);
    const PixelRect box = pixelsOf(gadget.box);
    outlineRect(canvas, box, kBoxColour, LineStyle::Solid);
    drawLabel(canvas, box.left + 1, box.top + 1, std::to_string(index));
}

} // namespace

Rgb textureColour(int16_t textureId)
{
    if (textureId == rlf::kNoTexture)
        return kNoTextureColour;
    return kTextureColours[static_cast<uint16_t>(textureId) % kTextureColours.size()];
}

LayoutPicture drawLayout(const std::vector<PictureGadget>& gadgets, const PictureOptions& options)
{
    LayoutPicture picture;
    picture.canvas = Canvas(options.width, options.height);
    Canvas& canvas = picture.canvas;
    for (const PictureGadget& gadget : gadgets)
        for (const RlfRenderEntry& entry : gadget.entries)
            drawEntry(canvas, entry);
    for (std::size_t i = 0; i < gadgets.size(); ++i)
    {
        // A gadget that holds nothing keeps the box its layout starts from,
        // which is no place on the screen.
        if (!holdsAnything(gadgets[i]))
            continue;
        const PixelRect box = pixelsOf(gadgets[i].box);
        if (!canvas.contains(box.left, box.top) || !canvas.contains(box.right, box.bottom))
        {
            const RlfRect& b = gadgets[i].box;
            std::ostringstream note;
            note << "gadget " << i << "'s box x " << b.x << " y " << b.y << " w " << b.w << " h " << b.h
                 << " reaches outside the " << canvas.width() << " x " << canvas.height()
                 << " canvas; only the part inside is drawn";
            picture.notes.push_back(note.str());
        }
        if (options.overlays)
            drawOverlays(canvas, gadgets[i], i);
    }
    return picture;
}

std::optional<PictureOptions> parseCanvasSize(std::string_view text, PictureOptions options)
{
    const auto side = [](std::string_view digits, int32_t& value)
    {
        const char* end = digits.data() + digits.size();
        if (digits.empty() || digits.front() < '0' || digits.front() > '9')
            return false;
        const auto [stop, error] = std::from_chars(digits.data(), end, value);
        return error == std::errc{} && stop == end && value >= 1 && value <= kLargestCanvasSide;
    };
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos || !side(text.substr(0, cross), options.width) ||
        !side(text.substr(cross + 1), options.height))
        return std::nullopt;
    return options;
}
