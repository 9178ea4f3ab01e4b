#pragma once

// Reads one record of a group: the palette form, or an image whose CLUT block
// holds one CLUT or several.

#include "BankModel.h"
#include "ByteReader.h"

#include <optional>
#include <vector>

namespace tbk
{

// Reads the record at the reader's position and passes over it. Returns the
// record, or nothing with `damage` set. Oddities that do not stop the record
// from loading are added to `warnings`.
[[nodiscard]] std::optional<BankRecord> readBankRecord(ByteReader& file, BankDamage& damage,
                                                       std::vector<BankWarning>& warnings);

} // namespace tbk
