#include "RlfInfoCommandLine.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    return runRlfInfo(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
