#pragma once

// One record of a bank read as a picture: a stand-alone TIM image and an
// RGBA preview. Both are taken from the bank's bytes at the offsets its
// model names, so the model must come from reading those same bytes.
//
// A bank stores an image's width in pixels where a TIM holds it in 16-bit
// words; the TIM made here holds words, and otherwise the record's bytes:
// its flags and its CLUT block as stored (every CLUT of a several-CLUT
// record). A palette record has no image; its TIM is a 16-bit image of its
// one stored row at the CLUT's place, which loads the same words into VRAM.

#include "BankModel.h"
#include "PngFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tbk
{

[[nodiscard]] std::optional<std::vector<uint8_t>>
standardTim(const BankRecord& record, std::span<const uint8_t> bank, std::string& error);

// The record's texels through its first CLUT, `widthPixels` wide; a palette
// record's colours as a strip one line high. Colour 0x0000 is transparent;
// a texel whose index passes the colours the first CLUT stores is too.
[[nodiscard]] std::optional<RgbaPicture> recordPreview(const BankRecord& record,
                                                       std::span<const uint8_t> bank, std::string& error);

} // namespace tbk
