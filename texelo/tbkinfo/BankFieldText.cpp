#include "BankFieldText.h"

namespace tbk
{

std::string hex32(uint32_t value)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text.push_back(kDigits[(value >> shift) & 0xF]);
    return text;
}

} // namespace tbk
