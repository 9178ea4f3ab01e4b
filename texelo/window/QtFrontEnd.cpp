// The front end with the Qt window: chooses the platform, keeps Qt's own
// messages off standard output, and paints the window whenever the engine
// reports, where someone can see it.

#include "QtFrontEnd.h"

#include "DebugOutput.h"
#include "MapPicture.h"
#include "TexeloIcon.h"
#include "TexeloProgram.h"
#include "TexeloWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace
{
constexpr int kExposeWaitMilliseconds = 2000;

bool isSet(const char* variable)
{
    return variable != nullptr && *variable != '\0';
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Standard output carries Texelo's own texts only. Qt's warnings are
// diagnostics for developers; what stops the program is said on standard
// error.
void routeQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    const QByteArray text = message.toLocal8Bit();
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "texelo: %s\n", text.constData());
    else
        debugOutput("Qt: " + text.toStdString() + "\n");
}

// Processes what the window system sent while the script runs: the window's
// map and exposure, damage to repair, resizes and the window manager's
// liveness checks. The window has no input of its own to react to, and it
// puts a close off until the run ends. (Holding input back instead would
// leave a click on the close button unseen until the next X event.)
void serviceWindowSystem()
{
    QCoreApplication::processEvents();
}

// Repaints go to the window as soon as the engine asks for them, the way the
// user follows a long script line by line.
class WindowReporter final : public TexeloReporter
{
public:
    void attach(QWidget* window) { m_window = window; }
    void repaint() override
    {
        if (m_window == nullptr)
            return;
        m_window->repaint();
        serviceWindowSystem();
    }

private:
    QWidget* m_window = nullptr;
};

class QtFrontEnd final : public TexeloFrontEnd
{
public:
    explicit QtFrontEnd(const char* programPath)
        : m_programPath(programPath), m_requestedPlatform(environment("QT_QPA_PLATFORM"))
    {
        qInstallMessageHandler(routeQtMessage);
        if (const std::optional<std::string> platform = platformToRequest(
                std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"), m_requestedPlatform.c_str()))
            qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(*platform));
        // Qt reads its own options from the arguments; a script name must
        // never be taken for one, so Qt sees the program name only.
        m_argv[0] = m_programPath.data();
        if (QApplication::instance() == nullptr)
            m_application = std::make_unique<QApplication>(m_argc, m_argv);
        // On X11 the application name becomes the window class (WM_CLASS).
        QCoreApplication::setApplicationName(TexeloWindow::kClassName);
        QApplication::setWindowIcon(texeloIcon());
    }

    ~QtFrontEnd() override { closeWindow(); }

    TexeloReporter& reporter() override { return m_reporter; }

    void showWindow(const TexeloContext& ctx, const std::string& title) override
    {
        m_window =
            std::make_unique<TexeloWindow>(m_reporter, shownBankOf(ctx), QString::fromLocal8Bit(title));
        m_window->setScriptRunning(true);
        // Where no one can see the window (a batch build without a display),
        // painting it at every report and bank would be most of the run's
        // time for nothing; the window is neither shown nor painted.
        if (whyWindowIsUnseen())
            return;
        m_reporter.attach(m_window.get());
        m_window->show();
        // Painting reaches the screen only once the window is mapped.
        QElapsedTimer waited;
        waited.start();
        while (!m_window->windowHandle()->isExposed() && waited.elapsed() < kExposeWaitMilliseconds)
        {
            serviceWindowSystem();
            QThread::msleep(5);
        }
        m_window->repaint();
    }

    std::optional<std::string> whyWindowIsUnseen() const override
    {
        return whyPlatformIsUnseen(QGuiApplication::platformName().toStdString(), std::getenv("DISPLAY"),
                                   std::getenv("WAYLAND_DISPLAY"), m_requestedPlatform.c_str());
    }

    void waitUntilClosed() override
    {
        if (!m_window)
            return;
        m_window->setScriptRunning(false);
        // A close asked for during the run takes effect now.
        if (m_window->closeRequestedDuringRun() || !m_window->isVisible())
            return;
        QApplication::exec();
    }

    std::optional<std::string> saveMap(const TexeloContext& ctx, const std::string& path) override
    {
        return saveMapPicture(m_reporter.messageLine(), shownBankOf(ctx), path);
    }

    void closeWindow() override
    {
        m_reporter.attach(nullptr);
        m_window.reset();
    }

private:
    std::string m_programPath;
    std::string m_requestedPlatform; // as the user set it, before Texelo chose
    int m_argc = 1;
    char* m_argv[2] = {nullptr, nullptr};
    std::unique_ptr<QApplication> m_application;
    WindowReporter m_reporter;
    std::unique_ptr<TexeloWindow> m_window;
};
} // namespace

std::optional<std::string> platformToRequest(const char* display, const char* waylandDisplay,
                                             const char* requested)
{
    if (isSet(requested))
        return std::nullopt;
    std::string platforms;
    if (isSet(waylandDisplay))
        platforms += "wayland;";
    if (isSet(display))
        platforms += "xcb;";
    return platforms + "offscreen";
}

std::optional<std::string> whyPlatformIsUnseen(const std::string& platformName, const char* display,
                                               const char* waylandDisplay, const char* requested)
{
    if (platformName != "offscreen" && platformName != "minimal" && platformName != "minimalegl")
        return std::nullopt;
    if (isSet(requested))
        return "QT_QPA_PLATFORM asks for \"" + platformName + "\", where no one sees a window";
    if (isSet(display) || isSet(waylandDisplay))
        return "the display named by DISPLAY or WAYLAND_DISPLAY cannot be opened";
    return "there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

std::unique_ptr<TexeloFrontEnd> makeFrontEnd(const char* programPath)
{
    return std::make_unique<QtFrontEnd>(programPath);
}

extern "C" TexeloFrontEnd* texelo_window_front_end_v2(const char* programPath)
{
    try
    {
        return makeFrontEnd(programPath).release();
    }
    catch (...) // nothing is thrown across the module's edge
    {
        return nullptr;
    }
}
