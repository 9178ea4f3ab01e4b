#include "Ostrel_ScriptFilePrim_Base.h"

#include "DebugOutput.h"

void Ostrel_ScriptFilePrim_Base::doExport_RLF(RlfRenderEntry& /*entry*/) const
{
    debugOutput("Ostrel_ScriptFilePrim_Base::doExport_RLF\n");
}

void Ostrel_ScriptFilePrim_Base::setHeader(uint8_t modeByte, uint8_t cornerBitsByte, uint8_t auxByte)
{
    mode = modeByte;
    modeLow = mode & 7;
    modeMid = (mode >> 3) & 3;
    cornerBits = cornerBitsByte;
    aux = auxByte;
}
