#include "VramMap.h"

#include <QPainter>
#include <QRect>
#include <QString>

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

void DrawMap(QPainter& painter, const MapGeometry& map, const TextureList& shownList)
{
    const QColor grid = colourFromColorref(MapColour::kGrid);
    for (int row = 0; row < kGridRows; ++row)
        for (int column = 0; column < kGridColumns; ++column)
            frameMapRect(painter, gridCell(map, column, row), grid);

    const QColor outline = colourFromColorref(MapColour::kOutline);
    for (const std::unique_ptr<TextureRecord>& record : shownList)
    {
        const RecordColours colours = coloursFor(*record);
        const MapRect texture = textureRect(map, *record);
        fillMapRect(painter, texture, colours.texture);
        frameMapRect(painter, texture, outline);
        if (const std::optional<MapRect> clut = clutRect(map, *record))
            fillMapRect(painter, *clut, colours.clut);
    }
}

void DrawView(QPainter& painter, const QRect& area, const QString& messageLine, const MapGeometry& map,
              const TextureList& shownList)
{
    painter.setPen(Qt::black);
    // A trailing newline is not a line break here: it is drawn as the blank
    // it is.
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, messageLine);
    DrawMap(painter, map, shownList);
}
