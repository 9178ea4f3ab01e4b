// Chooses the front end of a run. The Qt window is a module loaded at run
// time, so that the program starts without Qt's libraries and a batch run
// that no one watches, and that draws no picture, never pays for them.

#include "HeadlessFrontEnd.h"

#ifdef TEXELO_WINDOW_MODULE
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>
#endif

#ifdef TEXELO_WINDOW_MODULE
namespace
{

bool isSet(const char* variable)
{
    return variable != nullptr && *variable != '\0';
}

// Where a display is named a window can be shown; so it can on a platform
// the user chose for Qt, unless it is one of those that show nothing (a
// frame buffer needs no display).
bool windowCanBeShown()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const auto showsNothing = [](std::string_view name)
    { return name == "offscreen" || name == "minimal" || name == "minimalegl"; };
    return isSet(std::getenv("DISPLAY")) || isSet(std::getenv("WAYLAND_DISPLAY")) ||
           (isSet(platform) && !showsNothing(platform));
}

// The program's folder, by the kernel's link to the program: argv[0] holds
// no folder when the program was found through PATH.
std::string programFolder(const char* programPath)
{
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length > 0 && static_cast<std::size_t>(length) < path.size())
        path.resize(static_cast<std::size_t>(length));
    else
        path = programPath;
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Beside the program in the build folder, else where the installation puts
// it, relative to the program's folder.
std::string windowModulePath(const char* programPath)
{
    const std::string folder = programFolder(programPath) + "/";
    std::string beside = folder + TEXELO_WINDOW_MODULE;
    if (access(beside.c_str(), F_OK) == 0)
        return beside;
    return folder + TEXELO_INSTALLED_WINDOW_MODULE;
}

std::string lastLoadError()
{
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
}

// The module stays loaded for the rest of the process: Qt's libraries are
// not made to be unloaded. Empty, and `failure` says why, when it cannot be
// had.
std::unique_ptr<TexeloFrontEnd> loadWindowFrontEnd(const char* programPath, std::string& failure)
{
    void* module = dlopen(windowModulePath(programPath).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr)
    {
        failure = lastLoadError();
        return nullptr;
    }
    using Entry = TexeloFrontEnd* (*)(const char*);
    const auto entry = reinterpret_cast<Entry>(dlsym(module, kWindowFrontEndEntry));
    if (entry == nullptr)
    {
        failure = lastLoadError();
        return nullptr;
    }
    std::unique_ptr<TexeloFrontEnd> frontEnd(entry(programPath));
    if (!frontEnd)
        failure = "it made no window";
    return frontEnd;
}

} // namespace
#endif

std::unique_ptr<TexeloFrontEnd> makeFrontEnd(const char* programPath, const FrontEndNeeds& needs)
{
#ifdef TEXELO_WINDOW_MODULE
    // Without "/c" the Qt front end also says why its window cannot be seen.
    if (!needs.batch || needs.wantsMap || windowCanBeShown())
    {
        std::string failure;
        if (std::unique_ptr<TexeloFrontEnd> window = loadWindowFrontEnd(programPath, failure))
            return window;
        std::fprintf(stderr, "texelo: the window module cannot be loaded: %s\n", failure.c_str());
        return makeHeadlessFrontEnd("the window module cannot be loaded",
                                    "the window module cannot be loaded");
    }
    return makeHeadlessFrontEnd("no one can see a window here", "no window is drawn here");
#else
    (void)programPath;
    (void)needs;
    return makeHeadlessFrontEnd("this build has no window", "this build has no window to draw it with");
#endif
}
