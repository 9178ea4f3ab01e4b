#pragma once

// The backdrop room owns the backdrop files: the BACKDROP and NEWBACKDROP
// conversions, the file layout and the ACT palettes they read.

#include "convert/ColourTable.h"
#include "files/RunFiles.h"
#include "report/TexeloReporter.h"

#include <cstdint>
#include <string>
#include <string_view>

// Where a backdrop comes from and goes, as the script set it.
struct BackdropSettings
{
    std::string TexturePath;
    std::string OutputPath;
    uint32_t PaletteCount = 0;
};

// The two script operations that write backdrop files (BackdropFile.h) to
// OutputPath + name. Failures are reported and end the operation without
// touching the output file; the script goes on either way.

// BACKDROP: the true-colour picture TexturePath + name + ".tga" (640 x 512;
// 637 to 639 pixels wide is padded to 640) with at most 16 colours, and one
// alternative palette for each of the PaletteCount pictures name + ".pa0",
// ".pa1", ..., whose colours in ascending PSX order replace the picture's
// colours in the same order. Reports through ReportError. Counting the
// colours leaves them in `colours`, where a later palette-only texture finds
// them.
void WriteBackdrop(const BackdropSettings& settings, ColourTable& colours, TexeloReporter& reporter,
                   RunFiles& files, std::string_view name);

// NEWBACKDROP: the index-colour picture TexturePath + name + ".tga" of
// exactly 640 x 512 pixels whose indices are 0-15, with the PaletteCount
// palettes "0.act", "1.act", ... from the working folder; palette 0 is also
// the base palette. Reports through MessageLine and FlushMessageLine.
void WriteNewBackdrop(const BackdropSettings& settings, TexeloReporter& reporter, RunFiles& files,
                      std::string_view name);
