#pragma once

// The window's view as a picture for those who never see the window (batch
// builds): the same drawing, at one pixel per VRAM word.

#include "MapGeometry.h"
#include "ShownBank.h"
#include "VramMap.h"

#include <QFont>
#include <QImage>

#include <optional>
#include <string>

// The 1024 x 512 VRAM at one pixel per word, below a MessageLine of
// `messageLineHeight` pixels.
[[nodiscard]] MapGeometry pictureGeometry(int messageLineHeight);

// MessageLine in `font`, the map of the bank shown, and below it the bank's
// name and the legend of the colours, on white.
[[nodiscard]] QImage drawMapPicture(const std::string& messageLine, const ShownBank& shown,
                                    const QFont& font);

// Draws the picture with the application's font and writes it as a PNG file
// that appears only once complete. Empty when saved; otherwise why not.
[[nodiscard]] std::optional<std::string> saveMapPicture(const std::string& messageLine,
                                                        const ShownBank& shown, const std::string& path);
