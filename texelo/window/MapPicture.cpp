#include "MapPicture.h"

#include "VramMap.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>

namespace
{
constexpr int kVramWords = 1024;
constexpr int kVramLines = 512;
} // namespace

MapGeometry pictureGeometry(int messageLineHeight)
{
    MapGeometry map;
    map.MapWidth = kVramWords;
    map.MapHeight = kVramLines;
    map.MapLeft = 0;
    map.MapRight = kVramWords;
    map.MapTop = messageLineHeight;
    map.MapBottom = messageLineHeight + kVramLines;
    return map;
}

QImage drawMapPicture(const std::string& messageLine, const ShownBank& shown, const QFont& font)
{
    const QFontMetrics metrics(font);
    const MapGeometry map = pictureGeometry(metrics.height());
    QImage picture(kVramWords, map.MapBottom + legendHeight(metrics), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(font);
    DrawView(painter, picture.rect(), QString::fromLocal8Bit(messageLine), map, shown);
    return picture;
}

std::optional<std::string> saveMapPicture(const std::string& messageLine, const ShownBank& shown,
                                          const std::string& path)
{
    const QImage picture = drawMapPicture(messageLine, shown, QGuiApplication::font());
    // QSaveFile writes beside the target and renames over it on commit, so an
    // earlier picture stays whole until the new one is.
    QSaveFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString().toStdString();
    if (!picture.save(&file, "PNG"))
    {
        file.cancelWriting();
        return file.error() != QFileDevice::NoError ? file.errorString().toStdString()
                                                    : "the PNG could not be written";
    }
    if (!file.commit())
        return file.errorString().toStdString();
    return std::nullopt;
}
