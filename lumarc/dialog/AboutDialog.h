#pragma once

#include <QDialog>

// "About Lumarc": the icon, the version and one line on what the program does.
class AboutDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
