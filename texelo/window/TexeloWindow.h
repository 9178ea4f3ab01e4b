#pragma once

#include "MapGeometry.h"
#include "script/TexeloContext.h"

#include <QWidget>

// Texelo's one window: MessageLine at the top left and the VRAM map of the
// last bank written. It only shows what the engine holds; while the script
// runs it ignores requests to close and remembers them for the end.
class TexeloWindow : public QWidget
{
public:
    static constexpr const char* kClassName = "PSX Texture Converter and VRAM Organiser";

    TexeloWindow(const TexeloReporter& reporter, const TexeloContext& ctx, const QString& title);

    void setScriptRunning(bool running) { m_scriptRunning = running; }
    [[nodiscard]] bool closeRequestedDuringRun() const { return m_closeRequestedDuringRun; }
    [[nodiscard]] const MapGeometry& mapGeometry() const { return m_map; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const TexeloReporter& m_reporter;
    const TexeloContext& m_context;
    MapGeometry m_map;
    bool m_scriptRunning = false;
    bool m_closeRequestedDuringRun = false;
};
