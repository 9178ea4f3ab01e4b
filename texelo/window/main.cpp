// Texelo's entry: runs a texture script and shows the VRAM map of the last
// bank written. Which front end shows it (the Qt window, or none) is chosen
// when the program is built.

#include "TexeloProgram.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> status = answerInformationRequest(argc, argv))
        return *status;
    const std::unique_ptr<TexeloFrontEnd> frontEnd = makeFrontEnd(argc > 0 ? argv[0] : "texelo");
    return runTexeloProgram(joinArguments(argc, argv), *frontEnd);
}
