#pragma once

#include <QRect>

#include <initializer_list>
#include <utility>

class QFont;
class QWidget;

// Sizes and positions given in dialog units, which follow the dialog's font:
// one horizontal unit is a quarter of the average character width, one
// vertical unit an eighth of the character height.
class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);

    [[nodiscard]] int toPixelsX(int units) const;
    [[nodiscard]] int toPixelsY(int units) const;
    [[nodiscard]] QSize toPixels(int width, int height) const;
    [[nodiscard]] QRect toPixels(int x, int y, int width, int height) const;

private:
    int m_averageCharWidth;
    int m_charHeight;
};

// A control's place in dialog units.
struct DialogUnitRect
{
    int x;
    int y;
    int width;
    int height;
};

// Gives `dialog` its fixed client size and puts each control at its place, all
// in dialog units of the dialog's font.
void placeInDialogUnits(QWidget& dialog, int width, int height,
                        std::initializer_list<std::pair<QWidget*, DialogUnitRect>> controls);
