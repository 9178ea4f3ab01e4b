#include "LumarcApp.h"

#include "LumarcCommandLine.h"
#include "LumarcDialog.h"
#include "LumarcIcon.h"
#include "QtDialogServices.h"

#include <cstdio>
#include <cstdlib>

namespace
{

constexpr const char* kNoDisplay =
    "lumarc: cannot open the dialog: no display can be reached (is DISPLAY or WAYLAND_DISPLAY set?)\n"
    "lumarc: converting needs no display: see lumarc --help\n";

// Set once Qt has found a display; a fatal message before that is about the display.
bool g_displayOpened = false;

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// Qt's own messages go to standard error, which carries all our diagnostics;
// standard output stays for results. A fatal message while Qt starts means no
// display could be used: say so plainly and fail instead of aborting.
void routeQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg && !g_displayOpened)
    {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(kExitFailed);
    }
    std::fprintf(stderr, "lumarc: %s\n", qPrintable(message));
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

LumarcApp::LumarcApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("Lumarc");
    setWindowIcon(lumarcIcon());
}

int LumarcApp::run()
{
    QtDialogServices services;
    LumarcDialog dialog(services);
    dialog.exec();
    return kExitOk;
}

int runLumarcApp(int& argc, char** argv)
{
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY") && !isSet("QT_QPA_PLATFORM"))
    {
        std::fputs(kNoDisplay, stderr);
        return kExitFailed;
    }
    qInstallMessageHandler(routeQtMessage);
    LumarcApp app(argc, argv);
    g_displayOpened = true;
    return app.run();
}
