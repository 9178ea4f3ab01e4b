#pragma once

#include <optional>
#include <string>

// The Qt platforms Texelo asks for, in the order Qt tries them, from the
// environment variables DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM (null or
// empty when unset). Where no display exists it is "offscreen", so batch
// builds run on machines without one; where one is named, "offscreen" is
// the fallback should it not open. Empty: the user chose, Qt follows that.
[[nodiscard]] std::optional<std::string> platformToRequest(const char* display, const char* waylandDisplay,
                                                           const char* requested);

// Empty when a window on `platformName` can be seen; otherwise why not, for
// a run started with the given environment (as above).
[[nodiscard]] std::optional<std::string> whyPlatformIsUnseen(const std::string& platformName,
                                                             const char* display, const char* waylandDisplay,
                                                             const char* requested);
