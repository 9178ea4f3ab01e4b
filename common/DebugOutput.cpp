#include "DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace
{

// The channel is process-wide like the platform channel it stands for; the
// destination is chosen once, on first use.
struct DebugChannel
{
    DebugOutputSink captured;
    std::FILE* file = nullptr;
    bool ownsFile = false;

    DebugChannel()
    {
        const char* setting = std::getenv("PSX_DEBUG_OUTPUT");
        if (!setting || !*setting)
            return;
        if (std::strcmp(setting, "1") == 0)
        {
            file = stderr;
            return;
        }
        file = std::fopen(setting, "a");
        ownsFile = file != nullptr;
    }
    ~DebugChannel()
    {
        if (ownsFile)
            std::fclose(file);
    }
    DebugChannel(const DebugChannel&) = delete;
    DebugChannel& operator=(const DebugChannel&) = delete;
};

DebugChannel& channel()
{
    static DebugChannel instance;
    return instance;
}

} // namespace

bool debugOutputEnabled()
{
    const DebugChannel& ch = channel();
    return ch.captured || ch.file;
}

void debugOutput(std::string_view text)
{
    DebugChannel& ch = channel();
    if (ch.captured)
    {
        ch.captured(text);
        return;
    }
    if (!ch.file)
        return;
    std::fwrite(text.data(), 1, text.size(), ch.file);
    std::fflush(ch.file);
}

void setDebugOutputSink(DebugOutputSink sink)
{
    channel().captured = std::move(sink);
}
