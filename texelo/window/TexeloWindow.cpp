#include "TexeloWindow.h"

#include "MapHover.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWheelEvent>

namespace
{
// A wheel notch turns 15 degrees, reported in eighths of a degree.
constexpr int kWheelStep = 120;

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

TexeloWindow::TexeloWindow(const TexeloReporter& reporter, const ShownBank& shown, const QString& title)
    : m_reporter(reporter), m_shown(shown)
{
    setObjectName(kClassName);
    setWindowTitle(title);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    // Nothing is moved: the window manager chooses the place.
    resize(defaultSize());
}

bool TexeloWindow::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<VramPoint> point = vramPointAt(mapGeometry(), help->pos().x(), help->pos().y());
    const std::string text = point ? hoverText(m_shown, *point) : std::string();
    if (text.empty())
    {
        QToolTip::hideText();
        event->ignore();
    }
    else
        QToolTip::showText(help->globalPos(), QString::fromLocal8Bit(text), this);
    return true;
}

void TexeloWindow::setView(const MapView& view)
{
    if (view.zoom == m_view.zoom && view.mode == m_view.mode)
        return;
    m_view = view;
    QToolTip::hideText(); // it may name what is no longer under the mouse
    update();
}

void TexeloWindow::resizeEvent(QResizeEvent* event)
{
    m_map = ResizeMap(width(), height());
    QWidget::resizeEvent(event);
}

void TexeloWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawView(painter, rect(), QString::fromLocal8Bit(m_reporter.messageLine()), m_map, m_shown, m_view);
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

void TexeloWindow::keyPressEvent(QKeyEvent* event)
{
    MapView view = m_view;
    const QPoint centre = rect().center();
    switch (event->key())
    {
    case Qt::Key_T:
        view.mode = view.mode == MapMode::Texels ? MapMode::Rectangles : MapMode::Texels;
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: // + without shift on most layouts
        view.zoom = zoomBy(m_map, view.zoom, 1, centre.x(), centre.y());
        break;
    case Qt::Key_Minus:
        view.zoom = zoomBy(m_map, view.zoom, -1, centre.x(), centre.y());
        break;
    case Qt::Key_0:
        view.zoom = {};
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setView(view);
}

void TexeloWindow::wheelEvent(QWheelEvent* event)
{
    m_wheelEighths += event->angleDelta().y();
    const int steps = m_wheelEighths / kWheelStep;
    m_wheelEighths %= kWheelStep;
    const QPoint at = event->position().toPoint();
    if (steps != 0)
        setView({zoomBy(m_map, m_view.zoom, steps, at.x(), at.y()), m_view.mode});
    event->accept();
}

void TexeloWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragFrom = event->position().toPoint();
}

void TexeloWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragFrom || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    const QPoint moved = at - *m_dragFrom;
    m_dragFrom = at;
    setView({panBy(m_view.zoom, moved.x(), moved.y()), m_view.mode});
}

void TexeloWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragFrom.reset();
}
