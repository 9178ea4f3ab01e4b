#include "AboutDialog.h"

#include "DialogUnits.h"
#include "LumarcIcon.h"

#include <QLabel>
#include <QPushButton>

namespace
{
constexpr int kIconPixels = 32;

QLabel* textLine(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle("About Lumarc");
    setObjectName("aboutDialog");

    auto* icon = new QLabel(this);
    icon->setObjectName("aboutIcon");
    icon->setPixmap(lumarcIcon().pixmap(kIconPixels, kIconPixels));
    QLabel* version = textLine("Lumarc Version 1.0", this);
    version->setObjectName("aboutVersion");
    QLabel* purpose = textLine("MDF to RLF converter", this);
    purpose->setObjectName("aboutPurpose");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("aboutOk");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    placeInDialogUnits(*this, 235, 55,
                       {{icon, {11, 17, 20, 20}},
                        {version, {40, 10, 119, 8}},
                        {purpose, {40, 25, 119, 8}},
                        {ok, {178, 7, 50, 14}}});
    // An icon control takes the size of its icon.
    icon->resize(kIconPixels, kIconPixels);
}
