#pragma once

#include <QApplication>

// The application object: shows the dialog modally as the program's only
// window; when it ends, the program ends.
class LumarcApp final : public QApplication
{
public:
    LumarcApp(int& argc, char** argv);

    // Runs the dialog; returns the program's exit status.
    [[nodiscard]] int run();
};

// Opens the dialog when a display can be reached; otherwise says so on
// standard error and returns a failure status without starting Qt's GUI.
[[nodiscard]] int runLumarcApp(int& argc, char** argv);
