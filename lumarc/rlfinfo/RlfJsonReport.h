#pragma once

#include "RlfContents.h"

#include <string>

namespace rlfinfo
{

// The same as the text form, as one JSON document (snake_case keys, fields
// in the text form's order, indented by 2).
[[nodiscard]] std::string jsonReport(const Contents& contents);

} // namespace rlfinfo
