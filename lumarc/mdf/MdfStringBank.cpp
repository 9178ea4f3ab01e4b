#include "MdfStringBank.h"

const std::string& MdfStringBank::textAt(uint32_t index) const
{
    static const std::string kNoText;
    return index < count() ? at(static_cast<uint16_t>(index)).text : kNoText;
}
