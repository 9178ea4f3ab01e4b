#include "LumarcCommandLine.h"

#ifdef LUMARC_HAS_DIALOG
#include "LumarcApp.h"
#endif

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef LUMARC_HAS_DIALOG
    if (args.empty())
        return runLumarcApp(argc, argv);
#endif
    return runLumarcCommandLine(args, stdout, stderr);
}
