#pragma once

// The tbkinfo program without its main(): reads the arguments, the bank, and
// prints the text or JSON report. Exit status 0 on success, 1 when the file
// cannot be read or is damaged (nothing then reaches `out`), 2 on wrong usage.

#include <cstdio>
#include <span>
#include <string_view>

namespace tbk
{

[[nodiscard]] int runTbkinfo(std::span<const std::string_view> args, std::FILE* out, std::FILE* err);

} // namespace tbk
