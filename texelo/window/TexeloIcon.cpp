#include "TexeloIcon.h"

#include <QImage>
#include <QPixmap>

namespace
{

// Our own drawing: a VRAM map in the window's colours, the magenta page grid
// with textures and CLUT rows packed into it. One character per pixel, so the
// art stays readable.
// clang-format off
const char* const kIcon32x32[] = {
    "32 32 8 1",
    "  c None",
    "k c #000000",
    "M c #FF00FF",
    "R c #FF0000",
    "C c #00FFFF",
    "Y c #FFFF00",
    "B c #0000FF",
    "G c #008000",
    "                                ",
    "                                ",
    " kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk ",
    " kMMMMMMMMMMMMMMMMMMMMMMMMMMMMk ",
    " kMRRRRRRMCCCCCCMYYYYYYMCCCCCMk ",
    " kMRRRRRRMCCCCCCMYYYYYYMCCCCCMk ",
    " kMRRRRRRMCCCCCCMYYYYYYMCCCCCMk ",
    " kMRRRRRRMCCCCCCMYYYYYYMkkkkkMk ",
    " kMRRRRRRMCCCCCCMYYYYYYMkkkkkMk ",
    " kMRRRRRRMkkkkkkMYYYYYYMkkkkkMk ",
    " kMRRRRRRMBBBBBBMYYYYYYMkkkkkMk ",
    " kMkkkkkkMkkkkkkMYYYYYYMkkkkkMk ",
    " kMBBBBBBMkkkkkkMYYYYYYMkkkkkMk ",
    " kMkkkkkkMkkkkkkMkkkkkkMkkkkkMk ",
    " kMBBBBBBBBBBkkkMkkkkkkMkkkkkMk ",
    " kMkkkkkkMkkkkkkMkkkkkkMkkkkkMk ",
    " kMMMMMMMMMMMMMMMMMMMMMMMMMMMMk ",
    " kMYYYYYYYYYYYkkMRRRRRRMCCCCCMk ",
    " kMYYYYYYYYYYYkkMRRRRRRMCCCCCMk ",
    " kMYYYYYYYYYYYkkMRRRRRRMCCCCCMk ",
    " kMYYYYYYYYYYYkkMRRRRRRMCCCCCMk ",
    " kMYYYYYYYYYYYkkMRRRRRRMCCCCCMk ",
    " kMYYYYYYYYYYYkkMkkkkkkMCCCCCMk ",
    " kMYYYYYYYYYYYkkMBBBBBBMCCCCCMk ",
    " kMYYYYYYYYYYYkkMkkkkkkMCCCCCMk ",
    " kMkkkkkkMkkkkkkMkkkkkkMCCCCCMk ",
    " kMGGGGGGMkkkkkkMkkkkkkMCCCCCMk ",
    " kMkkkkkkMkkkkkkMkkkkkkMkkkkkMk ",
    " kMMMMMMMMMMMMMMMMMMMMMMMMMMMMk ",
    " kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk ",
    "                                ",
    "                                "
};

const char* const kIcon16x16[] = {
    "16 16 7 1",
    "  c None",
    "k c #000000",
    "M c #FF00FF",
    "R c #FF0000",
    "C c #00FFFF",
    "Y c #FFFF00",
    "B c #0000FF",
    "                ",
    "MMMMMMMMMMMMMMMM",
    "MRRRkMCCCCMYYYYM",
    "MRRRkMCCCCMYYYYM",
    "MRRRkMkkkkMYYYYM",
    "MRRRkMkkkkMYYYYM",
    "MkkkkMkkkkMYYYYM",
    "MBBBBMkkkkMkkkkM",
    "MMMMMMMMMMMMMMMM",
    "MYYYYMRRRRMCCCCM",
    "MYYYYMRRRRMCCCCM",
    "MYYYYMRRRRMCCCCM",
    "MYYYYMkkkkMCCCCM",
    "MkkkkMBBBkMCCCCM",
    "MMMMMMMMMMMMMMMM",
    "                "
};
// clang-format on

} // namespace

QIcon texeloIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(QImage(kIcon32x32)));
    icon.addPixmap(QPixmap::fromImage(QImage(kIcon16x16)));
    return icon;
}
