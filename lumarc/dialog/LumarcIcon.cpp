#include "LumarcIcon.h"

#include <QImage>
#include <QPixmap>

namespace
{

// Our own drawing in the 16 colours of the classic palette (plus a
// transparent key): a layout screen with three gadgets and an arrow, for
// "layout in, render list out". One character per pixel, so the art stays readable.
// clang-format off
const char* const kIcon32x32[] = {
    "32 32 10 1",
    "  c None",
    "k c #000000",
    "n c #000080",
    "s c #C0C0C0",
    "R c #FF0000",
    "G c #00FF00",
    "Y c #FFFF00",
    "B c #0000FF",
    "C c #00FFFF",
    "w c #FFFFFF",
    "                                ",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk  ",
    "knnnnnnnnnnnnnnnnnnnnnnnnnnnnk  ",
    "knnnnnnnnnnnnnnnnnnnnnnnnwwwnk  ",
    "knnnnnnnnnnnnnnnnnnnnnnnnnnnnk  ",
    "kssssssssssssssssssssssssssssk  ",
    "kswwwwwwwwwwwwwwwwwwwwwwwwwwsk  ",
    "kswwwwwwwwwwwwwwwwwwwwwwwwwwsk  ",
    "kswwkkkkkkkkkwwkkkkkkkkkkkwwsk  ",
    "kswwkRRRRRRRkwwkGGGGGGGGGkwwsk  ",
    "kswwkRRRRRRRkwwkGGGGGGGGGkwwsk  ",
    "kswwkRRRRRRRkwwkGGGGGGGGGkwwsk  ",
    "kswwkRRRRRRRkwwkGGGGGGGGGkwwsk  ",
    "kswwkkkkkkkkkwwkkkkkkkkkkkwwsk  ",
    "kswwwwwwwwwwwwwwwwwwwwwwwwwwsk  ",
    "kswwwwwwwwwwwwwwwwwwwwwwwwwwsk  ",
    "kswwkkkkkkkkkkkkkkkwwwwwwwwwsk  ",
    "kswwkBBBBBBBBBBBBBkwwwwwwwwwsk  ",
    "kswwkBCCCCCCCCCCCBkwwwwwwwwwsk  ",
    "kswwkBBBBBBBBBBBBBkwwwwwkwwwsk  ",
    "kswwkBCCCCCCCCBBBBkwwwwkYkwwsk  ",
    "kswwkBBBBBBBBBBBBBkwwwwkYYkwsk  ",
    "kswwkkkkkkkkkkkkkkkkkkkkYYYksk  ",
    "kswwwwwwwwwwwwwwkYYYYYYYYYYYkk  ",
    "kssssssssssssssskYYYYYYYYYYYYk  ",
    "kkkkkkkkkkkkkkkkkYYYYYYYYYYYYYk ",
    "                kYYYYYYYYYYYYk  ",
    "                kYYYYYYYYYYYk   ",
    "                 kkkkkkkYYYk    ",
    "                       kYYk     ",
    "                       kYk      ",
    "                        k       "
};

const char* const kIcon16x16[] = {
    "16 16 9 1",
    "  c None",
    "k c #000000",
    "n c #000080",
    "s c #C0C0C0",
    "R c #FF0000",
    "G c #00FF00",
    "Y c #FFFF00",
    "B c #0000FF",
    "w c #FFFFFF",
    "kkkkkkkkkkkkkkk ",
    "knnnnnnnnnnnnnk ",
    "knnnnnnnnnnnnnk ",
    "ksssssssssssssk ",
    "kswwwwwwwwwwwsk ",
    "kswRRRRwGGGGwsk ",
    "kswRRRRwGGGGwsk ",
    "kswRRRRwGkGGwsk ",
    "kswwwwwwkYkwwsk ",
    "kswBBBkkkYYkwsk ",
    "kswBBkYYYYYYksk ",
    "kswwwkYYYYYYYkk ",
    "kkkkkkYYYYYYkkk ",
    "      kkkYYk    ",
    "        kYk     ",
    "         k      "
};
// clang-format on

} // namespace

QIcon lumarcIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(QImage(kIcon32x32)));
    icon.addPixmap(QPixmap::fromImage(QImage(kIcon16x16)));
    return icon;
}
