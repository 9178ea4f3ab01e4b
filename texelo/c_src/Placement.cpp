#include "Placement.h"

bool PlaceTextures(TexeloContext& /*ctx*/)
{
    // Automatic placement is not available yet: a bank that needs it is
    // refused rather than written with made-up positions.
    return false;
}
