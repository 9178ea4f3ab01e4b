#include "VramMap.h"

#include "TexelDecoding.h"
#include "vram/VramGeometry.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <array>

namespace
{
// The texel picture has four columns a VRAM word: one a 4-bit texel.
constexpr int kColumnsPerWord = 4;
constexpr int kSwatchSize = 12;
constexpr int kLegendPadding = 4;
constexpr int kLegendPitch = 96; // each item of the legend starts this far after the one before

struct LegendItem
{
    const char* label;
    uint32_t colour;
};
constexpr std::array<LegendItem, 7> kLegend = {{{"4-bit", MapColour::kTexture4},
                                                {"4-bit tiled", MapColour::kTiledTexture4},
                                                {"4-bit CLUT", MapColour::kClut4},
                                                {"8-bit", MapColour::kTexture8},
                                                {"8-bit CLUT", MapColour::kClut8},
                                                {"16-bit", MapColour::kTexture16},
                                                {"no place", MapColour::kFailedTexture}}};

QBrush checkerBrush()
{
    QImage squares(2 * kCheckerSquare, 2 * kCheckerSquare, QImage::Format_RGB32);
    squares.fill(colourFromColorref(MapColour::kCheckerLight));
    const QColor dark = colourFromColorref(MapColour::kCheckerDark);
    for (int y = 0; y < squares.height(); ++y)
        for (int x = 0; x < squares.width(); ++x)
            if ((x / kCheckerSquare + y / kCheckerSquare) % 2 != 0)
                squares.setPixelColor(x, y, dark);
    return QBrush(squares);
}

// Puts a block of `width` x `height` colours, each `columns` columns wide,
// at VRAM word `x`, line `y`; what falls outside VRAM is left out.
void putTexels(QImage& picture, int64_t x, int64_t y, int width, int height, int columns,
               const uint32_t* argb)
{
    for (int row = 0; row < height; ++row)
    {
        const int64_t line = y + row;
        if (line < 0 || line >= picture.height())
            continue;
        auto* out = reinterpret_cast<uint32_t*>(picture.scanLine(static_cast<int>(line)));
        for (int i = 0; i < width; ++i)
            for (int c = 0; c < columns; ++c)
            {
                const int64_t column = x * kColumnsPerWord + int64_t{i} * columns + c;
                if (column >= 0 && column < picture.width())
                    out[column] = argb[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                                       static_cast<std::size_t>(i)];
            }
    }
}

void drawFailure(QPainter& painter, const MapGeometry& map, const ShownBank& shown)
{
    if (!shown.failure)
        return;
    const MapRect failed =
        vramRect(map, shown.failure->x, shown.failure->y, shown.failure->width, shown.failure->height);
    const QColor colour = colourFromColorref(MapColour::kFailedTexture);
    frameMapRect(painter, failed, colour);
    frameMapRect(painter, {failed.left + 1, failed.top + 1, failed.right - 1, failed.bottom - 1}, colour);
}

void drawGrid(QPainter& painter, const MapGeometry& map)
{
    const QColor grid = colourFromColorref(MapColour::kGrid);
    for (int row = 0; row < kGridRows; ++row)
        for (int column = 0; column < kGridColumns; ++column)
            frameMapRect(painter, gridCell(map, column, row), grid);
}

// The bank's name at the left of the strip, the legend at its right (at
// the left when the strip is too narrow for both).
void drawLegend(QPainter& painter, const QRect& strip, const ShownBank& shown)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const int legendWidth = static_cast<int>(kLegend.size()) * kLegendPitch;
    const int legendLeft = std::max(strip.left(), strip.right() + 1 - legendWidth);
    const int middle = strip.top() + strip.height() / 2;
    const QColor outline = colourFromColorref(MapColour::kOutline);
    for (std::size_t i = 0; i < kLegend.size(); ++i)
    {
        const int left = legendLeft + static_cast<int>(i) * kLegendPitch;
        const MapRect swatch{left, middle - kSwatchSize / 2, left + kSwatchSize, middle + kSwatchSize / 2};
        fillMapRect(painter, swatch, colourFromColorref(kLegend[i].colour));
        frameMapRect(painter, swatch, outline);
        painter.drawText(QRect(left + kSwatchSize + kLegendPadding, strip.top(),
                               kLegendPitch - kSwatchSize - 2 * kLegendPadding, strip.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, kLegend[i].label);
    }
    if (shown.name.empty())
        return;
    QString name = "bank " + QString::fromLocal8Bit(shown.name);
    if (shown.failure)
        name += ", not written: a texture found no place";
    const int nameWidth = legendLeft - strip.left() - 2 * kLegendPadding;
    painter.drawText(QRect(strip.left(), strip.top(), std::max(nameWidth, 0), strip.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     metrics.elidedText(name, Qt::ElideLeft, std::max(nameWidth, 0)));
}

} // namespace

QColor colourFromColorref(uint32_t colorref)
{
    return QColor(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                  static_cast<int>((colorref >> 16) & 0xFF));
}

RecordColours coloursFor(const TextureRecord& record)
{
    switch (static_cast<TimKind>(record.Kind))
    {
    case TimKind::Indexed4:
        return {colourFromColorref(record.Tiled ? MapColour::kTiledTexture4 : MapColour::kTexture4),
                colourFromColorref(MapColour::kClut4)};
    case TimKind::Indexed8:
        return {colourFromColorref(MapColour::kTexture8), colourFromColorref(MapColour::kClut8)};
    case TimKind::Direct16:
        return {colourFromColorref(MapColour::kTexture16), colourFromColorref(MapColour::kOtherClut)};
    default:
        return {colourFromColorref(MapColour::kOtherTexture), colourFromColorref(MapColour::kOtherClut)};
    }
}

void fillMapRect(QPainter& painter, const MapRect& rect, const QColor& colour)
{
    if (rect.isEmpty())
        return;
    painter.fillRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, colour);
}

