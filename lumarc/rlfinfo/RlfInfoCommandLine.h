#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Runs rlfinfo with `args` (without the program name): prints the report of
// one render-list file on `out`, or with --render draws it into a PNG file;
// complaints on `err`. Returns the exit status: 0 printed or drawn, 1 the
// file cannot be read or is damaged or the picture not written, 2 wrong
// usage. Nothing reaches `out`, and no picture is written, unless the whole
// file was read without damage.
[[nodiscard]] int runRlfInfo(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
