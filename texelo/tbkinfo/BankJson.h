#pragma once

// The bank as one JSON document, indented by two spaces: the header fields,
// "groups" (each with its "records") and "warnings". Keys are snake_case;
// an absent image or CLUT is null. Text that is not UTF-8 (a file name) is
// replaced, never an error.

#include "BankModel.h"

#include <string>
#include <string_view>

namespace tbk
{

[[nodiscard]] std::string bankJson(const Bank& bank, std::string_view fileName);

} // namespace tbk
