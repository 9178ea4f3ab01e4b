#pragma once

#include <cstdio>
#include <string_view>

namespace tbk
{

// Writes the whole text and flushes it; false when the stream took less (a
// full disk, a closed pipe), with errno saying why.
inline bool writeText(std::FILE* stream, std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
}

// A message that cannot be written has nowhere else to go.
inline void writeMessage(std::FILE* stream, std::string_view text)
{
    (void)writeText(stream, text);
}

} // namespace tbk
