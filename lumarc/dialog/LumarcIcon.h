#pragma once

#include <QIcon>

// The application icon, 32 x 32 and 16 x 16 pixels in 16 colours. Needs a
// QGuiApplication.
[[nodiscard]] QIcon lumarcIcon();
