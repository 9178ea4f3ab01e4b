// Texelo's entry: runs a texture script and shows the VRAM map of the last
// bank written. Which front end shows it (the Qt window, or none) is chosen
// for each run.

#include "TexeloProgram.h"

int main(int argc, char** argv)
{
    return runTexeloMain(argc, argv, makeFrontEnd);
}
