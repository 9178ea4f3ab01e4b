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

void DrawMap(QPainter& painter, const MapGeometry& map, const ShownBank& shown)
{
    const QColor grid = colourFromColorref(MapColour::kGrid);
    for (int row = 0; row < kGridRows; ++row)
        for (int column = 0; column < kGridColumns; ++column)
            frameMapRect(painter, gridCell(map, column, row), grid);

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
    if (shown.failure)
    {
        const MapRect failed =
            vramRect(map, shown.failure->x, shown.failure->y, shown.failure->width, shown.failure->height);
        const QColor colour = colourFromColorref(MapColour::kFailedTexture);
        frameMapRect(painter, failed, colour);
        frameMapRect(painter, {failed.left + 1, failed.top + 1, failed.right - 1, failed.bottom - 1}, colour);
    }
}

void DrawView(QPainter& painter, const QRect& area, const QString& messageLine, const MapGeometry& map,
              const ShownBank& shown)
{
    painter.setPen(Qt::black);
    // A trailing newline is not a line break here: it is drawn as the blank
    // it is.
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, messageLine);
    DrawMap(painter, map, shown);
}
