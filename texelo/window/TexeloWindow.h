#pragma once

#include "MapGeometry.h"
#include "ShownBank.h"
#include "VramMap.h"

#include <QPoint>
#include <QWidget>

#include <optional>

// Texelo's one window: MessageLine at the top left, the VRAM map of the last
// bank written, and below it the bank's name and the legend. It only shows
// what the engine holds; while the script runs it ignores requests to close
// and remembers them for the end.
//
// The map is also a viewer: hovering names what lies under the mouse, T
// switches between coloured rectangles and real texels, the wheel and +/-
// zoom, dragging moves a zoomed map, 0 fits the map to the window again.
class TexeloWindow : public QWidget
{
public:
    static constexpr const char* kClassName = "PSX Texture Converter and VRAM Organiser";

    TexeloWindow(const TexeloReporter& reporter, const ShownBank& shown, const QString& title);

    void setScriptRunning(bool running) { m_scriptRunning = running; }
    [[nodiscard]] bool closeRequestedDuringRun() const { return m_closeRequestedDuringRun; }
    // The map as drawn now: fitted, or zoomed.
    [[nodiscard]] MapGeometry mapGeometry() const { return zoomedMap(m_map, m_view.zoom); }
    [[nodiscard]] const MapView& view() const { return m_view; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setView(const MapView& view);

    const TexeloReporter& m_reporter;
    ShownBank m_shown;
    MapGeometry m_map; // fitted to the window
    MapView m_view;
    std::optional<QPoint> m_dragFrom;
    int m_wheelEighths = 0; // wheel turns not yet a whole step
    bool m_scriptRunning = false;
    bool m_closeRequestedDuringRun = false;
};