void frameMapRect(QPainter& painter, const MapRect& rect, const QColor& colour)
{
    if (rect.isEmpty())
        return;
    fillMapRect(painter, {rect.left, rect.top, rect.right, rect.top + 1}, colour);
    fillMapRect(painter, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
    fillMapRect(painter, {rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
    fillMapRect(painter, {rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

void DrawMap(QPainter& painter, const MapGeometry& map, const ShownBank& shown)
{
    drawGrid(painter, map);
    const QColor outline = colourFromColorref(MapColour::kOutline);
    for (const std::unique_ptr<TextureRecord>& record : shown.records)
    {
        // A bank that did not fit keeps textures that have no place yet.
        if (record->Group == 0)
            continue;
        const RecordColours colours = coloursFor(*record);
        const MapRect texture = textureRect(map, *record);
        fillMapRect(painter, texture, colours.texture);
        frameMapRect(painter, texture, outline);
        if (const std::optional<MapRect> clut = clutRect(map, *record))
            fillMapRect(painter, *clut, colours.clut);
    }
    drawFailure(painter, map, shown);
}

void DrawTexelMap(QPainter& painter, const MapGeometry& map, const ShownBank& shown)
{
    drawGrid(painter, map);
    QImage texels(kVramWidth * kColumnsPerWord, kVramHeight, QImage::Format_ARGB32_Premultiplied);
    texels.fill(Qt::transparent);
    const QBrush checker = checkerBrush();
    const QColor outline = colourFromColorref(MapColour::kOutline);
    for (const std::unique_ptr<TextureRecord>& record : shown.records)
    {
        if (record->Group == 0)
            continue;
        const MapRect texture = textureRect(map, *record);
        if (const std::optional<DecodedTexels> decoded = decodeTexels(*record))
        {
            if (!texture.isEmpty())
                painter.fillRect(texture.left, texture.top, texture.right - texture.left,
                                 texture.bottom - texture.top, checker);
            putTexels(texels, int64_t{record->GroupX} + record->X, int64_t{record->GroupY} + record->Y,
                      decoded->width, decoded->height, kColumnsPerWord / decoded->texelsPerWord,
                      decoded->argb.data());
        }
        else
        {
            fillMapRect(painter, texture, coloursFor(*record).texture);
            frameMapRect(painter, texture, outline);
        }
        const std::optional<MapRect> clut = clutRect(map, *record);
        const std::size_t rows = record->ClutExtraRows + std::size_t{1};
        if (!clut || clut->isEmpty() || record->ClutData.size() < record->ClutWidth * rows)
            continue;
        painter.fillRect(clut->left, clut->top, clut->right - clut->left, clut->bottom - clut->top, checker);
        std::vector<uint32_t> entries;
        for (std::size_t i = 0; i < record->ClutWidth * rows; ++i)
            entries.push_back(argbOfPsxColour(record->ClutData[i]));
        putTexels(texels, int64_t{record->ClutGroupX} + record->ClutX,
                  int64_t{record->ClutGroupY} + record->ClutY, record->ClutWidth, static_cast<int>(rows),
                  kColumnsPerWord, entries.data());
    }
    // Without smoothing, each texel stays a sharp block at every zoom.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(map.MapLeft, map.MapTop, map.MapWidth, map.MapHeight), texels);
    drawFailure(painter, map, shown);
}

int legendHeight(const QFontMetrics& metrics)
{
    return std::max(metrics.height(), kSwatchSize) + 2 * kLegendPadding;
}

void DrawView(QPainter& painter, const QRect& area, const QString& messageLine, const MapGeometry& fitted,
              const ShownBank& shown, const MapView& view)
{
    const MapGeometry map = zoomedMap(fitted, view.zoom);
    const auto drawMap = [&]
    {
        if (view.mode == MapMode::Texels)
            DrawTexelMap(painter, map, shown);
        else
            DrawMap(painter, map, shown);
    };
    const QRect strip(fitted.MapLeft, fitted.MapBottom, fitted.MapRight - fitted.MapLeft,
                      legendHeight(painter.fontMetrics()));
    const QRect messageStrip(area.left(), area.top(), area.width(), painter.fontMetrics().height());
    // The fitted map is drawn after MessageLine, as it always was; a zoomed
    // one passes under both texts, on white.
    if (!view.zoom.fitted())
    {
        drawMap();
        painter.fillRect(messageStrip, Qt::white);
        painter.fillRect(QRect(area.left(), strip.top(), area.width(), area.bottom() + 1 - strip.top()),
                         Qt::white);
    }
    painter.setPen(Qt::black);
    // A trailing newline is not a line break here: it is drawn as the blank
    // it is.
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, messageLine);
    if (view.zoom.fitted())
        drawMap();
    drawLegend(painter, strip, shown);
}
