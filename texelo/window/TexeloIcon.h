#pragma once

#include <QIcon>

// The application icon, 32 x 32 and 16 x 16 pixels. Needs a QGuiApplication.
[[nodiscard]] QIcon texeloIcon();
