#pragma once

#include <algorithm>
#include <array>
#include <string_view>

// The eight ASCII bytes that name a chunk, without a terminator. Tags are
// compared over all eight bytes, case-sensitively.
struct ChunkTag
{
    std::array<char, 8> bytes{};

    ChunkTag() = default;
    // Only for literals of exactly eight characters, e.g. ChunkTag("MDFROOT0").
    explicit constexpr ChunkTag(const char (&text)[9])
    {
        std::copy(text, text + 8, bytes.begin());
    }

    [[nodiscard]] std::string_view text() const { return {bytes.data(), bytes.size()}; }
    friend bool operator==(const ChunkTag&, const ChunkTag&) = default;
};
