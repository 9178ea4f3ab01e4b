#include "TexeloWindow.h"

#include "VramMap.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace
{
// What a window manager's default placement would typically give: three
// quarters of the screen, or a fair size when no screen is known.
QSize defaultSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {800, 600};
    const QSize available = screen->availableSize();
    return {std::max(available.width() * 3 / 4, 320), std::max(available.height() * 3 / 4, 240)};
}
} // namespace

TexeloWindow::TexeloWindow(const TexeloReporter& reporter, const TexeloContext& ctx, const QString& title)
    : m_reporter(reporter), m_context(ctx)
{
    setObjectName(kClassName);
    setWindowTitle(title);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);
    // Nothing is moved: the window manager chooses the place.
    resize(defaultSize());
}

void TexeloWindow::resizeEvent(QResizeEvent* event)
{
    m_map = ResizeMap(width(), height());
    QWidget::resizeEvent(event);
}

void TexeloWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawView(painter, rect(), QString::fromLocal8Bit(m_reporter.messageLine()), m_map,
             {m_context.ShownList, m_context.ShownFailure});
}

void TexeloWindow::closeEvent(QCloseEvent* event)
{
    if (m_scriptRunning)
    {
        m_closeRequestedDuringRun = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
