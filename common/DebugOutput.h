#pragma once

#include <functional>
#include <string_view>

// The debug output channel: progress traces that a developer may want to see
// but that never belong on standard output. It is silent unless the
// environment variable PSX_DEBUG_OUTPUT is set: "1" sends the texts to
// standard error, any other value is a file path the texts are appended to.
void debugOutput(std::string_view text);

// True when debugOutput would write somewhere; lets hot loops skip formatting.
[[nodiscard]] bool debugOutputEnabled();

// Replaces the channel's destination (tests capture the traces this way).
// An empty function restores the environment-selected destination.
using DebugOutputSink = std::function<void(std::string_view)>;
void setDebugOutputSink(DebugOutputSink sink);
