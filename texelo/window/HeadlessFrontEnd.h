#pragma once

#include "TexeloProgram.h"

#include <memory>
#include <string>

// A front end without a window: reports go to the standard streams only.
// `whyNoWindow` says why the map cannot be shown, `whyNoMap` why its picture
// cannot be saved.
[[nodiscard]] std::unique_ptr<TexeloFrontEnd> makeHeadlessFrontEnd(std::string whyNoWindow,
                                                                   std::string whyNoMap);
