#pragma once

// lumarc/cli owns Lumarc's command line: converting a layout and listing its
// gadgets without a window, with usage, messages and exit statuses.

#include <cstdio>
#include <string>
#include <vector>

// Exit statuses of the command-line modes.
enum LumarcExit : int
{
    kExitOk = 0,
    kExitFailed = 1, // the input could not be read or the output not written
    kExitUsage = 2,  // the command line itself is wrong
};

// Runs lumarc's command-line modes (`args` without the program name):
//   [--psx] INPUT.mdf OUTPUT.rlf   convert and print the size
//   --list INPUT.mdf               print the gadget list, TAB-separated
//   [--psx] --render PICTURE.png [--size WxH] [--plain] INPUT.mdf
//                                  draw the converted render list
//   --help, --version
// Results go to `out`, messages to `err`; returns the exit status.
[[nodiscard]] int runLumarcCommandLine(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);
