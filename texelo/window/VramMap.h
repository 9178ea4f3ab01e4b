#pragma once

#include "MapGeometry.h"
#include "MapZoom.h"
#include "ShownBank.h"

#include <QColor>
#include <cstdint>

class QFontMetrics;
class QPainter;
class QRect;
class QString;

// The map's colours, kept as the Windows colour values 0x00BBGGRR in which
// they were chosen (red is the low byte).
namespace MapColour
{
inline constexpr uint32_t kGrid = 0xFF00FF;          // magenta
inline constexpr uint32_t kTexture4 = 0x0000FF;      // red
inline constexpr uint32_t kTiledTexture4 = 0x00FF00; // green
inline constexpr uint32_t kClut4 = 0xFF0000;         // blue
inline constexpr uint32_t kTexture8 = 0xFFFF00;      // cyan
inline constexpr uint32_t kClut8 = 0x008000;         // dark green
inline constexpr uint32_t kTexture16 = 0x00FFFF;     // yellow
inline constexpr uint32_t kOutline = 0x000000;       // black
inline constexpr uint32_t kFailedTexture = 0x0080FF; // orange: where a texture that found no place was tried
// Kinds the loader never makes (24-bit) still show, in greys.
inline constexpr uint32_t kOtherTexture = 0x808080;
inline constexpr uint32_t kOtherClut = 0x404040;
// Behind transparent texels, in squares of kCheckerSquare pixels.
inline constexpr uint32_t kCheckerLight = 0xE0E0E0;
inline constexpr uint32_t kCheckerDark = 0xA0A0A0;
} // namespace MapColour

inline constexpr int kCheckerSquare = 8;

[[nodiscard]] QColor colourFromColorref(uint32_t colorref);

struct RecordColours
{
    QColor texture;
    QColor clut;
};

// The fill colours of a record, by its pixel depth; tiled 4-bit textures are
// told apart from plain ones.
[[nodiscard]] RecordColours coloursFor(const TextureRecord& record);

// Fills exactly the pixels of `rect`; an empty rectangle fills nothing.
void fillMapRect(QPainter& painter, const MapRect& rect, const QColor& colour);

// A one-pixel frame along the inside edges of `rect`. An empty rectangle has
// no inside and draws nothing (a zero-height outline stays invisible).
void frameMapRect(QPainter& painter, const MapRect& rect, const QColor& colour);

// The page grid, then every placed record in list order: its texture filled
// and outlined in black, then its CLUT strip; last the outline of the texture
// that found no place.
void DrawMap(QPainter& painter, const MapGeometry& map, const ShownBank& shown);

// The texels of every placed record and the entries of its CLUT, in VRAM's
// place (four columns a word, so a 4-bit texel is one column, an 8-bit one
// two and a 16-bit one four), over a checkerboard where they are
// transparent; a record without texels to show is drawn as in DrawMap. The
// page grid first, the outline of the texture that found no place last.
void DrawTexelMap(QPainter& painter, const MapGeometry& map, const ShownBank& shown);

enum class MapMode : uint8_t
{
    Rectangles = 0, // coloured by depth
    Texels = 1,
};

// How the user looks at the map: zoomed or fitted, rectangles or texels.
struct MapView
{
    MapZoom zoom;
    MapMode mode = MapMode::Rectangles;
};

// Height of the strip below the map that names the bank and its colours.
[[nodiscard]] int legendHeight(const QFontMetrics& metrics);

// What the window shows in `area`: MessageLine as one line from the top-left
// corner, the map, and below the fitted map the bank's name and the legend of
// the map's colours. A zoomed map may pass under both texts. The background is
// the caller's.
void DrawView(QPainter& painter, const QRect& area, const QString& messageLine, const MapGeometry& fitted,
              const ShownBank& shown, const MapView& view = {});
