// Saves the two programs' window icons as the PNG files a desktop shows in its menus, so the
// installed icons are the very pixels the windows carry. Run at build time:
//   make_icons OUTPUT_FOLDER
// writes OUTPUT_FOLDER/<size>x<size>/apps/{lumarc,texelo}.png for 16 and 32 pixels, the layout
// of the icon theme folder it is installed into. Exit status 1 when anything cannot be written.

#include "LumarcIcon.h"
#include "TexeloIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QString>

#include <array>
#include <cstdio>

namespace
{

constexpr std::array<int, 2> kIconSizes = {16, 32};

// Writes to a temporary name and renames into place, so a failed run leaves no half icon.
[[nodiscard]] bool savePng(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG"))
        return false;
    return file.commit();
}

// The icons hold hand-drawn images of exactly these sizes; a scaled stand-in would not be the
// window's icon, so an icon without one is an error rather than something to paper over.
[[nodiscard]] bool saveIcon(const QIcon& icon, const QString& name, const QDir& outputFolder)
{
    for (const int size : kIconSizes)
    {
        const QSize wanted(size, size);
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString path = outputFolder.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!icon.availableSizes().contains(wanted))
        {
            std::fprintf(stderr, "make_icons: the %s icon has no %dx%d image\n", qPrintable(name), size,
                         size);
            return false;
        }
        const QImage image = icon.pixmap(wanted).toImage();
        if (image.size() != wanted)
        {
            std::fprintf(stderr, "make_icons: the %s icon came out %dx%d instead of %dx%d\n",
                         qPrintable(name), image.width(), image.height(), size, size);
            return false;
        }
        if (!outputFolder.mkpath(folder) || !savePng(image, path))
        {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs("Usage: make_icons OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    // Builds run without a display; pixmaps still need a GUI application, and an offscreen one
    // renders the same pixels.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QDir outputFolder(QString::fromLocal8Bit(argv[1]));
    if (!saveIcon(lumarcIcon(), QStringLiteral("lumarc"), outputFolder) ||
        !saveIcon(texeloIcon(), QStringLiteral("texelo"), outputFolder))
        return 1;
    return 0;
}
