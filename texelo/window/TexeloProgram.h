#pragma once

// The program around the engine, shared by the build with a window and the
// build without one: the command line, the run, and what happens after it.

#include "script/TexeloContext.h"
#include "script/TexeloEntry.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// What shows a run to the user: the Qt window, or nothing.
class TexeloFrontEnd
{
public:
    virtual ~TexeloFrontEnd() = default;

    // The engine reports through it; its repaint paints the window at once.
    [[nodiscard]] virtual TexeloReporter& reporter() = 0;
    // Creates and shows the window over the context's MessageLine and
    // ShownList, before the script runs.
    virtual void showWindow(const TexeloContext& ctx, const std::string& title) = 0;
    // Empty when a user can see the window; otherwise why not.
    [[nodiscard]] virtual std::optional<std::string> whyWindowIsUnseen() const = 0;
    // Lets the user look at the map until the window is closed.
    virtual void waitUntilClosed() = 0;
    // Destroys the window, which must not outlive the context it shows.
    virtual void closeWindow() = 0;
    // Saves the window's picture of the context (MessageLine and the VRAM
    // map, one pixel per VRAM word) as a PNG file; empty when it was saved,
    // otherwise why not.
    [[nodiscard]] virtual std::optional<std::string> saveMap(const TexeloContext& ctx,
                                                             const std::string& path) = 0;
};

// What a run asks of its front end, known before the run starts.
struct FrontEndNeeds
{
    bool batch = false;    // "/c": the run ends with the script
    bool wantsMap = false; // --map: the window's picture is saved
};

// The front end for a run: the Qt window, from the window module the program
// loads only where a window can be shown or its picture is drawn (Qt alone
// costs a batch run more than a small script does); otherwise, and always in
// a build without Qt, one without a window.
[[nodiscard]] std::unique_ptr<TexeloFrontEnd> makeFrontEnd(const char* programPath,
                                                           const FrontEndNeeds& needs);

// The front end with the Qt window, made by the window module's code.
[[nodiscard]] std::unique_ptr<TexeloFrontEnd> makeFrontEnd(const char* programPath);

// The window module's one entry, found by name when it is loaded: the Qt
// front end for the caller to own, or null when it could not be made. The
// name carries the version of the interface above and of the context it is
// handed, whose fields the module reads; a change to either takes a new name,
// so that a module of another build is refused, not misused.
extern "C" TexeloFrontEnd* texelo_window_front_end_v2(const char* programPath);
inline constexpr char kWindowFrontEndEntry[] = "texelo_window_front_end_v2";

enum class AfterRun
{
    Exit,            // "/c": batch builds go on at once
    WaitForClose,    // the user looks at the map
    ExplainNoWindow, // no one could see the window, so waiting would hang
};

[[nodiscard]] AfterRun afterRun(const TexeloCommandLine& commandLine, bool windowSeen);

// What a run writes besides its banks and backdrops, and whether it writes
// anything at all.
struct RunRequests
{
    std::optional<std::string> mapPath;     // the VRAM map as a picture
    std::optional<std::string> depfilePath; // the dependency file
    std::optional<std::string> reportPath;  // the JSON report of the banks
    bool dryRun = false;                    // no bank, backdrop, map or dependency file
};

// Shows the window, runs the script named by the first of `scriptArguments`,
// writes what `requests` asks for, then exits, waits for the window or
// explains on standard error why there is none. Returns 0, or 1 when the run
// reported an error or a file asked for could not be written.
[[nodiscard]] int runTexeloProgram(const std::vector<std::string>& scriptArguments, TexeloFrontEnd& frontEnd,
                                   const RunRequests& requests = {});

using FrontEndFactory = std::unique_ptr<TexeloFrontEnd> (*)(const char* programPath,
                                                            const FrontEndNeeds& needs);

// The whole program for its arguments: options, then the run on a front end
// from `makeFrontEnd`.
[[nodiscard]] int runTexeloMain(int argc, const char* const* argv, FrontEndFactory makeFrontEnd);
