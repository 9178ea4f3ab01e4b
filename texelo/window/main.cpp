// Texelo's entry: runs a texture script and shows the VRAM map of the last
// bank written. Which front end shows it (the Qt window, or none) is chosen
// when the program is built.

#include "TexeloProgram.h"

int main(int argc, char** argv)
{
    return runTexeloMain(argc, argv, makeFrontEnd);
}
