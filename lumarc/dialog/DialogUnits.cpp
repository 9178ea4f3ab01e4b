#include "DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace
{
// Rounds units * base / divisor to the nearest pixel.
int scaled(int units, int base, int divisor)
{
    return (units * base + divisor / 2) / divisor;
}
} // namespace

DialogUnits::DialogUnits(const QFont& font)
    : m_averageCharWidth(QFontMetrics(font).averageCharWidth()), m_charHeight(QFontMetrics(font).height())
{
}

int DialogUnits::toPixelsX(int units) const
{
    return scaled(units, m_averageCharWidth, 4);
}

int DialogUnits::toPixelsY(int units) const
{
    return scaled(units, m_charHeight, 8);
}

QSize DialogUnits::toPixels(int width, int height) const
{
    return {toPixelsX(width), toPixelsY(height)};
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const
{
    return {toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height)};
}

void placeInDialogUnits(QWidget& dialog, int width, int height,
                        std::initializer_list<std::pair<QWidget*, DialogUnitRect>> controls)
{
    const DialogUnits units(dialog.font());
    dialog.setFixedSize(units.toPixels(width, height));
    for (const auto& [control, place] : controls)
        control->setGeometry(units.toPixels(place.x, place.y, place.width, place.height));
}
